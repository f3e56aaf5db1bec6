#include "dialog/live_view_geometry.h"

#include <gtest/gtest.h>

#include <limits>

using namespace live_view;

namespace {
void ExpectBox(const Box& box, int32_t x, int32_t y, int32_t w, int32_t h) {
    EXPECT_EQ(box.x, x);
    EXPECT_EQ(box.y, y);
    EXPECT_EQ(box.w, w);
    EXPECT_EQ(box.h, h);
}
}  // namespace

TEST(FitPicture, LandscapeFillsTheWidthAndIsCentredVertically) {
    ExpectBox(FitPicture(320, 240, 480, 400), 0, 20, 480, 360);
    // Square pictures count as landscape: full width, even when that overflows the height;
    // the offset (-80 * 0.5 + 0.5 = -39.5) is cut toward zero.
    ExpectBox(FitPicture(100, 100, 480, 400), 0, -39, 480, 480);
}

TEST(FitPicture, PortraitFillsTheHeightAndIsCentredHorizontally) {
    ExpectBox(FitPicture(240, 320, 480, 400), 90, 0, 300, 400);
}

TEST(FitPicture, OrientationComesFromThePictureNotFromTheArea) {
    // A landscape picture in a tall area still takes the full width.
    ExpectBox(FitPicture(320, 240, 200, 600), 0, 225, 200, 150);
}

TEST(FitPicture, HalvesRoundUpThroughThePlusHalf) {
    // 3 x 2 into 10 x 10: s = 10/3, drawn 10 x 7 (6.67 + 0.5 cut), offset (10 - 6.67) / 2 + 0.5 = 2.17 -> 2.
    ExpectBox(FitPicture(3, 2, 10, 10), 0, 2, 10, 7);
    // 2 x 3 into 11 x 10: s = 10/3, width 6.67 -> 7, offset (11 - 6.67) / 2 + 0.5 = 2.67 -> 2.
    ExpectBox(FitPicture(2, 3, 11, 10), 2, 0, 7, 10);
}

TEST(FitPicture, EmptyAreaGivesAnEmptyPicture) { ExpectBox(FitPicture(320, 240, 0, 0), 0, 0, 0, 0); }

TEST(FramePlausibility, RefusesEmptyAndOversizedHeaders) {
    EXPECT_TRUE(PlausibleFrameSize(1, 1));
    EXPECT_TRUE(PlausibleFrameSize(kMaxFrameSide, kMaxFrameSide));
    EXPECT_FALSE(PlausibleFrameSize(0, 240));
    EXPECT_FALSE(PlausibleFrameSize(320, 0));
    EXPECT_FALSE(PlausibleFrameSize(kMaxFrameSide + 1, 2));
    // A top-down header (negative height) taken as unsigned.
    EXPECT_FALSE(PlausibleFrameSize(320, static_cast<uint32_t>(-240)));
}

TEST(RowBytes, PadsTwentyFourBitRowsToFourBytes) {
    EXPECT_EQ(RowBytes24(1), 4u);
    EXPECT_EQ(RowBytes24(3), 12u);
    EXPECT_EQ(RowBytes24(5), 16u);
    EXPECT_EQ(RowBytes24(320), 960u);
}

TEST(DestinationFrame, WideFrameTakesTheFullWidthCentredVertically) {
    // 960 x 720 over the box of a 320 x 240 picture drawn in a 480 x 400 area.
    DestinationBox d = FitDestinationFrame(960, 720, Box{0, 20, 480, 360});
    EXPECT_EQ(d.edges.left, 0);
    EXPECT_EQ(d.edges.top, 20);
    EXPECT_EQ(d.edges.right, 480);
    EXPECT_EQ(d.edges.bottom, 380);
    EXPECT_FLOAT_EQ(d.scale, 0.5f);
    EXPECT_EQ(LinePosition(480, d.scale, d.edges.left), 240);
    EXPECT_EQ(LinePosition(360, d.scale, d.edges.top), 200);
    // A flatter frame leaves bands above and below: 1000 x 500 in 480 x 360 -> 480 x 240 at y 60.
    d = FitDestinationFrame(1000, 500, Box{0, 0, 480, 360});
    EXPECT_EQ(d.edges.top, 60);
    EXPECT_EQ(d.edges.bottom, 300);
}

TEST(DestinationFrame, UprightFrameTakesTheFullHeightCentredAcrossTheWholeWidth) {
    DestinationBox d = FitDestinationFrame(300, 400, Box{0, 20, 480, 360});
    EXPECT_EQ(d.edges.top, 20);
    EXPECT_EQ(d.edges.bottom, 380);
    EXPECT_EQ(d.edges.left, 105);  // (480 - 270) / 2
    EXPECT_EQ(d.edges.right, 375);
    // Square frames count as upright.
    d = FitDestinationFrame(100, 100, Box{10, 0, 480, 360});
    EXPECT_EQ(d.edges.left, 70);
    EXPECT_EQ(d.edges.right, 430);
}

TEST(DestinationFrame, FractionsAreCutTowardZero) {
    // bw = 100 * 7/3 = 233.33: left = 0 - trunc((500 - 233.33) * -0.5) = 133, right = trunc(366.33) = 366.
    DestinationBox d = FitDestinationFrame(100, 300, Box{0, 0, 500, 700});
    EXPECT_EQ(d.edges.left, 133);
    EXPECT_EQ(d.edges.right, 366);
    // A frame wider than the area in the upright case reaches left of x (the cut is toward zero).
    d = FitDestinationFrame(300, 300, Box{0, 0, 100, 301});
    EXPECT_EQ(d.edges.left, 0 - Trunc((100 - 301.0) * -0.5));
    EXPECT_EQ(d.edges.left, -100);
}

TEST(DestinationFrame, ZeroSizeGivesNoBox) {
    DestinationBox d = FitDestinationFrame(0, 720, Box{0, 0, 480, 360});
    EXPECT_EQ(d.edges.right, 0);
    EXPECT_EQ(d.scale, 0.0f);
}

TEST(Lines, HugeValuesStayInRange) {
    EXPECT_EQ(LinePosition(0xFFFFFFFFu, 1e6f, 0), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Trunc(-1e20), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(Trunc(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(Trunc(-2.9), -2);
}

TEST(Lines, MiddleRoundsTowardTheFirstEdge) {
    EXPECT_EQ(Middle(0, 480), 240);
    EXPECT_EQ(Middle(20, 381), 200);
    EXPECT_EQ(Middle(-5, 0), -3);  // (0 - -5) / 2 = 2
}
