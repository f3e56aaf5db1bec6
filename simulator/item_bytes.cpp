#include "simulator/item_bytes.h"

#include <algorithm>

namespace sim {

PicturePlan PlanPicture(const CameraConfig& camera, uint32_t kind, uint32_t packedFormat) {
    PicturePlan plan;
    switch (FormatQuality(packedFormat)) {
    case 1: plan.quality = 0.5f; break;
    case 2: plan.quality = 0.7f; break;
    case 4: plan.quality = 0.98f; break;
    case 5: plan.quality = 0.95f; break;
    default: plan.quality = 0.85f; break;
    }
    if (kind == cdDATA_KIND_THUMBNAIL) {
        plan.width = 160;
        plan.height = 120;
        return plan;
    }
    if (camera.pictureWidth && camera.pictureHeight) {
        plan.width = static_cast<int>(camera.pictureWidth);
        plan.height = static_cast<int>(camera.pictureHeight);
        return plan;
    }
    switch (FormatSize(packedFormat)) {
    case 1: plan.width = 1024, plan.height = 768; break;   // medium
    case 2: plan.width = 640, plan.height = 480; break;    // small
    case 5: plan.width = 1152, plan.height = 864; break;   // medium 1
    case 6: plan.width = 800, plan.height = 600; break;    // medium 2
    default: plan.width = 1280, plan.height = 960; break;  // large
    }
    if (kind == cdDATA_KIND_FULLVIEW) {
        plan.width /= 2;
        plan.height /= 2;
    }
    return plan;
}

std::vector<uint8_t> SyntheticItem(uint32_t kind, uint32_t format, uint32_t size, uint32_t sequence,
                                   const std::vector<std::string>& description) {
    std::vector<uint8_t> bytes(size);
    for (uint32_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 131u + sequence * 7u + (i >> 8));

    std::string header = "KAMVIO-SIM " + std::string(format == cdFORMAT_RAW ? "RAW" : "DATA") + " KIND " +
                         std::to_string(kind) + " FORMAT " + std::to_string(format) + " SEQ " +
                         std::to_string(sequence) + "\n";
    for (const std::string& line : description) header += line + "\n";
    header.push_back('\0');

    size_t at = 0;
    if (format == cdFORMAT_JPEG && size >= 4) {
        // Start marker and a comment segment holding the header, so viewers see what it is.
        const size_t room = std::min<size_t>(header.size(), std::min<size_t>(size - 4, 0xFFFF - 2));
        const size_t segment = room >= 1 && size >= 8 + room ? room : 0;
        bytes[0] = 0xFF;
        bytes[1] = 0xD8;
        at = 2;
        if (segment) {
            bytes[2] = 0xFF;
            bytes[3] = 0xFE;
            bytes[4] = static_cast<uint8_t>((segment + 2) >> 8);
            bytes[5] = static_cast<uint8_t>(segment + 2);
            std::copy(header.begin(), header.begin() + static_cast<std::ptrdiff_t>(segment), bytes.begin() + 6);
        }
        bytes[size - 2] = 0xFF;
        bytes[size - 1] = 0xD9;
        return bytes;
    }
    std::copy(header.begin(), header.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(header.size(), size - at)),
              bytes.begin() + static_cast<std::ptrdiff_t>(at));
    return bytes;
}

}  // namespace sim
