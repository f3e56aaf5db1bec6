// A viewfinder frame as the camera delivers it: a BMP file image in memory (14-byte file header
// with the pixel offset at byte 10, 40-byte information header, 24-bit bottom-up rows padded to
// 4 bytes). Plain C++ (no Windows API).
#pragma once

#include <cstddef>
#include <cstdint>

namespace viewfinder_frame {

constexpr uint32_t kHeaderBytes = 14 + 40;
// Room for a colour table between the headers and the pixels; further away is a damaged frame.
constexpr uint32_t kMaxPixelOffset = kHeaderBytes + 256 * 4;
// The largest frame kept or drawn: a 4096 x 4096 picture behind the largest header. Anything
// bigger is refused before memory is taken for it.
constexpr size_t kMaxBytes = kMaxPixelOffset + size_t{4096} * 4096 * 3;

struct Layout {
    uint32_t width;
    uint32_t height;       // rows, bottom-up
    uint32_t pixelOffset;  // from the start of the frame
    uint32_t rowBytes;     // width * 3 padded to a multiple of 4
};

// The layout of the `size` bytes at `frame`, read without looking past them. False unless the
// frame is a 24-bit uncompressed bottom-up picture of at least 1 x 1 whose headers and pixels
// lie within the size, and the size is at most kMaxBytes.
bool Read(const uint8_t* frame, size_t size, Layout* layout);

}  // namespace viewfinder_frame
