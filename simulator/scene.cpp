#include "simulator/scene.h"

#include <algorithm>
#include <cmath>

#include "simulator/font5x7.h"

namespace sim {

namespace {

struct Tint {
    float r, g, b;
};

// Each white-balance choice colours the picture a little, so a change is visible at once.
Tint WhiteBalanceTint(uint32_t code) {
    switch (code) {
    case 2: return {1.10f, 1.00f, 0.88f};  // cloudy: warmer
    case 3: return {0.85f, 0.95f, 1.20f};  // tungsten: cooler
    case 4: return {0.92f, 1.10f, 0.95f};  // fluorescent: greenish
    case 5: return {1.05f, 1.00f, 0.95f};  // flash
    case 6: return {1.10f, 0.90f, 1.10f};  // custom: magenta
    default: return {1.0f, 1.0f, 1.0f};
    }
}

uint8_t Clamp(float value) { return static_cast<uint8_t>(std::min(255.0f, std::max(0.0f, value))); }

float DistanceToSegment(float px, float py, float ax, float ay, float bx, float by) {
    float dx = bx - ax, dy = by - ay;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? std::min(1.0f, std::max(0.0f, ((px - ax) * dx + (py - ay) * dy) / len2)) : 0;
    float cx = ax + t * dx - px, cy = ay + t * dy - py;
    return std::sqrt(cx * cx + cy * cy);
}

}  // namespace

void DrawText(const ImageView& image, int x, int y, const std::string& text, int scale) {
    if (scale < 1) scale = 1;
    int advance = (kGlyphWidth + 1) * scale;
    int bandWidth = static_cast<int>(text.size()) * advance + scale;
    int bandHeight = (kGlyphHeight + 2) * scale;
    for (int row = 0; row < bandHeight; ++row) {
        int py = y - scale + row;
        if (py < 0 || py >= image.height) continue;
        for (int col = 0; col < bandWidth; ++col) {
            int px = x - scale + col;
            if (px < 0 || px >= image.width) continue;
            uint8_t* p = image.Row(py) + px * 3;
            for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(p[c] / 4);
        }
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t* rows = GlyphRows(text[i]);
        if (!rows) continue;
        int gx = x + static_cast<int>(i) * advance;
        for (int r = 0; r < kGlyphHeight; ++r) {
            for (int c = 0; c < kGlyphWidth; ++c) {
                if (!(rows[r] & (0x10 >> c))) continue;
                for (int sy = 0; sy < scale; ++sy)
                    for (int sx = 0; sx < scale; ++sx) image.Set(gx + c * scale + sx, y + r * scale + sy, 255, 255, 255);
            }
        }
    }
}

void RenderScene(const SceneParams& params, const ImageView& image) {
    if (!image.top || image.width <= 0 || image.height <= 0) return;
    const float pi = 3.14159265f;
    const float w = static_cast<float>(image.width), h = static_cast<float>(image.height);
    const float zoom = 1.0f + (params.zoomMax ? 2.0f * std::min(params.zoomPos, params.zoomMax) / params.zoomMax : 0.0f);
    const Tint tint = WhiteBalanceTint(params.whiteBalance);
    // +3 EV (code 0) doubles the brightness, -3 EV (code 48) halves it.
    const float exposure = std::pow(2.0f, (24.0f - static_cast<float>(params.exposureComp % 64)) / 24.0f);

    // Scene coordinates: x in 0..aspect, y in 0..1, independent of the image size.
    const float aspect = w / h;
    const float phase = static_cast<float>(params.step);
    const float day = std::fmod(0.3f + phase * 0.002f, 1.0f);  // the sun crosses the sky in about 35 s
    const float sunX = day * (aspect + 0.3f) - 0.15f;
    const float sunY = 0.5f - 0.3f * std::sin(pi * day);
    const float boxTravel = std::fabs(std::fmod(phase * 0.01f, 2.0f) - 1.0f);  // 0..1..0
    const float boxX = 0.1f + boxTravel * (aspect - 0.4f), boxY = 0.68f, boxW = 0.2f, boxH = 0.16f;
    const float dialX = aspect - 0.25f, dialY = 0.3f, dialR = 0.13f;
    const float angle = 2.0f * pi * std::fmod(phase / 60.0f, 1.0f);
    const float handX = dialX + 0.11f * std::sin(angle), handY = dialY - 0.11f * std::cos(angle);

    for (int y = 0; y < image.height; ++y) {
        uint8_t* row = image.Row(y);
        float v = 0.5f + (static_cast<float>(y) / h - 0.5f) / zoom;
        for (int x = 0; x < image.width; ++x) {
            float u = aspect * 0.5f + (static_cast<float>(x) / h - aspect * 0.5f) / zoom;
            float r, g, b;
            if (v < 0.6f) {  // sky, lighter towards the horizon
                r = 70 + 120 * v;
                g = 130 + 100 * v;
                b = 230;
            } else {  // meadow with stripes that show the zoom
                bool stripe = static_cast<int>(std::floor(u * 20.0f)) % 2 == 0;
                r = 40;
                g = stripe ? 150.0f : 130.0f;
                b = 50;
            }
            float sdx = u - sunX, sdy = v - sunY;
            if (sdx * sdx + sdy * sdy < 0.08f * 0.08f) {
                r = 255, g = 220, b = 60;
            }
            if (u >= boxX && u <= boxX + boxW && v >= boxY && v <= boxY + boxH) {
                r = 200, g = 40, b = 40;
            }
            float ddx = u - dialX, ddy = v - dialY;
            if (ddx * ddx + ddy * ddy < dialR * dialR) {
                bool hand = DistanceToSegment(u, v, dialX, dialY, handX, handY) < 0.012f;
                r = g = b = hand ? 20.0f : 245.0f;
            }
            uint8_t* p = row + x * 3;
            p[0] = Clamp(b * tint.b * exposure);
            p[1] = Clamp(g * tint.g * exposure);
            p[2] = Clamp(r * tint.r * exposure);
        }
    }

    int scale = std::max(1, image.height / 240);
    int lineHeight = (kGlyphHeight + 3) * scale;
    for (size_t i = 0; i < params.lines.size(); ++i) {
        DrawText(image, 2 * scale, 2 * scale + static_cast<int>(i) * lineHeight, params.lines[i], scale);
    }
    if (!params.banner.empty()) {
        int big = scale * 3;
        int textWidth = static_cast<int>(params.banner.size()) * (kGlyphWidth + 1) * big;
        DrawText(image, image.width - textWidth - 2 * big, image.height - (kGlyphHeight + 2) * big, params.banner, big);
    }
}

}  // namespace sim
