// The enumeration protocols: order of the SDK calls, what each failure leaves behind, and
// cameras that offer more values than the model has room for.
#include <algorithm>

#include "tests/settings/settings_fixture.h"

namespace {

using Enumeration = SettingsTest;

struct CodeEnumeration {
    const char* key;  // configuration key of the list
    const char* operation;
    const char* reset;
    const char* next;
    const char* count;
    const char* release;
    BOOL (CSettingData::*enumerate)(uint16_t*, uint32_t*, uint32_t);
    uint32_t capacity;
};

const CodeEnumeration kCodeEnumerations[] = {
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

constexpr uint16_t kGuard = 0xBEEF;

TEST_F(Enumeration, CodesComeInTheCamerasOrderThroughResetNextCountRelease) {
    for (const CodeEnumeration& e : kCodeEnumerations) {
        SCOPED_TRACE(e.operation);
        OpenCamera(std::string(e.key) + ".List=2,0,5\n" + e.key + "=2");
        uint16_t values[12] = {};
        uint32_t count = 99;
        EXPECT_TRUE((settings.*e.enumerate)(values, &count, 12));
        EXPECT_EQ(3u, count);
        EXPECT_EQ((std::vector<uint16_t>{2, 0, 5}), std::vector<uint16_t>(values, values + 3));
        // The fourth Next ends the list; its status is neither kept nor reported.
        EXPECT_EQ((std::vector<std::string>{e.reset, e.next, e.next, e.next, e.next, e.count, e.release}),
                  CallNames());
        EXPECT_EQ(source, CallsNamed(e.reset)[0].args[0]);
        EXPECT_EQ(0u, settings.GetLastError());
        EXPECT_TRUE(TakeReports().empty());
        CloseCamera();
    }
}

TEST_F(Enumeration, EachFailingStepLeavesItsOwnState) {
    for (const CodeEnumeration& e : kCodeEnumerations) {
        SCOPED_TRACE(e.operation);
        OpenCamera(std::string(e.key) + ".List=2,0,5");
        uint16_t values[12] = {};
        uint32_t count = 99;

        Fault(e.reset, 0x80, 1);
        EXPECT_FALSE((settings.*e.enumerate)(values, &count, 12));
        EXPECT_EQ(0u, count);
        EXPECT_EQ((std::vector<std::string>{e.reset}), CallNames());
        EXPECT_EQ((std::vector<SdkReport>{{0x80, e.operation}}), TakeReports());
        EXPECT_EQ(0x80u, settings.GetLastError());

        // A failed count is not followed by Release.
        Sim().SimLogClear();
        count = 99;
        Fault(e.count, 0x61, 1);
        EXPECT_FALSE((settings.*e.enumerate)(values, &count, 12));
        EXPECT_EQ(0u, count);
        EXPECT_TRUE(CallsNamed(e.release).empty());
        EXPECT_EQ((std::vector<SdkReport>{{0x61, e.operation}}), TakeReports());

        // A failed release keeps the values and the count.
        std::fill(std::begin(values), std::end(values), 0);
        Fault(e.release, 0x62, 1);
        EXPECT_FALSE((settings.*e.enumerate)(values, &count, 12));
        EXPECT_EQ(3u, count);
        EXPECT_EQ((std::vector<uint16_t>{2, 0, 5}), std::vector<uint16_t>(values, values + 3));
        EXPECT_EQ((std::vector<SdkReport>{{0x62, e.operation}}), TakeReports());
        EXPECT_EQ(0x62u, settings.GetLastError());
        CloseCamera();
    }
}

TEST_F(Enumeration, NeverWritesPastTheCapacityWhateverTheCameraReports) {
    for (const CodeEnumeration& e : kCodeEnumerations) {
        SCOPED_TRACE(e.operation);
        for (const char* countKey : {"", ".Count=1000"}) {
            std::string keys = std::string(e.key) + ".List=" + CodeList(100, e.capacity + 7);
            if (*countKey) keys += std::string("\n") + e.key + countKey;
            OpenCamera(keys);
            std::vector<uint16_t> values(e.capacity + 8, kGuard);
            uint32_t count = 0;
            EXPECT_TRUE((settings.*e.enumerate)(values.data(), &count, e.capacity));
            EXPECT_EQ(e.capacity, count);
            for (uint32_t i = 0; i < e.capacity; ++i) ASSERT_EQ(100 + i, values[i]) << i;
            for (size_t i = e.capacity; i < values.size(); ++i) ASSERT_EQ(kGuard, values[i]) << i;
            // Next is not asked for values that have nowhere to go.
            EXPECT_EQ(e.capacity, CallsNamed(e.next).size());
            EXPECT_EQ(1u, CallsNamed(e.release).size());
            CloseCamera();
        }
    }
}

TEST_F(Enumeration, TheCountIsTheCamerasNotTheNumberOfValuesDelivered) {
    OpenCamera("WB.List=1,2,3\nWB.Count=5\nTv.List=96,104,112\nTv.Count=1");
    uint16_t wb[12] = {};
    uint32_t count = 0;
    EXPECT_TRUE(settings.EnumWBValues(wb, &count));
    EXPECT_EQ(5u, count);
    EXPECT_EQ((std::vector<uint16_t>{1, 2, 3, 0, 0}), std::vector<uint16_t>(wb, wb + 5));
    uint16_t tv[80] = {};
    EXPECT_TRUE(settings.EnumTvValues(tv, &count));
    EXPECT_EQ(1u, count);
}

TEST_F(Enumeration, ImageFormatsArePairsOfSizeThenQuality) {
    OpenCamera("ImageFormat.List=0:3,5:1,3:3\nImageFormat=0:3");
    ImageFormatPair pairs[20] = {};
    uint32_t count = 99;
    EXPECT_TRUE(settings.EnumSizeQualityValues(pairs, &count));
    ASSERT_EQ(3u, count);
    EXPECT_EQ(0, pairs[0].size);
    EXPECT_EQ(3, pairs[0].quality);
    EXPECT_EQ(5, pairs[1].size);
    EXPECT_EQ(1, pairs[1].quality);
    EXPECT_EQ(3, pairs[2].size);
    EXPECT_EQ(3, pairs[2].quality);
    EXPECT_EQ((std::vector<std::string>{"CDEnumImageFormatAttributeReset", "CDEnumImageFormatAttributeNext",
                                        "CDEnumImageFormatAttributeNext", "CDEnumImageFormatAttributeNext",
                                        "CDEnumImageFormatAttributeNext", "CDGetImageFormatAttributeCount",
                                        "CDEnumImageFormatAttributeRelease"}),
              CallNames());

    Fault("CDEnumImageFormatAttributeReset", 0x80, 1);
    EXPECT_FALSE(settings.EnumSizeQualityValues(pairs, &count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ((std::vector<SdkReport>{{0x80, "EnumSizeQualityValues"}}), TakeReports());

    Sim().SimLogClear();
    Fault("CDGetImageFormatAttributeCount", 0x61, 1);
    EXPECT_FALSE(settings.EnumSizeQualityValues(pairs, &count));
    EXPECT_EQ(0u, count);
    EXPECT_TRUE(CallsNamed("CDEnumImageFormatAttributeRelease").empty());
    EXPECT_EQ((std::vector<SdkReport>{{0x61, "EnumSizeQualityValues"}}), TakeReports());

    // The release's result does not matter.
    Fault("CDEnumImageFormatAttributeRelease", 0x62, 1);
    EXPECT_TRUE(settings.EnumSizeQualityValues(pairs, &count));
    EXPECT_EQ(3u, count);
    EXPECT_TRUE(TakeReports().empty());
    EXPECT_EQ(0x61u, settings.GetLastError());
}

TEST_F(Enumeration, ImageFormatsStopAtTwentyPairs) {
    std::string list;
    for (int i = 0; i < 26; ++i) list += (i ? "," : "") + std::to_string(i % 3) + ":" + std::to_string(1 + i / 3);
    OpenCamera("ImageFormat.List=" + list + "\nImageFormat.Count=300");
    ImageFormatPair pairs[24];
    std::fill(std::begin(pairs), std::end(pairs), ImageFormatPair{0xBEEF, 0xBEEF});
    uint32_t count = 0;
    EXPECT_TRUE(settings.EnumSizeQualityValues(pairs, &count));
    EXPECT_EQ(20u, count);
    EXPECT_EQ(1, pairs[19].size);
    EXPECT_EQ(7, pairs[19].quality);
    for (int i = 20; i < 24; ++i) EXPECT_EQ(0xBEEF, pairs[i].size) << i;
}

TEST_F(Enumeration, ReleaseCameraValuesAreWidenedFromTheirElementSize) {
    OpenCamera("RelCam.0x08000004.List=3,1,0\nRelCam.0x08000004.Size=1\n"
               "RelCam.0x08000005.List=0x3001,0x3004\nRelCam.0x08000005.Size=2\n"
               "RelCam.0x0800000C.List=0x00010048,72\nRelCam.0x0800000C.Size=4");
    uint32_t values[36];
    uint32_t count = 0;
    std::fill(std::begin(values), std::end(values), 0xFFFFFFFF);
    EXPECT_TRUE(settings.EnumRelCamSettingData(0x08000004, values, &count));
    EXPECT_EQ(3u, count);
    EXPECT_EQ((std::vector<uint32_t>{3, 1, 0}), std::vector<uint32_t>(values, values + 3));
    EXPECT_EQ(0xFFFFFFFFu, values[3]);
    auto reset = CallsNamed("CDEnumRelCamSettingDataReset");
    ASSERT_EQ(1u, reset.size());
    EXPECT_EQ(source, reset[0].args[0]);
    EXPECT_EQ(0x08000004u, reset[0].args[1]);
    for (const SimCall& next : CallsNamed("CDEnumRelCamSettingDataNext")) EXPECT_EQ(1u, next.args[1]);

    EXPECT_TRUE(settings.EnumRelCamSettingData(0x08000005, values, &count));
    EXPECT_EQ((std::vector<uint32_t>{0x3001, 0x3004}), std::vector<uint32_t>(values, values + count));
    EXPECT_TRUE(settings.EnumRelCamSettingData(0x0800000C, values, &count));
    EXPECT_EQ((std::vector<uint32_t>{0x00010048, 72}), std::vector<uint32_t>(values, values + count));
    EXPECT_TRUE(TakeReports().empty());
}

TEST_F(Enumeration, ReleaseCameraFailuresAndCapacity) {
    OpenCamera("RelCam.0x0800000C.List=" + CodeList(0, 40) + "\nRelCam.0x08000C00.List=0,1");
    uint32_t values[44];
    uint32_t count = 99;

    Fault("CDEnumRelCamSettingDataReset", 0x80, 1);
    EXPECT_FALSE(settings.EnumRelCamSettingData(0x08000C00, values, &count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ((std::vector<SdkReport>{{0x80, "EnumRelCamSettingData"}}), TakeReports());

    // A failed count is kept but not reported, and the enumeration is not released.
    Sim().SimLogClear();
    count = 99;
    Fault("CDGetRelCamSettingDataCount", 0x61, 1);
    EXPECT_FALSE(settings.EnumRelCamSettingData(0x08000C00, values, &count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ(0x61u, settings.GetLastError());
    EXPECT_TRUE(TakeReports().empty());
    EXPECT_TRUE(CallsNamed("CDEnumRelCamSettingDataRelease").empty());

    Fault("CDEnumRelCamSettingDataRelease", 0x62, 1);
    EXPECT_FALSE(settings.EnumRelCamSettingData(0x08000C00, values, &count));
    EXPECT_EQ(2u, count);
    EXPECT_EQ((std::vector<SdkReport>{{0x62, "EnumRelCamSettingData"}}), TakeReports());

    std::fill(std::begin(values), std::end(values), 0xBEEF);
    EXPECT_TRUE(settings.EnumRelCamSettingData(0x0800000C, values, &count));
    EXPECT_EQ(36u, count);
    EXPECT_EQ(35u, values[35]);
    for (int i = 36; i < 44; ++i) EXPECT_EQ(0xBEEFu, values[i]) << i;
}

}  // namespace
