// The enumeration protocols: order of the SDK calls, what each failing step leaves behind, and
// cameras that offer more values than the caller has room for.
#include <algorithm>

#include "tests/settings/settings_fixture.h"

namespace {

using Enumeration = SettingsTest;
// Runs one enumeration into `values` (room for `capacity` and a guard after it) as 32-bit values.
using Enumerate = BOOL (*)(CSettingData&, uint32_t* values, uint32_t* count, uint32_t capacity);

template <BOOL (CSettingData::*E)(uint16_t*, uint32_t*, uint32_t)>
BOOL Codes(CSettingData& s, uint32_t* values, uint32_t* count, uint32_t capacity) {
    std::vector<uint16_t> codes(values, values + capacity + 1);
    BOOL result = (s.*E)(codes.data(), count, capacity);
    std::copy(codes.begin(), codes.end(), values);
    return result;
}
// Pairs come back as size << 16 | quality.
BOOL Formats(CSettingData& s, uint32_t* values, uint32_t* count, uint32_t capacity) {
    std::vector<ImageFormatPair> pairs(capacity + 1, ImageFormatPair{0, static_cast<uint16_t>(values[capacity])});
    BOOL result = s.EnumSizeQualityValues(pairs.data(), count, capacity);
    for (uint32_t i = 0; i <= capacity; ++i) values[i] = static_cast<uint32_t>(pairs[i].size) << 16 | pairs[i].quality;
    return result;
}
BOOL Iso(CSettingData& s, uint32_t* values, uint32_t* count, uint32_t capacity) {
    return s.EnumRelCamSettingData(0x0800000C, values, count, capacity);
}

// The SDK names the four steps of each enumeration after one stem: CDEnum<stem>Reset, ...
const struct {
    std::string list;  // simulator keys listing 2, 0, 5
    const char* operation;
    std::string stem;
    Enumerate enumerate;
    bool countReported = true, releaseMatters = true;
} kEnumerations[] = {
    {"WB.List=2,0,5", "EnumWBValues", "WBSetting", Codes<&CSettingData::EnumWBValues>},
    {"ExpComp.List=2,0,5", "EnumExpCpsValues", "ExposureComp", Codes<&CSettingData::EnumExpCpsValues>},
    {"Flash.List=2,0,5", "EnumFlashValues", "FlashSetting", Codes<&CSettingData::EnumFlashValues>},
    {"Av.List=2,0,5", "EnumAvValues", "AvValue", Codes<&CSettingData::EnumAvValues>},
    {"Tv.List=2,0,5", "EnumTvValues", "TvValue", Codes<&CSettingData::EnumTvValues>},
    {"ImageFormat.List=0:2,0:0,0:5", "EnumSizeQualityValues", "ImageFormatAttribute", Formats, true, false},
    {"RelCam.0x0800000C.List=2,0,5", "EnumRelCamSettingData", "RelCamSettingData", Iso, false, true},
};

TEST_F(Enumeration, ResetNextCountReleaseAndEachFailingStepLeavesItsOwnState) {
    for (const auto& e : kEnumerations) {
        SCOPED_TRACE(e.operation);
        const std::string reset = "CDEnum" + e.stem + "Reset", next = "CDEnum" + e.stem + "Next",
                          counter = "CDGet" + e.stem + "Count", release = "CDEnum" + e.stem + "Release";
        OpenCamera(e.list);
        uint32_t values[13] = {}, count = 99, lastError = settings.GetLastError();
        EXPECT_TRUE(e.enumerate(settings, values, &count, 12));
        EXPECT_EQ(3u, count);
        EXPECT_EQ((std::vector<uint32_t>{2, 0, 5}), std::vector<uint32_t>(values, values + 3));
        // The fourth Next ends the list; its status is neither kept nor reported.
        ASSERT_EQ(reset + " " + next + " " + next + " " + next + " " + next + " " + counter + " " + release, CallLog());
        EXPECT_EQ(lastError, settings.GetLastError());
        EXPECT_TRUE(TakeReports().empty());

        // Room for two: Next is not asked for a third, nothing lands past the room, and the
        // camera's count is cut to it.
        Sim().SimLogClear();
        uint32_t roomForTwo[3] = {0, 0, 0xBEEF};
        EXPECT_TRUE(e.enumerate(settings, roomForTwo, &count, 2));
        EXPECT_EQ((std::vector<uint32_t>{2, 0, 0xBEEF}), std::vector<uint32_t>(roomForTwo, roomForTwo + 3));
        EXPECT_EQ(2u, count);
        EXPECT_EQ(2u, Calls(next.c_str()).size());

        for (const std::string& step : {reset, counter, release}) {
            SCOPED_TRACE(step);
            Sim().SimLogClear();
            std::fill(std::begin(values), std::end(values), 0);
            count = 99;
            Fault(step.c_str(), 0x61);
            bool ignored = step == release && !e.releaseMatters, unreported = step == counter && !e.countReported;
            EXPECT_EQ(ignored, e.enumerate(settings, values, &count, 12) != FALSE);
            std::vector<SdkReport> reports;
            if (!ignored && !unreported) reports.emplace_back(0x61, e.operation);
            EXPECT_EQ(reports, TakeReports());
            EXPECT_EQ(0x61u, settings.GetLastError());
            // Nothing follows a failed reset, a failed count is not released, and only a failed
            // release keeps the count.
            EXPECT_EQ(step == reset, Calls(next.c_str()).empty());
            EXPECT_EQ(step == release ? 1u : 0u, Calls(release.c_str()).size());
            EXPECT_EQ(step == release ? 3u : 0u, count);
            EXPECT_EQ(step == reset ? 0u : 5u, values[2]);
        }
        CloseCamera();
    }
}

// Each Next is asked for the element size Reset gave; values of each width arrive whole.
TEST_F(Enumeration, ReleaseCameraValuesComeInTheirElementSize) {
    OpenCamera("RelCam.0x08000004.List=3,1,0\nRelCam.0x08000004.Size=1\n"
               "RelCam.0x08000B00.List=0x00010048,72\nRelCam.0x08000B00.Size=4");
    uint32_t values[10], count = 0;
    EXPECT_TRUE(settings.EnumRelCamSettingData(0x08000004, values, &count));
    EXPECT_EQ((std::vector<uint32_t>{3, 1, 0}), std::vector<uint32_t>(values, values + count));
    EXPECT_EQ(1u, Calls("CDEnumRelCamSettingDataNext")[0].args[1]);
    EXPECT_TRUE(settings.EnumRelCamSettingData(0x08000B00, values, &count));
    EXPECT_EQ((std::vector<uint32_t>{0x00010048, 72}), std::vector<uint32_t>(values, values + count));
}

}  // namespace
