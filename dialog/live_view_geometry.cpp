#include "dialog/live_view_geometry.h"

#include <cmath>
#include <limits>

namespace live_view {

int32_t Trunc(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

bool PlausibleFrameSize(uint32_t w0, uint32_t h0) {
    return w0 >= 1 && h0 >= 1 && w0 <= kMaxFrameSide && h0 <= kMaxFrameSide;
}

Box FitPicture(uint32_t w0, uint32_t h0, int32_t W, int32_t H) {
    // The sizes enter the products in single precision, the scale itself is double.
    const double fw0 = static_cast<float>(w0);
    const double fh0 = static_cast<float>(h0);
    Box box{0, 0, 0, 0};
    double s;
    if (w0 >= h0) {
        s = static_cast<double>(W) / static_cast<double>(w0);
        box.y = Trunc((H - fh0 * s) * 0.5 + 0.5);
    } else {
        s = static_cast<double>(H) / static_cast<double>(h0);
        box.x = Trunc((W - fw0 * s) * 0.5 + 0.5);
    }
    box.w = Trunc(fw0 * s + 0.5);
    box.h = Trunc(fh0 * s + 0.5);
    return box;
}

DestinationBox FitDestinationFrame(uint32_t fw, uint32_t fh, const Box& area) {
    DestinationBox result{{0, 0, 0, 0}, 0.0f};
    if (fw == 0 || fh == 0) return result;
    Edges& e = result.edges;
    double s;
    if (fh >= fw) {
        s = static_cast<double>(area.h) / fh;
        const double bw = s * fw;
        e.left = area.x - Trunc((area.w - bw) * -0.5);
        e.top = area.y;
        e.right = Trunc(e.left + bw);
        e.bottom = area.y + area.h;
    } else {
        s = static_cast<double>(area.w) / fw;
        const double bh = s * fh;
        e.left = area.x;
        e.top = area.y - Trunc((area.h - bh) * -0.5);
        e.right = area.x + area.w;
        e.bottom = Trunc(e.top + bh);
    }
    result.scale = static_cast<float>(s);
    return result;
}

int32_t LinePosition(uint32_t value, float scale, int32_t origin) {
    // Single-precision arithmetic throughout, as the scale is kept.
    const float position = static_cast<float>(value) * scale + static_cast<float>(origin);
    return Trunc(position);
}

}  // namespace live_view
