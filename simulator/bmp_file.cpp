#include "simulator/bmp_file.h"

#include <string.h>

namespace sim {

namespace {

void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

void PutLe32(uint8_t* p, uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t BmpRowBytes(uint32_t width) { return (width * 3 + 3) & ~3u; }

size_t BmpFileSize(uint32_t width, uint32_t height) {
    return kBmpHeaderBytes + static_cast<size_t>(BmpRowBytes(width)) * height;
}

void WriteBmpHeaders(uint8_t* file, uint32_t width, uint32_t height) {
    memset(file, 0, kBmpHeaderBytes);
    file[0] = 'B';
    file[1] = 'M';
    PutLe32(file + 2, static_cast<uint32_t>(BmpFileSize(width, height)));
    PutLe32(file + 10, kBmpHeaderBytes);  // pixel data offset
    uint8_t* info = file + 14;
    PutLe32(info, 40);
    PutLe32(info + 4, width);
    PutLe32(info + 8, height);  // positive: bottom-up rows
    Put16(info + 12, 1);      // planes
    Put16(info + 14, 24);     // bits per pixel
    PutLe32(info + 20, BmpRowBytes(width) * height);
    PutLe32(info + 24, 2835);  // 72 dpi
    PutLe32(info + 28, 2835);
}

ImageView BmpPixels(uint8_t* file, uint32_t width, uint32_t height) {
    ImageView view;
    uint32_t rowBytes = BmpRowBytes(width);
    view.width = static_cast<int>(width);
    view.height = static_cast<int>(height);
    view.top = file + kBmpHeaderBytes + static_cast<size_t>(rowBytes) * (height - 1);
    view.stride = -static_cast<ptrdiff_t>(rowBytes);
    return view;
}

}  // namespace sim
