// The enumeration protocols: order of the SDK calls, what each failing step leaves behind, and
// cameras that offer more values than the caller has room for.
#include <algorithm>

#include "tests/settings/settings_fixture.h"

namespace {

using Enumeration = SettingsTest;

const struct CodeEnumeration {
    const char* key;  // of the simulator's list
    const char* operation;
    const char* reset;
    const char* next;
    const char* count;
    const char* release;
    BOOL (CSettingData::*enumerate)(uint16_t*, uint32_t*, uint32_t);
    uint32_t capacity;
} kCodeEnumerations[] = {
    {"WB", "EnumWBValues", "CDEnumWBSettingReset", "CDEnumWBSettingNext", "CDGetWBSettingCount",
     "CDEnumWBSettingRelease", &CSettingData::EnumWBValues, 12},
    {"ExpComp", "EnumExpCpsValues", "CDEnumExposureCompReset", "CDEnumExposureCompNext", "CDGetExposureCompCount",
     "CDEnumExposureCompRelease", &CSettingData::EnumExpCpsValues, 30},
    {"Flash", "EnumFlashValues", "CDEnumFlashSettingReset", "CDEnumFlashSettingNext", "CDGetFlashSettingCount",
     "CDEnumFlashSettingRelease", &CSettingData::EnumFlashValues, 10},
    {"Av", "EnumAvValues", "CDEnumAvValueReset", "CDEnumAvValueNext", "CDGetAvValueCount", "CDEnumAvValueRelease",
     &CSettingData::EnumAvValues, 60},
    {"Tv", "EnumTvValues", "CDEnumTvValueReset", "CDEnumTvValueNext", "CDGetTvValueCount", "CDEnumTvValueRelease",
     &CSettingData::EnumTvValues, 80},
};

TEST_F(Enumeration, CodesFollowResetNextCountReleaseAndEachFailingStepLeavesItsOwnState) {
    for (const CodeEnumeration& e : kCodeEnumerations) {
        SCOPED_TRACE(e.operation);
        OpenCamera(std::string(e.key) + ".List=2,0,5");
        uint16_t values[12] = {};
        uint32_t count = 99, lastError = settings.GetLastError();
        EXPECT_TRUE((settings.*e.enumerate)(values, &count, 12));
        EXPECT_EQ(3u, count);
        EXPECT_EQ((std::vector<uint16_t>{2, 0, 5}), std::vector<uint16_t>(values, values + 3));
        // The fourth Next ends the list; its status is neither kept nor reported.
        ASSERT_EQ((std::vector<std::string>{e.reset, e.next, e.next, e.next, e.next, e.count, e.release}), CallNames());
        EXPECT_EQ(source, Calls(e.reset)[0].args[0]);
        EXPECT_EQ(lastError, settings.GetLastError());
        EXPECT_TRUE(TakeReports().empty());

        for (const char* step : {e.reset, e.count, e.release}) {
            Sim().SimLogClear();
            std::fill(std::begin(values), std::end(values), 0);
            count = 99;
            Fault(step, 0x61);
            EXPECT_FALSE((settings.*e.enumerate)(values, &count, 12)) << step;
            EXPECT_EQ((std::vector<SdkReport>{{0x61, e.operation}}), TakeReports()) << step;
            EXPECT_EQ(0x61u, settings.GetLastError());
            // Nothing follows a failed reset, a failed count is not released, and only a failed
            // release keeps the count.
            EXPECT_EQ(step == e.reset, Calls(e.next).empty()) << step;
            EXPECT_EQ(step == e.release ? 1u : 0u, Calls(e.release).size()) << step;
            EXPECT_EQ(step == e.release ? 3u : 0u, count) << step;
            EXPECT_EQ(step == e.reset ? 0 : 5, values[2]) << step;
        }
        CloseCamera();
    }
}

TEST_F(Enumeration, NeverAsksOrWritesPastTheCapacityWhateverTheCameraCounts) {
    constexpr uint16_t kGuard = 0xBEEF;
    for (const CodeEnumeration& e : kCodeEnumerations) {
        for (const char* countKey : {"", ".Count=1000"}) {
            SCOPED_TRACE(std::string(e.operation) + countKey);
            OpenCamera(std::string(e.key) + ".List=" + CodeList(100, e.capacity + 7) + "\n" + (*countKey ? e.key : "") +
                       countKey);
            std::vector<uint16_t> values(e.capacity + 8, kGuard);
            uint32_t count = 0;
            EXPECT_TRUE((settings.*e.enumerate)(values.data(), &count, e.capacity));
            EXPECT_EQ(e.capacity, count);
            for (uint32_t i = 0; i < e.capacity; ++i) ASSERT_EQ(100 + i, values[i]) << i;
            for (size_t i = e.capacity; i < values.size(); ++i) ASSERT_EQ(kGuard, values[i]) << i;
            EXPECT_EQ(e.capacity, Calls(e.next).size());
            CloseCamera();
        }
    }
    // Below the capacity the count is the camera's, not the number of values delivered.
    OpenCamera("WB.List=1,2,3\nWB.Count=5");
    uint16_t wb[12] = {};
    uint32_t count = 0;
    EXPECT_TRUE(settings.EnumWBValues(wb, &count));
    EXPECT_EQ(5u, count);
    EXPECT_EQ((std::vector<uint16_t>{1, 2, 3, 0, 0}), std::vector<uint16_t>(wb, wb + 5));
}

TEST_F(Enumeration, ImageFormatsArePairsOfSizeThenQualityUpToTwenty) {
    std::string list;  // 26 pairs, size i % 3 and quality 1 + i / 3
    for (int i = 0; i < 26; ++i) list += (i ? "," : "") + std::to_string(i % 3) + ":" + std::to_string(1 + i / 3);
    OpenCamera("ImageFormat.List=" + list + "\nImageFormat.Count=300");
    ImageFormatPair pairs[24];
    std::fill(std::begin(pairs), std::end(pairs), ImageFormatPair{0xBEEF, 0xBEEF});
    uint32_t count = 0;
    EXPECT_TRUE(settings.EnumSizeQualityValues(pairs, &count));
    EXPECT_EQ(20u, count);
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(i < 20 ? i % 3 : 0xBEEF, pairs[i].size) << i;
        EXPECT_EQ(i < 20 ? 1 + i / 3 : 0xBEEF, pairs[i].quality) << i;
    }
    EXPECT_EQ(20u, Calls("CDEnumImageFormatAttributeNext").size());

