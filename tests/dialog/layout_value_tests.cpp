#include "dialog/layout_value.h"

#include <gtest/gtest.h>

using layout_value::ControlPlace;

TEST(LayoutValue, FieldsAreReadFromFixedPositionsLikeAtoi) {
    const std::string wide = layout_value::Format({10000, 20, 100, 30});  // "10000,0020,0100,0030"
    const std::pair<const char*, ControlPlace> rows[] = {
        {"0010,0020,0100,0030", {10, 20, 100, 30}},
        {"-005,-999,0000,9999", {-5, -999, 0, 9999}},
        {" +12,  -3,0007,0008", {12, -3, 7, 8}},
        {"12,15,75,23", {12, 0, 3, 0}},   // unpadded: "12,1", "5,75", ",23" at the fixed places
        {wide.c_str(), {1000, 0, 0, 0}},  // a fifth digit shifts the other fields onto commas
        {"12ab,x999,0-10,   ", {12, 0, 0, 0}},
        {"0010", {10, 0, 0, 0}},
        {"0010,00", {10, 0, 0, 0}},
        {"-", {0, 0, 0, 0}},
    };
    for (const auto& [text, expected] : rows) {
        ControlPlace place{-1, -1, -1, -1};
        ASSERT_TRUE(layout_value::Parse(text, &place)) << text;
        EXPECT_EQ(layout_value::Format(place), layout_value::Format(expected)) << text;
    }
    ControlPlace place{1, 2, 3, 4};  // an empty or missing value leaves the control where it is
    EXPECT_FALSE(layout_value::Parse("", &place) || layout_value::Parse(nullptr, &place));
    EXPECT_EQ(layout_value::Format(place), "0001,0002,0003,0004");
    const char tail[2] = {'7', '\0'};  // never read past the terminator
    EXPECT_TRUE(layout_value::ParseField(tail, 4) == 7 && layout_value::ParseField("123456", 4) == 1234);
}

TEST(LayoutValue, EveryWritableValueSurvivesARoundTrip) {
    EXPECT_EQ(layout_value::Format({-5, 0, 9999, -999}), "-005,0000,9999,-999");
    for (int32_t v = -999; v <= 9999; ++v) {
        const ControlPlace in{v, 9000 - v, v / 3, -(v % 1000)};
        ControlPlace out{};
        ASSERT_TRUE(layout_value::Parse(layout_value::Format(in).c_str(), &out));
        ASSERT_EQ(layout_value::Format(out), layout_value::Format(in));
    }
}
