// Where a viewfinder picture and its overlays land in the live-view area. No Windows calls.
#pragma once

#include <cstdint>

namespace live_view {

struct Box {
    int32_t x, y, w, h;
};

struct Edges {
    int32_t left, top, right, bottom;
};

// Largest size a frame header may claim before the frame is refused as damaged.
constexpr uint32_t kMaxFrameSide = 16384;

// A picture of w0 x h0 must be at least 1 x 1 and at most kMaxFrameSide on each side.
bool PlausibleFrameSize(uint32_t w0, uint32_t h0);

// Fits a w0 x h0 picture into a W x H area, keeping its shape, decided by the picture's own
// orientation (landscape or square: full width; portrait: full height) and centred in the other
// direction. Requires PlausibleFrameSize(w0, h0).
Box FitPicture(uint32_t w0, uint32_t h0, int32_t W, int32_t H);

// The destination frame fw x fh fitted into (x, y, w, h): full height for an upright or square
// frame, full width for a wide one. `scale` is the factor from frame units to pixels.
struct DestinationBox {
    Edges edges;
    float scale;
};
DestinationBox FitDestinationFrame(uint32_t fw, uint32_t fh, const Box& area);

// Pixel position of an adjustment line at `value` frame units from `origin`.
int32_t LinePosition(uint32_t value, float scale, int32_t origin);

// Middle of [a, b], rounded toward a.
inline int32_t Middle(int32_t a, int32_t b) { return a + (b - a) / 2; }

// Cuts toward zero into the 32-bit range; NaN gives 0.
int32_t Trunc(double value);

}  // namespace live_view