    Fault("CDEnumImageFormatAttributeReset");
    EXPECT_FALSE(settings.EnumSizeQualityValues(pairs, &count));
    EXPECT_EQ(0u, count);
    Sim().SimLogClear();
    Fault("CDGetImageFormatAttributeCount", 0x61);
    EXPECT_FALSE(settings.EnumSizeQualityValues(pairs, &count));
    EXPECT_TRUE(Calls("CDEnumImageFormatAttributeRelease").empty());
    EXPECT_EQ((std::vector<SdkReport>{{0x80, "EnumSizeQualityValues"}, {0x61, "EnumSizeQualityValues"}}),
              TakeReports());
    // The release's result does not matter.
    Fault("CDEnumImageFormatAttributeRelease", 0x62);
    EXPECT_TRUE(settings.EnumSizeQualityValues(pairs, &count));
    EXPECT_EQ(20u, count);
    EXPECT_TRUE(TakeReports().empty());
    EXPECT_EQ(0x61u, settings.GetLastError());
}

TEST_F(Enumeration, ReleaseCameraValuesAreWidenedFromTheirElementSizeUpToTheCapacity) {
    OpenCamera("RelCam.0x08000004.List=3,1,0\nRelCam.0x08000004.Size=1\n"
               "RelCam.0x08000005.List=0x3001,0x3004\nRelCam.0x08000005.Size=2\n"
               "RelCam.0x08000B00.List=0x00010048,72\nRelCam.0x08000B00.Size=4\n"
               "RelCam.0x0800000C.List=" + CodeList(0, 40) + "\nRelCam.0x08000C00.List=0,1");
    uint32_t values[44];
    std::fill(std::begin(values), std::end(values), 0xFFFFFFFF);
    uint32_t count = 0;
    EXPECT_TRUE(settings.EnumRelCamSettingData(0x08000004, values, &count));
    EXPECT_EQ((std::vector<uint32_t>{3, 1, 0, 0xFFFFFFFF}), std::vector<uint32_t>(values, values + 4));
    EXPECT_EQ((std::vector<uintptr_t>{source, 0x08000004}), Args(Calls("CDEnumRelCamSettingDataReset")[0], 2));
    for (const SimCall& next : Calls("CDEnumRelCamSettingDataNext")) EXPECT_EQ(1u, next.args[1]);
    EXPECT_TRUE(settings.EnumRelCamSettingData(0x08000005, values, &count));
    EXPECT_EQ((std::vector<uint32_t>{0x3001, 0x3004}), std::vector<uint32_t>(values, values + count));
    EXPECT_TRUE(settings.EnumRelCamSettingData(0x08000B00, values, &count));
    EXPECT_EQ((std::vector<uint32_t>{0x00010048, 72}), std::vector<uint32_t>(values, values + count));
    std::fill(std::begin(values), std::end(values), 0xBEEF);
    EXPECT_TRUE(settings.EnumRelCamSettingData(0x0800000C, values, &count));
    EXPECT_EQ(36u, count);
    EXPECT_EQ(35u, values[35]);
    EXPECT_EQ(0xBEEFu, values[36]);
    EXPECT_TRUE(TakeReports().empty());

    Fault("CDEnumRelCamSettingDataReset");
    EXPECT_FALSE(settings.EnumRelCamSettingData(0x08000C00, values, &count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ((std::vector<SdkReport>{{0x80, "EnumRelCamSettingData"}}), TakeReports());
    // A failed count is kept but not reported, and the enumeration is not released.
    Sim().SimLogClear();
    Fault("CDGetRelCamSettingDataCount", 0x61);
    EXPECT_FALSE(settings.EnumRelCamSettingData(0x08000C00, values, &count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ(0x61u, settings.GetLastError());
    EXPECT_TRUE(TakeReports().empty());
    EXPECT_TRUE(Calls("CDEnumRelCamSettingDataRelease").empty());
    Fault("CDEnumRelCamSettingDataRelease", 0x62);
    EXPECT_FALSE(settings.EnumRelCamSettingData(0x08000C00, values, &count));
    EXPECT_EQ(2u, count);
    EXPECT_EQ((std::vector<SdkReport>{{0x62, "EnumRelCamSettingData"}}), TakeReports());
}

}  // namespace
