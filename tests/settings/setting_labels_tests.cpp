// The label tables of the settings lists: their shape, and spot checks of texts that are easy
// to get wrong (double blanks, apostrophes, codes shared or missing) that no list test shows.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/setting_labels.h"

namespace {

TEST(LabelTables, HaveTheirRowsOnceEachInCodeOrderWithText) {
    const struct {
        const LabelTable& (*table)();
        size_t rows;
    } tables[] = {{ImageSizeLabels, 5}, {QualityLabels, 5}, {WhiteBalanceLabels, 10}, {ExposureCompLabels, 25},
                  {FlashLabels, 7}, {ApertureLabels, 44}, {ShutterSpeedLabels, 58}, {MeteringLabels, 6},
                  {ISOLabels, 32}, {AFPointLabels, 4}, {PhotoEffectLabels, 7}, {AFLightLabels, 2}, {MacroLabels, 2}};
    for (const auto& t : tables) {
        const LabelTable& table = t.table();
        SCOPED_TRACE(table.rows[0].text);
        EXPECT_EQ(t.rows, table.count);
        for (size_t i = 0; i < table.count; ++i) {
            EXPECT_STRNE("", table.rows[i].text) << table.rows[i].code;
            if (i) { EXPECT_LT(table.rows[i - 1].code, table.rows[i].code); }
        }
    }
}

TEST(LabelTables, SpotChecks) {
    const struct {
        const LabelTable& (*table)();
        uint32_t code;
        const char* text;
    } cases[] = {
        {ExposureCompLabels, 0x24, "-1  1/2"}, {ExposureCompLabels, 0x15, "+1/3"}, {ShutterSpeedLabels, 16, "30''"},
        {ShutterSpeedLabels, 0x2B, "3''2"},    {ShutterSpeedLabels, 59, "0''8"},    {ShutterSpeedLabels, 91, ""},
        {FlashLabels, 4, "Slow sync"},         {PhotoEffectLabels, 5, "Black & White"}, {ISOLabels, 70, ""},
        {ApertureLabels, 0x3D, "10"},
    };
    for (const auto& c : cases) EXPECT_STREQ(c.text, FindLabel(c.table(), c.code)) << c.code;
    EXPECT_EQ("", SizeQualityLabel(0x10000, 3));  // a half without a label: no pair
}

// Capacities and write sizes show in the list and write tests; here the width a label is read on.
TEST(RelCamSettings, LabelsAreReadOnTheSettingsOwnWidth) {
    const uint32_t metering = 0xABCD0103, point = 0x00013001, light = 0x10001;
    const uint8_t spot = 1;  // a one-byte variable is read on its one byte only
    EXPECT_STREQ("Evaluative", RelCamLabelAt(0x08000004, &metering));
    EXPECT_STREQ("Spot", RelCamLabelAt(0x08000004, &spot));
    EXPECT_STREQ("AF auto", RelCamLabelAt(0x08000005, &point));
    EXPECT_STREQ("On", RelCamLabelAt(0x08000C00, &light));
    EXPECT_STREQ("", RelCamLabelAt(0x08000004, nullptr));
    for (uint32_t id : {0u, 0x0800000Du, 0x08000006u}) {
        EXPECT_FALSE(FindRelCamSetting(id)) << id;
        EXPECT_EQ(0u, RelCamCapacity(id)) << id;
        EXPECT_STREQ("", RelCamLabelAt(id, &light)) << id;
    }
}

// 40 characters are cut to 32, 32 fill the field with no room for a terminator, fewer are padded.
TEST(OwnerNameField, CutsPadsAndReadsBackWithinThirtyTwoBytes) {
    const std::string forty = "0123456789abcdefghijklmnopqrstuvwxyzABCD", full = forty.substr(0, 32);
    for (const std::string& name : {forty, full, std::string("Ann"), std::string()}) {
        uint8_t field[kOwnerNameFieldSize];
        std::memset(field, 0xAA, sizeof field);
        BuildOwnerNameField(name.c_str(), field);
        std::string kept = name.substr(0, 32);
        EXPECT_EQ(kept + std::string(32 - kept.size(), '\0'), std::string(reinterpret_cast<char*>(field), 32));
        EXPECT_EQ(kept, OwnerNameFromField(field));
    }
    EXPECT_EQ("", OwnerNameFromField(nullptr));
}

}  // namespace
