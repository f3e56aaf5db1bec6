// A view on 24-bit pixels (blue, green, red) with any row order: a BMP's bottom-up rows are
// seen top-down through a negative stride, so the scene is drawn straight into a frame.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace sim {

struct ImageView {
    uint8_t* top = nullptr;  // first byte of the top row
    int width = 0;
    int height = 0;
    ptrdiff_t stride = 0;  // bytes from one row to the one below it

    uint8_t* Row(int y) const { return top + stride * y; }
    void Set(int x, int y, uint8_t r, uint8_t g, uint8_t b) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        uint8_t* p = Row(y) + x * 3;
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
};

// A top-down image that owns its pixels (rows of width * 3 bytes, no padding).
class OwnedImage {
public:
    OwnedImage(int width, int height)
        : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height * 3) {}
    ImageView View() { return {pixels_.data(), width_, height_, static_cast<ptrdiff_t>(width_) * 3}; }
    const std::vector<uint8_t>& Pixels() const { return pixels_; }
    std::vector<uint8_t>& Pixels() { return pixels_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_;
    int height_;
    std::vector<uint8_t> pixels_;
};

}  // namespace sim
