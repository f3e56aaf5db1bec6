#include "camera/viewfinder_frame.h"

namespace viewfinder_frame {

namespace {

uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

}  // namespace

bool Read(const uint8_t* frame, size_t size, Layout* layout) {
    if (!frame || size < kHeaderBytes || size > kMaxBytes) return false;
    const uint8_t* info = frame + 14;
    const uint32_t offset = Get32(frame + 10), width = Get32(info + 4), height = Get32(info + 8);
    // A negative height (top-down rows) reads as more than any frame holds and is refused with it.
    if (Get16(info + 14) != 24 || Get32(info + 16) != 0 /* BI_RGB */ || width == 0 || height == 0) return false;
    if (offset < kHeaderBytes || offset > kMaxPixelOffset) return false;
    const uint64_t rowBytes = (uint64_t{width} * 3 + 3) & ~uint64_t{3};
    const uint64_t room = size - offset;
    if (rowBytes > room || rowBytes * height > room) return false;  // the first test keeps the product small
    *layout = {width, height, offset, static_cast<uint32_t>(rowBytes)};
    return true;
}

}  // namespace viewfinder_frame
