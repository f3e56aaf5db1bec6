// JPEG encoding with the platform's imaging component.
#pragma once

#include <stdint.h>

#include <vector>

#include "simulator/image_view.h"

namespace sim {

// Encodes a top-down 24-bit image; false when the platform cannot (the output is then empty).
// Usable from any thread: COM is initialised for the call when the thread has not done so.
bool EncodeJpeg(OwnedImage& image, float quality, std::vector<uint8_t>* out);

}  // namespace sim
