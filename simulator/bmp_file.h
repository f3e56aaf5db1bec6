// In-memory BMP file images: 14-byte file header, 40-byte information header, then
// 24-bit bottom-up rows padded to a multiple of 4 bytes. This is the viewfinder's frame format.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "simulator/image_view.h"

namespace sim {

constexpr uint32_t kBmpHeaderBytes = 14 + 40;

uint32_t BmpRowBytes(uint32_t width);
// Stores a header field: 32 bits, little-endian.
void PutLe32(uint8_t* p, uint32_t value);
size_t BmpFileSize(uint32_t width, uint32_t height);
// Writes both headers at `file` (which holds BmpFileSize bytes).
void WriteBmpHeaders(uint8_t* file, uint32_t width, uint32_t height);
// The pixel rows of such a file, seen top-down.
ImageView BmpPixels(uint8_t* file, uint32_t width, uint32_t height);

}  // namespace sim
