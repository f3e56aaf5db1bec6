// What a shot's data items look like: picture geometry and quality, and the bytes of items
// that are not real pictures (raw items, items configured with a size of their own).
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "sdk/cdsdk_contract.h"
#include "simulator/sim_config.h"

namespace sim {

struct PicturePlan {
    int width = 0;
    int height = 0;
    float quality = 0.85f;  // JPEG image quality, 0..1
};

// Geometry of a picture item of `kind` (thumbnails are 160x120) for the image-format pair.
PicturePlan PlanPicture(const CameraConfig& camera, uint32_t kind, uint32_t packedFormat);

// Exactly `size` bytes: a header that reads "KAMVIO-SIM", the item's kind, format, sequence
// number and the description lines, then a pattern that depends on the sequence number.
// Format 1 items start with the JPEG start marker and end with its end marker.
std::vector<uint8_t> SyntheticItem(uint32_t kind, uint32_t format, uint32_t size, uint32_t sequence,
                                   const std::vector<std::string>& description);

}  // namespace sim
