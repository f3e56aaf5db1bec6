#include "dialog/layout_value.h"

#include <gtest/gtest.h>

using layout_value::ControlPlace;

namespace {
ControlPlace ParseOrFail(const char* text) {
    ControlPlace place{-1, -1, -1, -1};
    EXPECT_TRUE(layout_value::Parse(text, &place)) << text;
    return place;
}
void ExpectPlace(const ControlPlace& p, int32_t l, int32_t t, int32_t w, int32_t h) {
    EXPECT_EQ(p.left, l);
    EXPECT_EQ(p.top, t);
    EXPECT_EQ(p.width, w);
    EXPECT_EQ(p.height, h);
}
}  // namespace

TEST(LayoutValue, FormatsZeroPaddedFields) {
    EXPECT_EQ(layout_value::Format({12, 15, 75, 23}), "0012,0015,0075,0023");
    EXPECT_EQ(layout_value::Format({-5, 0, 9999, -999}), "-005,0000,9999,-999");
}

TEST(LayoutValue, ReadsTheFourFixedFields) {
    ExpectPlace(ParseOrFail("0010,0020,0100,0030"), 10, 20, 100, 30);
    ExpectPlace(ParseOrFail("-005,-999,0000,9999"), -5, -999, 0, 9999);
    ExpectPlace(ParseOrFail(" +12,  -3,0007,0008"), 12, -3, 7, 8);
}

TEST(LayoutValue, EveryWritableValueSurvivesARoundTrip) {
    for (int32_t v = -999; v <= 9999; ++v) {
        const ControlPlace in{v, 9000 - v, v / 3, -(v % 1000)};
        ControlPlace out{};
        ASSERT_TRUE(layout_value::Parse(layout_value::Format(in).c_str(), &out));
        ASSERT_EQ(out.left, in.left);
        ASSERT_EQ(out.top, in.top);
        ASSERT_EQ(out.width, in.width);
        ASSERT_EQ(out.height, in.height);
    }
}

TEST(LayoutValue, UnpaddedValuesAreStillReadAtTheFixedPositions) {
    ExpectPlace(ParseOrFail("12,15,75,23"), 12, 0, 3, 0);
}

TEST(LayoutValue, FiveCharacterNumbersShiftTheFields) {
    // "10000,0020,0100,0030": left reads "1000", the others read ",002", ",010", ",003" -> 0.
    ExpectPlace(ParseOrFail(layout_value::Format({10000, 20, 100, 30}).c_str()), 1000, 0, 0, 0);
}

TEST(LayoutValue, ConversionStopsAtTheFirstNonDigit) {
    ExpectPlace(ParseOrFail("12ab,x999,0-10,   "), 12, 0, 0, 0);
    ExpectPlace(ParseOrFail("0010"), 10, 0, 0, 0);
    ExpectPlace(ParseOrFail("0010,00"), 10, 0, 0, 0);
    ExpectPlace(ParseOrFail("-"), 0, 0, 0, 0);
}

TEST(LayoutValue, EmptyOrMissingValueLeavesTheControl) {
    ControlPlace place{1, 2, 3, 4};
    EXPECT_FALSE(layout_value::Parse("", &place));
    EXPECT_FALSE(layout_value::Parse(nullptr, &place));
    ExpectPlace(place, 1, 2, 3, 4);
}

TEST(LayoutValue, FieldParsingNeverReadsPastTheTerminator) {
    const char tail[2] = {'7', '\0'};
    EXPECT_EQ(layout_value::ParseField(tail, 4), 7);
    EXPECT_EQ(layout_value::ParseField("123456", 4), 1234);
    EXPECT_EQ(layout_value::ParseField("-", 4), 0);
}
