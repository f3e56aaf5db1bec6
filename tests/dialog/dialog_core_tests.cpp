// Rounding cases of the live-view geometry and the layout values' fixed fields; the common sizes
// and places are pinned by what the window draws and where its controls land.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "dialog/layout_value.h"
#include "dialog/live_view_geometry.h"

using namespace live_view;
using layout_value::ControlPlace;
using layout_value::Format;

namespace {
std::string Text(int32_t a, int32_t b, int32_t c, int32_t d) {
    return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," + std::to_string(d);
}
}  // namespace

TEST(LiveViewGeometry, PicturesFitByTheirOwnOrientationAndFramesByTheirShape) {
    const std::tuple<uint32_t, uint32_t, int32_t, int32_t, const char*> pictures[] = {  // picture, area, x,y,w,h
        {320, 240, 200, 600, "0,225,200,150"},  // by the picture's orientation, not the area's
        {100, 100, 480, 400, "0,-39,480,480"},  // square counts as landscape; -39.5 is cut toward zero
        {3, 2, 10, 10, "0,2,10,7"},             // 6.67 + 0.5 cut to 7; offset 1.67 + 0.5 cut to 2
    };
    for (const auto& [w0, h0, W, H, expected] : pictures) {
        const Box b = FitPicture(w0, h0, W, H);
        EXPECT_EQ(Text(b.x, b.y, b.w, b.h), expected) << w0 << "x" << h0 << " in " << W << "x" << H;
    }
    const std::tuple<uint32_t, uint32_t, Box, const char*, float> frames[] = {  // frame, area, edges, scale
        {100, 100, {10, 0, 480, 360}, "70,0,430,360", 3.6f},     // square counts as upright
        {100, 300, {0, 0, 500, 700}, "133,0,366,700", 7 / 3.f},  // 233.33 wide: both edges cut toward zero
        {300, 300, {0, 0, 100, 301}, "-100,0,201,301", 301 / 300.f},  // wider than the area reaches left of it
        {0, 720, {0, 0, 480, 360}, "0,0,0,0", 0},
    };
    for (const auto& [fw, fh, area, expected, scale] : frames) {
        const DestinationBox d = FitDestinationFrame(fw, fh, area);
        EXPECT_EQ(Text(d.edges.left, d.edges.top, d.edges.right, d.edges.bottom), expected) << fw << "x" << fh;
        EXPECT_FLOAT_EQ(d.scale, scale) << fw << "x" << fh;
    }
}

TEST(LayoutValue, FieldsAreReadFromFixedPositionsLikeAtoiAndEveryWritableValueSurvives) {
    const std::string wide = Format({10000, 20, 100, 30});  // "10000,0020,0100,0030"
    const std::pair<const char*, ControlPlace> rows[] = {
        {" +12,  -3,0007,0008", {12, -3, 7, 8}},
        {wide.c_str(), {1000, 0, 0, 0}},  // a fifth digit shifts the other fields onto commas
        {"12ab,x999,0-10,   ", {12, 0, 0, 0}},
        {"0010,00", {10, 0, 0, 0}},
        {"-", {0, 0, 0, 0}},
    };
    for (const auto& [text, expected] : rows) {
        ControlPlace place{-1, -1, -1, -1};
        ASSERT_TRUE(layout_value::Parse(text, &place)) << text;
        EXPECT_EQ(Format(place), Format(expected)) << text;
    }
    ControlPlace place{1, 2, 3, 4};  // an empty or missing value leaves the control where it is
    EXPECT_FALSE(layout_value::Parse("", &place));
    EXPECT_FALSE(layout_value::Parse(nullptr, &place));
    EXPECT_EQ(Format(place), "0001,0002,0003,0004");
    const char tail[2] = {'7', '\0'};  // never read past the terminator
    EXPECT_EQ(7, layout_value::ParseField(tail, 4));
    EXPECT_EQ(1234, layout_value::ParseField("123456", 4));

    EXPECT_EQ(Format({-5, 0, 9999, -999}), "-005,0000,9999,-999");
    for (int32_t v = -999; v <= 9999; ++v) {
        const ControlPlace in{v, 9000 - v, v / 3, -(v % 1000)};
        ControlPlace out{};
        ASSERT_TRUE(layout_value::Parse(Format(in).c_str(), &out)) << Format(in);
        ASSERT_EQ(Format(in), Format(out));
    }
}
