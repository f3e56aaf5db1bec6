// The label tables of the settings lists, checked against rules the camera codes follow
// rather than against copies of the tables.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "settings/setting_labels.h"

namespace {

struct NamedTable {
    const char* name;
    const LabelTable& (*table)();
    size_t rows;
};

const NamedTable kTables[] = {
    {"size", ImageSizeLabels, 5},        {"quality", QualityLabels, 5},   {"white balance", WhiteBalanceLabels, 10},
    {"exposure", ExposureCompLabels, 25}, {"flash", FlashLabels, 7},       {"aperture", ApertureLabels, 44},
    {"shutter", ShutterSpeedLabels, 58},  {"metering", MeteringLabels, 6}, {"AF point", AFPointLabels, 4},
    {"photo effect", PhotoEffectLabels, 7}, {"AF light", AFLightLabels, 2}, {"ISO", ISOLabels, 32},
    {"macro", MacroLabels, 2},
};

TEST(LabelTables, HaveTheirRowsOnceEachInCodeOrderWithText) {
    for (const NamedTable& named : kTables) {
        const LabelTable& table = named.table();
        EXPECT_EQ(named.rows, table.count) << named.name;
        for (size_t i = 0; i < table.count; ++i) {
            ASSERT_NE(nullptr, table.rows[i].text) << named.name;
            EXPECT_NE('\0', table.rows[i].text[0]) << named.name << " code " << table.rows[i].code;
            if (i > 0) {
                EXPECT_LT(table.rows[i - 1].code, table.rows[i].code) << named.name;
            }
            EXPECT_STREQ(table.rows[i].text, FindLabel(table, table.rows[i].code));
        }
    }
}

TEST(LabelTables, CodesWithoutARowHaveTheEmptyLabel) {
    EXPECT_STREQ("", FindLabel(WhiteBalanceLabels(), 7));
    EXPECT_STREQ("", FindLabel(WhiteBalanceLabels(), 0xFFFF));
    EXPECT_STREQ("", FindLabel(ExposureCompLabels(), 255));
    EXPECT_STREQ("", FindLabel(ExposureCompLabels(), 1));
    EXPECT_STREQ("", FindLabel(ShutterSpeedLabels(), 53));
    EXPECT_STREQ("", FindLabel(ShutterSpeedLabels(), 91));
    EXPECT_STREQ("", FindLabel(ShutterSpeedLabels(), 0));
    EXPECT_STREQ("", FindLabel(ApertureLabels(), 1));
    EXPECT_STREQ("", FindLabel(ImageSizeLabels(), 3));
    EXPECT_STREQ("", FindLabel(QualityLabels(), 0));
    EXPECT_STREQ("", FindLabel(FlashLabels(), 7));
    EXPECT_STREQ("", FindLabel(AFLightLabels(), 2));
    EXPECT_STREQ("", FindLabel(ISOLabels(), 70));
    EXPECT_STREQ("", FindLabel(AFPointLabels(), 0x3000));
    EXPECT_STREQ("", FindLabel(MeteringLabels(), 6));
}

TEST(LabelTables, SpecialCodesOfTheBasicSettings) {
    EXPECT_STREQ("AtCapture", FindLabel(WhiteBalanceLabels(), 255));
    EXPECT_STREQ("Coefficient", FindLabel(WhiteBalanceLabels(), 4095));
    EXPECT_STREQ("ByPos", FindLabel(WhiteBalanceLabels(), 32768));
    EXPECT_STREQ("0", FindLabel(ExposureCompLabels(), 24));
    EXPECT_STREQ("+2  2/3", FindLabel(ExposureCompLabels(), 3));
    EXPECT_STREQ("No Lens", FindLabel(ApertureLabels(), 0));
    EXPECT_STREQ("Max", FindLabel(ApertureLabels(), 32766));
    EXPECT_STREQ("Open", FindLabel(ApertureLabels(), 32767));
    EXPECT_STREQ("NA", FindLabel(ApertureLabels(), 65535));
    EXPECT_STREQ("Bulb", FindLabel(ShutterSpeedLabels(), 4));
    EXPECT_STREQ("NA", FindLabel(ShutterSpeedLabels(), 65535));
    EXPECT_STREQ("0''8", FindLabel(ShutterSpeedLabels(), 59));
    EXPECT_STREQ("Auto (Red eye)", FindLabel(FlashLabels(), 5));
    EXPECT_STREQ("Black & White", FindLabel(PhotoEffectLabels(), 5));
    EXPECT_STREQ("ISO Auto", FindLabel(ISOLabels(), 0));
    EXPECT_STREQ("Center-weighted averaging", FindLabel(MeteringLabels(), 0));
    EXPECT_STREQ("Center-weighted averaging", FindLabel(MeteringLabels(), 5));
}

// Exposure codes count eighths of a stop down from +3 (code 0); thirds sit at 3 and 5 eighths,
// halves at 4. The label follows from the code alone.
std::string ExposureLabelFromCode(int code) {
    int offset = 24 - code;
    if (offset == 0) return "0";
    int magnitude = std::abs(offset);
    int whole = magnitude / 8, eighths = magnitude % 8;
    const char* fraction = eighths == 3 ? "1/3" : eighths == 4 ? "1/2" : eighths == 5 ? "2/3" : "";
    std::string label = offset > 0 ? "+" : "-";
    if (whole) label += std::to_string(whole);
    if (whole && *fraction) label += "  ";
    return label + fraction;
}

TEST(LabelTables, ExposureLabelsFollowTheStopArithmetic) {
    size_t listed = 0;
    for (int code = 0; code <= 0x30; ++code) {
        int eighths = std::abs(24 - code) % 8;
        bool expected = eighths == 0 || eighths == 3 || eighths == 4 || eighths == 5;
        const char* label = FindLabel(ExposureCompLabels(), static_cast<uint32_t>(code));
        if (expected) {
            EXPECT_EQ(ExposureLabelFromCode(code), label) << "code " << code;
            ++listed;
        } else {
            EXPECT_STREQ("", label) << "code " << code;
        }
    }
    EXPECT_EQ(ExposureCompLabels().count, listed);
}

double Near(double value, double nominal) { return std::fabs(value / nominal - 1.0); }

TEST(LabelTables, ApertureLabelsAreTheFNumbersOfTheirCodes) {
    double previous = 0;
    for (size_t i = 0; i < ApertureLabels().count; ++i) {
        const LabelRow& row = ApertureLabels().rows[i];
        if (row.code < 8 || row.code > 112) continue;
        char* end = nullptr;
        double f = std::strtod(row.text, &end);
        EXPECT_EQ('\0', *end) << row.text;
        EXPECT_GT(f, previous) << row.text;
        EXPECT_LT(Near(f, std::pow(2.0, (row.code - 8) / 16.0)), 0.06) << "code " << row.code << " " << row.text;
        previous = f;
    }
}

// "30''" is 30 s, "1''6" 1.6 s, "0''8" 0.8 s, "1/250" 1/250 s; -1 for anything else.
double ParseShutterSeconds(const std::string& label) {
    if (label.compare(0, 2, "1/") == 0) {
        char* end = nullptr;
        double n = std::strtod(label.c_str() + 2, &end);
        return (*end == '\0' && n > 0) ? 1.0 / n : -1;
    }
    size_t mark = label.find("''");
    if (mark == std::string::npos || mark == 0 || label.find('\'', mark + 2) != std::string::npos) return -1;
    std::string whole = label.substr(0, mark), tenths = label.substr(mark + 2);
    if (tenths.size() > 1) return -1;
    return std::atof(whole.c_str()) + (tenths.empty() ? 0 : std::atof(tenths.c_str()) / 10);
}

TEST(LabelTables, ShutterLabelsAreTheTimesOfTheirCodes) {
    double previous = 1e9;
    for (size_t i = 0; i < ShutterSpeedLabels().count; ++i) {
        const LabelRow& row = ShutterSpeedLabels().rows[i];
        if (row.code < 16 || row.code > 168) continue;
        double seconds = ParseShutterSeconds(row.text);
        ASSERT_GT(seconds, 0) << row.text;
        EXPECT_LT(seconds, previous) << row.text;
        EXPECT_LT(Near(seconds, std::pow(2.0, (56.0 - row.code) / 8.0)), 0.08) << "code " << row.code << " " << row.text;
        previous = seconds;
    }
}

TEST(LabelTables, IsoLabelsAreTheSpeedsOfTheirCodes) {
    for (size_t i = 1; i < ISOLabels().count; ++i) {
        const LabelRow& row = ISOLabels().rows[i];
        ASSERT_EQ(0, std::strncmp(row.text, "ISO ", 4)) << row.text;
        double speed = std::atof(row.text + 4);
        EXPECT_LT(Near(speed, 100.0 * std::pow(2.0, (row.code - 72.0) / 8.0)), 0.1) << "code " << row.code;
    }
}

TEST(SizeQualityLabel, JoinsBothLabelsOrGivesNothing) {
    EXPECT_EQ("Large/Fine", SizeQualityLabel(0, 3));
    EXPECT_EQ("Medium2/Superfine", SizeQualityLabel(6, 5));
    EXPECT_EQ("Small/Economy", SizeQualityLabel(2, 1));
    EXPECT_EQ("", SizeQualityLabel(3, 3));
    EXPECT_EQ("", SizeQualityLabel(0, 0));
    EXPECT_EQ("", SizeQualityLabel(0x10000, 3));
}

TEST(RelCamSettings, CapacitiesWriteSizesAndUnknownIds) {
    struct Expected {
        uint32_t id, writeSize, capacity;
    };
    const Expected expected[] = {
        {0x08000004, 1, 8}, {0x08000005, 2, 6}, {0x0800000C, 2, 36}, {0x08000B00, 2, 10}, {0x08000C00, 2, 2},
    };
    for (const Expected& e : expected) {
        const RelCamSetting* setting = FindRelCamSetting(e.id);
        ASSERT_NE(nullptr, setting);
        EXPECT_EQ(e.writeSize, setting->writeSize);
        EXPECT_EQ(e.capacity, RelCamCapacity(e.id));
        // Every labelled value fits the list.
        EXPECT_LE(setting->labels().count, setting->capacity);
    }
    for (uint32_t id : {0u, 0x0800000Du, 0x08000006u, 0x08000B01u, 0xFFFFFFFFu}) {
        EXPECT_EQ(nullptr, FindRelCamSetting(id));
        EXPECT_EQ(0u, RelCamCapacity(id));
        uint32_t value = 0;
        EXPECT_STREQ("", RelCamLabelAt(id, &value));
    }
}

TEST(RelCamSettings, LabelsAreReadOnTheSettingsOwnWidth) {
    // Metering looks at one byte only: whatever the upper bytes hold.
    uint32_t metering = 0x0105;
    EXPECT_STREQ("Center-weighted averaging", RelCamLabelAt(0x08000004, &metering));
    metering = 0xABCD0003;
    EXPECT_STREQ("Evaluative", RelCamLabelAt(0x08000004, &metering));
    uint8_t oneByte = 1;
    EXPECT_STREQ("Spot", RelCamLabelAt(0x08000004, &oneByte));

    uint32_t point = 0x00013001;
    EXPECT_STREQ("AF auto", RelCamLabelAt(0x08000005, &point));
    uint32_t iso = 0x48;
    EXPECT_STREQ("ISO 100", RelCamLabelAt(0x0800000C, &iso));
    iso = 70;
    EXPECT_STREQ("", RelCamLabelAt(0x0800000C, &iso));
    uint32_t light = 2;
    EXPECT_STREQ("", RelCamLabelAt(0x08000C00, &light));
    light = 0x10001;
    EXPECT_STREQ("On", RelCamLabelAt(0x08000C00, &light));
    EXPECT_STREQ("", RelCamLabelAt(0x08000004, nullptr));
}

TEST(OwnerNameField, CutsPadsAndReadsBackWithinThirtyTwoBytes) {
    uint8_t field[kOwnerNameFieldSize];
    std::memset(field, 0xAA, sizeof field);
    BuildOwnerNameField("Ann", field);
    EXPECT_EQ(0, std::memcmp(field, "Ann", 3));
    for (size_t i = 3; i < sizeof field; ++i) EXPECT_EQ(0, field[i]) << i;
    EXPECT_EQ("Ann", OwnerNameFromField(field));

    const std::string forty = "0123456789abcdefghijklmnopqrstuvwxyzABCD";
    BuildOwnerNameField(forty.c_str(), field);
    EXPECT_EQ(0, std::memcmp(field, forty.data(), 32));
    EXPECT_EQ(forty.substr(0, 32), OwnerNameFromField(field));

    // Exactly 32 bytes: the whole field is text, there is no room for a terminator.
    BuildOwnerNameField(forty.substr(0, 32).c_str(), field);
    EXPECT_EQ(0, std::memcmp(field, forty.data(), 32));
    EXPECT_EQ(forty.substr(0, 32), OwnerNameFromField(field));

    std::memset(field, 0xAA, sizeof field);
    BuildOwnerNameField(nullptr, field);
    for (uint8_t byte : field) EXPECT_EQ(0, byte);
    EXPECT_EQ("", OwnerNameFromField(field));
    EXPECT_EQ("", OwnerNameFromField(nullptr));
}

}  // namespace
