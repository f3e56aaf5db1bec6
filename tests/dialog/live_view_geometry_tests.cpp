#include "dialog/live_view_geometry.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>

using namespace live_view;

namespace {
std::string Text(int32_t a, int32_t b, int32_t c, int32_t d) {
    return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," + std::to_string(d);
}
}  // namespace

TEST(LiveViewGeometry, PicturesFitByTheirOwnOrientation) {
    const std::tuple<uint32_t, uint32_t, int32_t, int32_t, const char*> rows[] = {  // picture, area, x,y,w,h
        {320, 240, 480, 400, "0,20,480,360"},   // landscape: full width, centred vertically
        {240, 320, 480, 400, "90,0,300,400"},   // portrait: full height, centred across
        {320, 240, 200, 600, "0,225,200,150"},  // by the picture's orientation, not the area's
        {100, 100, 480, 400, "0,-39,480,480"},  // square counts as landscape; -39.5 is cut toward zero
        {3, 2, 10, 10, "0,2,10,7"},             // 6.67 + 0.5 cut to 7; offset 1.67 + 0.5 cut to 2
        {2, 3, 11, 10, "2,0,7,10"},
        {320, 240, 0, 0, "0,0,0,0"},
    };
    for (const auto& [w0, h0, W, H, expected] : rows) {
        const Box b = FitPicture(w0, h0, W, H);
        EXPECT_EQ(Text(b.x, b.y, b.w, b.h), expected) << w0 << "x" << h0 << " in " << W << "x" << H;
    }
}

TEST(LiveViewGeometry, DestinationFrameFitsByItsShapeAndCutsTowardZero) {
    const std::tuple<uint32_t, uint32_t, Box, const char*, float> rows[] = {  // frame, area, edges, scale
        {960, 720, {0, 20, 480, 360}, "0,20,480,380", 0.5f},     // wide: full width
        {1000, 500, {0, 0, 480, 360}, "0,60,480,300", 0.48f},    // flatter: bands above and below
        {300, 400, {0, 20, 480, 360}, "105,20,375,380", 0.9f},   // upright: full height, centred on the width
        {100, 100, {10, 0, 480, 360}, "70,0,430,360", 3.6f},     // square counts as upright
        {100, 300, {0, 0, 500, 700}, "133,0,366,700", 7 / 3.f},  // 233.33 wide: both edges cut toward zero
        {300, 300, {0, 0, 100, 301}, "-100,0,201,301", 301 / 300.f},  // wider than the area reaches left of it
        {0, 720, {0, 0, 480, 360}, "0,0,0,0", 0},
    };
    for (const auto& [fw, fh, area, expected, scale] : rows) {
        const DestinationBox d = FitDestinationFrame(fw, fh, area);
        EXPECT_EQ(Text(d.edges.left, d.edges.top, d.edges.right, d.edges.bottom), expected) << fw << "x" << fh;
        EXPECT_FLOAT_EQ(d.scale, scale) << fw << "x" << fh;
    }
}

TEST(LiveViewGeometry, LinesCutsAndFramesStayInRange) {
    EXPECT_TRUE(LinePosition(480, 0.5f, 0) == 240 && LinePosition(360, 0.5f, 20) == 200);
    EXPECT_EQ(LinePosition(0xFFFFFFFFu, 1e6f, 0), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Trunc(-1e20), std::numeric_limits<int32_t>::min());
    EXPECT_TRUE(Trunc(std::numeric_limits<double>::quiet_NaN()) == 0 && Trunc(-2.9) == -2);
    EXPECT_TRUE(Middle(20, 381) == 200 && Middle(-5, 0) == -3);  // rounded toward the first edge
    EXPECT_TRUE(PlausibleFrameSize(1, 1) && PlausibleFrameSize(kMaxFrameSide, kMaxFrameSide));
    EXPECT_FALSE(PlausibleFrameSize(0, 240) || PlausibleFrameSize(320, 0) || PlausibleFrameSize(kMaxFrameSide + 1, 2));
    EXPECT_FALSE(PlausibleFrameSize(320, static_cast<uint32_t>(-240)));  // a top-down header
    EXPECT_TRUE(RowBytes24(1) == 4 && RowBytes24(3) == 12 && RowBytes24(5) == 16 && RowBytes24(320) == 960);
}
