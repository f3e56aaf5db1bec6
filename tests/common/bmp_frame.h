// Viewfinder frames for tests and benchmarks: BMP file images held in memory, as the camera
// delivers them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

// A BMP file image in memory: 24-bit bottom-up rows; `pixel(x, y)` with y from the top.
inline std::vector<uint8_t> MakeFrame(uint32_t w, uint32_t h,
                                      const std::function<COLORREF(uint32_t, uint32_t)>& pixel) {
    const uint32_t row = (w * 3 + 3) & ~3u, offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    std::vector<uint8_t> frame(offset + static_cast<size_t>(row) * h, 0);
    const BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(frame.size()), 0, 0, offset};
    const BITMAPINFOHEADER info{sizeof info, LONG(w), LONG(h), 1, 24, BI_RGB, row * h, 0, 0, 0, 0};
    memcpy(&frame[0], &file, sizeof file);
    memcpy(&frame[sizeof file], &info, sizeof info);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* p = &frame[offset + static_cast<size_t>(h - 1 - y) * row + x * 3];  // bottom-up
            const COLORREF c = pixel(x, y);
            p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
        }
    return frame;
}
