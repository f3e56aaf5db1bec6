// The label tables of the settings lists: their shape, and spot checks of texts that are easy
// to get wrong (double blanks, apostrophes, codes shared or missing).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/setting_labels.h"

namespace {

TEST(LabelTables, HaveTheirRowsOnceEachInCodeOrderWithText) {
    const struct {
        const LabelTable& (*table)();
        size_t rows;
    } tables[] = {
        {ImageSizeLabels, 5},  {QualityLabels, 5},     {WhiteBalanceLabels, 10}, {ExposureCompLabels, 25},
        {FlashLabels, 7},      {ApertureLabels, 44},   {ShutterSpeedLabels, 58}, {MeteringLabels, 6},
        {AFPointLabels, 4},    {PhotoEffectLabels, 7}, {AFLightLabels, 2},       {ISOLabels, 32},
        {MacroLabels, 2},
    };
    for (const auto& t : tables) {
        const LabelTable& table = t.table();
        SCOPED_TRACE(table.rows[0].text);
        EXPECT_EQ(t.rows, table.count);
        for (size_t i = 0; i < table.count; ++i) {
            EXPECT_STRNE("", table.rows[i].text) << table.rows[i].code;
            EXPECT_TRUE(i == 0 || table.rows[i - 1].code < table.rows[i].code) << table.rows[i].code;
            EXPECT_STREQ(table.rows[i].text, FindLabel(table, table.rows[i].code));
        }
    }
}

TEST(LabelTables, SpotChecks) {
    const struct {
        const LabelTable& (*table)();
        uint32_t code;
        const char* text;
    } cases[] = {
        {WhiteBalanceLabels, 255, "AtCapture"},      {WhiteBalanceLabels, 4095, "Coefficient"},
        {WhiteBalanceLabels, 32768, "ByPos"},        {WhiteBalanceLabels, 7, ""},
        {ExposureCompLabels, 24, "0"},               {ExposureCompLabels, 3, "+2  2/3"},
        {ExposureCompLabels, 0x24, "-1  1/2"},       {ExposureCompLabels, 0x15, "+1/3"},
        {ExposureCompLabels, 1, ""},                 {ExposureCompLabels, 255, ""},
        {ShutterSpeedLabels, 4, "Bulb"},             {ShutterSpeedLabels, 16, "30''"},
        {ShutterSpeedLabels, 0x2B, "3''2"},          {ShutterSpeedLabels, 59, "0''8"},
        {ShutterSpeedLabels, 0x78, "1/250"},         {ShutterSpeedLabels, 91, ""},
        {ShutterSpeedLabels, 65535, "NA"},           {ApertureLabels, 0, "No Lens"},
        {ApertureLabels, 0x3D, "10"},                {ApertureLabels, 32766, "Max"},
        {ApertureLabels, 32767, "Open"},             {ApertureLabels, 1, ""},
        {FlashLabels, 5, "Auto (Red eye)"},          {FlashLabels, 4, "Slow sync"},
        {FlashLabels, 7, ""},                        {MeteringLabels, 0, "Center-weighted averaging"},
        {MeteringLabels, 5, "Center-weighted averaging"}, {MeteringLabels, 6, ""},
        {PhotoEffectLabels, 5, "Black & White"},     {PhotoEffectLabels, 3, "Low sharpening"},
        {ISOLabels, 0, "ISO Auto"},                  {ISOLabels, 0x48, "ISO 100"},
        {ISOLabels, 70, ""},                         {AFPointLabels, 0x3003, "AF center"},
        {AFPointLabels, 0x3000, ""},                 {ImageSizeLabels, 6, "Medium2"},
        {ImageSizeLabels, 3, ""},                    {QualityLabels, 0, ""},
    };
    for (const auto& c : cases) EXPECT_STREQ(c.text, FindLabel(c.table(), c.code)) << c.code;
    EXPECT_EQ("Large/Fine", SizeQualityLabel(0, 3));
    EXPECT_EQ("Medium2/Superfine", SizeQualityLabel(6, 5));
    EXPECT_EQ("", SizeQualityLabel(3, 3));
    EXPECT_EQ("", SizeQualityLabel(0, 0));
    EXPECT_EQ("", SizeQualityLabel(0x10000, 3));
}

TEST(RelCamSettings, CapacitiesWriteSizesAndLabelWidths) {
    const struct {
        uint32_t id, writeSize, capacity;
    } known[] = {{0x08000004, 1, 8}, {0x08000005, 2, 6}, {0x0800000C, 2, 36}, {0x08000B00, 2, 10}, {0x08000C00, 2, 2}};
    for (const auto& k : known) {
        const RelCamSetting* setting = FindRelCamSetting(k.id);
        ASSERT_NE(nullptr, setting) << k.id;
        EXPECT_EQ(k.writeSize, setting->writeSize);
        EXPECT_EQ(k.capacity, RelCamCapacity(k.id));
        EXPECT_LE(setting->labels().count, setting->capacity);  // every labelled value fits the list
    }
    uint32_t value = 0;
    for (uint32_t id : {0u, 0x0800000Du, 0x08000006u, 0xFFFFFFFFu}) {
        EXPECT_EQ(nullptr, FindRelCamSetting(id));
        EXPECT_EQ(0u, RelCamCapacity(id));
        EXPECT_STREQ("", RelCamLabelAt(id, &value));
    }
    // Metering is looked up on one byte whatever the upper ones hold; the others on two.
    const struct {
        uint32_t id, value;
        const char* text;
    } labels[] = {{0x08000004, 0x0105, "Center-weighted averaging"}, {0x08000004, 0xABCD0003, "Evaluative"},
                  {0x08000005, 0x00013001, "AF auto"}, {0x0800000C, 0x48, "ISO 100"}, {0x08000C00, 0x10001, "On"},
                  {0x08000C00, 2, ""}};
    for (const auto& l : labels) EXPECT_STREQ(l.text, RelCamLabelAt(l.id, &l.value)) << l.value;
    uint8_t oneByte = 1;
    EXPECT_STREQ("Spot", RelCamLabelAt(0x08000004, &oneByte));
    EXPECT_STREQ("", RelCamLabelAt(0x08000004, nullptr));
}

TEST(OwnerNameField, CutsPadsAndReadsBackWithinThirtyTwoBytes) {
    uint8_t field[kOwnerNameFieldSize];
    auto text = [&field] { return std::string(reinterpret_cast<const char*>(field), sizeof field); };
    std::memset(field, 0xAA, sizeof field);
    BuildOwnerNameField("Ann", field);
    EXPECT_EQ(std::string("Ann").append(29, '\0'), text());
    EXPECT_EQ("Ann", OwnerNameFromField(field));
    // 40 characters are cut to 32, and 32 fill the field with no room for a terminator.
    const std::string forty = "0123456789abcdefghijklmnopqrstuvwxyzABCD";
    for (const std::string& name : {forty, forty.substr(0, 32)}) {
        BuildOwnerNameField(name.c_str(), field);
        EXPECT_EQ(forty.substr(0, 32), text());
        EXPECT_EQ(forty.substr(0, 32), OwnerNameFromField(field));
    }
    std::memset(field, 0xAA, sizeof field);
    BuildOwnerNameField(nullptr, field);
    EXPECT_EQ(std::string(32, '\0'), text());
    EXPECT_EQ("", OwnerNameFromField(nullptr));
}

}  // namespace
