// Reads and writes of CSettingData against the simulated camera: argument orders as the SDK
// receives them, failures and their reports, and the guards in front of the SDK.
#include <cstring>
#include <functional>

#include "tests/common/test_support.h"
#include "tests/settings/settings_fixture.h"

namespace {

using Access = SettingsTest;

TEST_F(Access, ImageFormatTravelsQualityBeforeSize) {
    OpenCamera("ImageFormat.List=0:3,1:2,5:4,2:1\nImageFormat=5:4");
    ImageFormatPair pair{9, 9};
    ASSERT_TRUE(settings.GetSizeQualitySetting(&pair));
    EXPECT_EQ(5, pair.size);
    EXPECT_EQ(4, pair.quality);
    ASSERT_EQ(1u, CallsNamed("CDGetImageFormatAttribute").size());
    EXPECT_EQ(source, CallsNamed("CDGetImageFormatAttribute")[0].args[0]);

    Sim().SimLogClear();
    EXPECT_TRUE(settings.SetImgSizeAndQuality(1, 2));
    ImageFormatPair small{2, 1};
    EXPECT_TRUE(settings.SetSizeQualitySetting(&small));
    EXPECT_FALSE(settings.SetSizeQualitySetting(nullptr));
    auto sets = CallsNamed("CDSetImageFormatAttribute");
    ASSERT_EQ(2u, sets.size());
    EXPECT_EQ(3u, sets[0].argc);
    EXPECT_EQ((std::vector<uintptr_t>{source, 2, 1}), std::vector<uintptr_t>(sets[0].args, sets[0].args + 3));
    EXPECT_EQ((std::vector<uintptr_t>{source, 1, 2}), std::vector<uintptr_t>(sets[1].args, sets[1].args + 3));
    EXPECT_EQ(2u, SimValue("ImageSize"));
    EXPECT_EQ(1u, SimValue("ImageQuality"));
    EXPECT_TRUE(TakeReports().empty());
}

TEST_F(Access, FlashPassesItsSecondValueThrough) {
    OpenCamera("Flash.List=0,1,2,5\nFlash=5\nFlashSecond=77");
    uint16_t mode = 0;
    uint32_t second = 0;
    ASSERT_TRUE(settings.GetFlashSetting(&mode, &second));
    EXPECT_EQ(5, mode);
    EXPECT_EQ(77u, second);

    Sim().SimLogClear();
    EXPECT_TRUE(settings.SetFlashSetting(2, 255));
    auto sets = CallsNamed("CDSetFlashSetting");
    ASSERT_EQ(1u, sets.size());
    EXPECT_EQ((std::vector<uintptr_t>{source, 2, 255}), std::vector<uintptr_t>(sets[0].args, sets[0].args + 3));
    EXPECT_EQ(2u, SimValue("Flash"));
    EXPECT_EQ(255u, SimValue("FlashSecond"));
}

TEST_F(Access, EachSingleCodeSettingHasItsOwnEntries) {
    OpenCamera("WB.List=0,3,255\nWB=0\nExpComp.List=0,24,40\nExpComp=24\nAv.List=32,48\nAv=32\n"
               "Tv.List=96,104\nTv=96\nShootingMode.List=1,2,3,4,110\nShootingMode=1");
    struct Case {
        const char* key;
        const char* setEntry;
        const char* getEntry;
        std::function<BOOL(CSettingData&, uint16_t)> set;
        std::function<BOOL(CSettingData&, uint16_t*)> get;
        uint16_t value;
    };
    const Case cases[] = {
        {"WB", "CDSetWBSetting", "CDGetWBSetting", &CSettingData::SetWBSetting, &CSettingData::GetWBSetting, 255},
        {"ExpComp", "CDSetExposureComp", "CDGetExposureComp", &CSettingData::SetExpCpsSetting,
         &CSettingData::GetExpCpsSetting, 40},
        {"Av", "CDSetAvValue", "CDGetAvValue", &CSettingData::SetAvValue, &CSettingData::GetAvValue, 48},
        {"Tv", "CDSetTvValue", "CDGetTvValue", &CSettingData::SetTvValue, &CSettingData::GetTvValue, 104},
        {"ShootingMode", "CDSetShootingMode", "CDGetShootingMode", &CSettingData::SetShootingMode,
         &CSettingData::GetShootingMode, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Sim().SimLogClear();
        EXPECT_TRUE(c.set(settings, c.value));
        EXPECT_EQ(c.value, SimValue(c.key));
        uint16_t read = 0;
        EXPECT_TRUE(c.get(settings, &read));
        EXPECT_EQ(c.value, read);
        EXPECT_EQ((std::vector<std::string>{c.setEntry, c.getEntry}), CallNames());
        auto set = CallsNamed(c.setEntry);
        ASSERT_EQ(1u, set.size());
        EXPECT_EQ(source, set[0].args[0]);
        EXPECT_EQ(c.value, set[0].args[1]);
    }
    EXPECT_TRUE(TakeReports().empty());
}

TEST_F(Access, ReleaseCameraWritersSendTheFirstBytesOfTheirValue) {
    OpenCamera("RelCam.0x08000004.List=3,1,0,5\nRelCam.0x08000004.Size=1\nRelCam.0x08000004=3\n"
               "RelCam.0x08000005.List=0x3001,0x3003\nRelCam.0x0800000C.List=0,72,80\n"
               "RelCam.0x08000B00.List=0,4\nRelCam.0x08000C00.List=0,1\nRelCam.0x08000C00=0");
    struct Case {
        uint32_t id;
        BOOL (CSettingData::*set)(const void*);
        uint32_t size;
        uint32_t value;  // upper bytes the camera must not see
        uint32_t arrives;
    };
    const Case cases[] = {
        {0x08000004, &CSettingData::SetMeteringMode, 1, 0xAB000105, 5},
        {0x08000005, &CSettingData::SetAFPoint, 2, 0xAB003003, 0x3003},
        {0x0800000C, &CSettingData::SetISOSpeed, 2, 0xAB000050, 80},
        {0x08000B00, &CSettingData::SetPhotoEffect, 2, 0xAB000004, 4},
        {0x08000C00, &CSettingData::SetAFLight, 2, 0xAB000001, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        Sim().SimLogClear();
        uint32_t value = c.value;
        EXPECT_TRUE((settings.*c.set)(&value));
        EXPECT_FALSE((settings.*c.set)(nullptr));
        auto sets = CallsNamed("CDSetRelCamSettingData");
        ASSERT_EQ(1u, sets.size());
        EXPECT_EQ((std::vector<uintptr_t>{source, c.id, c.size, reinterpret_cast<uintptr_t>(&value)}),
                  std::vector<uintptr_t>(sets[0].args, sets[0].args + 4));
        ASSERT_EQ(c.size, sets[0].dataSize);
        EXPECT_EQ(0, std::memcmp(sets[0].data, &value, c.size));
        char key[32];
        wsprintfA(key, "RelCam.0x%08X", c.id);
        EXPECT_EQ(c.arrives, SimValue(key));

        uint32_t size = 4, current = 0xFFFFFFFF;
        EXPECT_TRUE(settings.GetRelCamSettingData(c.id, &size, &current));
        EXPECT_EQ(c.arrives, current & (c.size == 1 ? 0xFFu : 0xFFFFu));
    }
    uint32_t size = 4, value = 0;
    Sim().SimLogClear();
    EXPECT_FALSE(settings.GetRelCamSettingData(0x0800000C, nullptr, &value));
    EXPECT_FALSE(settings.GetRelCamSettingData(0x0800000C, &size, nullptr));
    EXPECT_FALSE(settings.SetRelCamSettingData(0x0800000C, 2, nullptr));
    EXPECT_EQ(0u, Sim().SimLogCount());
    EXPECT_TRUE(TakeReports().empty());
}

TEST_F(Access, OwnerNameReachesTheCameraAsAThirtyTwoByteField) {
    OpenCamera("Owner=Jane Doe");
    char buffer[32];
    std::memset(buffer, 0x55, sizeof buffer);
    ASSERT_TRUE(settings.GetOwnerName(buffer));
    EXPECT_STREQ("Jane Doe", buffer);
    for (size_t i = 8; i < sizeof buffer; ++i) EXPECT_EQ(0, buffer[i]) << i;
    auto reads = CallsNamed("CDGetDevicePropertyData");
    ASSERT_EQ(1u, reads.size());
    EXPECT_EQ(0x0800000Cu, reads[0].args[1]);
    EXPECT_EQ(0u, reads[0].args[4]);

    const std::string forty = "Forty characters of owner name, exactly.";
    ASSERT_EQ(40u, forty.size());
    Sim().SimLogClear();
    EXPECT_TRUE(settings.SetOwnerName(forty.c_str()));
    EXPECT_TRUE(settings.SetOwnerName("Ann"));
    EXPECT_FALSE(settings.SetOwnerName(nullptr));
    auto writes = CallsNamed("CDSetDevicePropertyData");
    ASSERT_EQ(2u, writes.size());
    EXPECT_EQ(0x0800000Cu, writes[0].args[1]);
    ASSERT_EQ(32u, writes[0].dataSize);
    EXPECT_EQ(forty.substr(0, 32), std::string(reinterpret_cast<const char*>(writes[0].data), 32));
    ASSERT_EQ(32u, writes[1].dataSize);
    uint8_t expected[32] = {'A', 'n', 'n'};
    EXPECT_EQ(0, std::memcmp(expected, writes[1].data, 32));
    char owner[64] = {};
    EXPECT_EQ(1u, Sim().SimGetSettingText("Owner", owner, sizeof owner));
    EXPECT_STREQ("Ann", owner);

    // A name that fills the field keeps all 32 bytes: no terminator takes the last one.
    EXPECT_TRUE(settings.SetOwnerName(forty.substr(0, 32).c_str()));
    std::memset(owner, 0, sizeof owner);
    EXPECT_EQ(1u, Sim().SimGetSettingText("Owner", owner, sizeof owner));
    EXPECT_EQ(forty.substr(0, 32), owner);
    EXPECT_TRUE(TakeReports().empty());
}

TEST_F(Access, CameraClockIsA32BitCalendarTime) {
    OpenCamera("Clock=1234567890");
    __time32_t clock = 0;
    ASSERT_TRUE(settings.GetCameraTime(&clock));
    EXPECT_NEAR(1234567890, clock, 2);
    auto reads = CallsNamed("CDGetDevicePropertyData");
    ASSERT_EQ(1u, reads.size());
    EXPECT_EQ(0x0800000Du, reads[0].args[1]);

    Sim().SimLogClear();
    __time32_t set = 1300000000;
    EXPECT_TRUE(settings.SetCameraTime(&set));
    auto writes = CallsNamed("CDSetDevicePropertyData");
    ASSERT_EQ(1u, writes.size());
    EXPECT_EQ(0x0800000Du, writes[0].args[1]);
    ASSERT_EQ(4u, writes[0].dataSize);
    EXPECT_EQ(0, std::memcmp(&set, writes[0].data, 4));
    ASSERT_TRUE(settings.GetCameraTime(&clock));
    EXPECT_NEAR(1300000000, clock, 2);
    EXPECT_FALSE(settings.GetCameraTime(nullptr));
    EXPECT_FALSE(settings.SetCameraTime(nullptr));
}

TEST_F(Access, IsoSpeedAndOwnerNameShareAnIdButNotAnEntry) {
    OpenCamera("RelCam.0x0800000C.List=0,72,80\nRelCam.0x0800000C=72\nOwner=Old");
    uint32_t iso = 80;
    EXPECT_TRUE(settings.SetISOSpeed(&iso));
    EXPECT_TRUE(settings.SetOwnerName("Bob"));
    EXPECT_EQ(80u, SimValue("RelCam.0x0800000C"));
    char owner[64] = {};
    Sim().SimGetSettingText("Owner", owner, sizeof owner);
    EXPECT_STREQ("Bob", owner);
    EXPECT_EQ((std::vector<std::string>{"CDSetRelCamSettingData", "CDSetDevicePropertyData"}), CallNames());
}

TEST_F(Access, MacroIsShootingMode110AndOffWritesNothing) {
    OpenCamera("ShootingMode.List=1,2,3,4,110\nShootingMode=2");
    EXPECT_EQ(TRUE, settings.SetMacro(1));
    auto sets = CallsNamed("CDSetShootingMode");
    ASSERT_EQ(1u, sets.size());
    EXPECT_EQ(110u, sets[0].args[1]);
    EXPECT_EQ(110u, SimValue("ShootingMode"));

    Sim().SimLogClear();
    EXPECT_EQ(TRUE, settings.SetMacro(0));
    EXPECT_EQ(TRUE, settings.SetMacro(2));
    EXPECT_EQ(0u, Sim().SimLogCount());
    EXPECT_EQ(110u, SimValue("ShootingMode"));

    Fault("CDSetShootingMode", 0x81, 1);
    EXPECT_EQ(TRUE, settings.SetMacro(1));
    EXPECT_EQ((std::vector<SdkReport>{{0x81, "SetShootingMode"}}), TakeReports());
    EXPECT_EQ(0x81u, settings.GetLastError());
}

TEST_F(Access, ReadsWithANullOutputFailWithoutCalling) {
    OpenCamera();
    uint16_t code = 0;
    uint32_t word = 0;
    EXPECT_FALSE(settings.GetSizeQualitySetting(nullptr));
    EXPECT_FALSE(settings.GetWBSetting(nullptr));
    EXPECT_FALSE(settings.GetExpCpsSetting(nullptr));
    EXPECT_FALSE(settings.GetFlashSetting(nullptr, &word));
    EXPECT_FALSE(settings.GetFlashSetting(&code, nullptr));
    EXPECT_FALSE(settings.GetShootingMode(nullptr));
    EXPECT_FALSE(settings.GetAvValue(nullptr));
    EXPECT_FALSE(settings.GetTvValue(nullptr));
    EXPECT_FALSE(settings.GetOwnerName(nullptr));
    EXPECT_FALSE(settings.GetCameraTime(nullptr));
    EXPECT_FALSE(settings.GetDevicePropertyData(0x0800000C, nullptr, &word));
    EXPECT_FALSE(settings.GetDevicePropertyData(0x0800000C, &word, nullptr));
    EXPECT_FALSE(settings.SetDevicePropertyData(0x0800000C, nullptr, &word));
    EXPECT_FALSE(settings.EnumWBValues(nullptr, &word));
    EXPECT_FALSE(settings.EnumWBValues(&code, nullptr));
    EXPECT_FALSE(settings.EnumSizeQualityValues(nullptr, &word));
    EXPECT_FALSE(settings.EnumRelCamSettingData(0x0800000C, nullptr, &word));
    EXPECT_EQ(0u, Sim().SimLogCount());
    EXPECT_TRUE(TakeReports().empty());
    EXPECT_TRUE(TakeShownMessages().empty());
}

struct FailingCall {
    const char* entry;
    const char* operation;
    std::function<BOOL(CSettingData&)> call;
};

TEST_F(Access, AFailedCallIsKeptAndReportedOnceUnderItsOperationsName) {
    OpenCamera("WB.List=0,1\nExpComp.List=24\nFlash.List=0,1\nAv.List=32\nAv=32\nTv.List=96\nTv=96\n"
               "ShootingMode.List=1,2\nImageFormat.List=0:3\nImageFormat=0:3\nRelCam.0x0800000C.List=72\n"
               "RelCam.0x0800000C=72");
    static uint16_t code;
    static uint32_t word;
    static ImageFormatPair pair;
    const FailingCall calls[] = {
        {"CDGetImageFormatAttribute", "GetSizeQualitySetting", [](CSettingData& s) { return s.GetSizeQualitySetting(&pair); }},
        {"CDSetImageFormatAttribute", "SetImgSizeAndQuality", [](CSettingData& s) { return s.SetImgSizeAndQuality(0, 3); }},
        {"CDSetImageFormatAttribute", "SetImgSizeAndQuality",
         [](CSettingData& s) { pair = {0, 3}; return s.SetSizeQualitySetting(&pair); }},
        {"CDGetWBSetting", "GetWBSetting", [](CSettingData& s) { return s.GetWBSetting(&code); }},
        {"CDSetWBSetting", "SetWBSetting", [](CSettingData& s) { return s.SetWBSetting(1); }},
        {"CDGetExposureComp", "GetExpCpsSetting", [](CSettingData& s) { return s.GetExpCpsSetting(&code); }},
        {"CDSetExposureComp", "SetExpCpsSetting", [](CSettingData& s) { return s.SetExpCpsSetting(24); }},
        {"CDGetFlashSetting", "GetFlashSetting", [](CSettingData& s) { return s.GetFlashSetting(&code, &word); }},
        {"CDSetFlashSetting", "SetFlashSetting", [](CSettingData& s) { return s.SetFlashSetting(1, 255); }},
        {"CDGetShootingMode", "GetShootingMode", [](CSettingData& s) { return s.GetShootingMode(&code); }},
        {"CDSetShootingMode", "SetShootingMode", [](CSettingData& s) { return s.SetShootingMode(2); }},
        {"CDGetAvValue", "GetAvValue", [](CSettingData& s) { return s.GetAvValue(&code); }},
        {"CDSetAvValue", "SetAvValue", [](CSettingData& s) { return s.SetAvValue(32); }},
        {"CDGetTvValue", "GetTvValue", [](CSettingData& s) { return s.GetTvValue(&code); }},
        {"CDSetTvValue", "SetTvValue", [](CSettingData& s) { return s.SetTvValue(96); }},
        {"CDGetRelCamSettingData", "GetRelCamSettingData",
         [](CSettingData& s) { word = 0; uint32_t size = 0; return s.GetRelCamSettingData(0x0800000C, &size, &word); }},
        {"CDSetRelCamSettingData", "SetRelCamSettingData",
         [](CSettingData& s) { word = 72; return s.SetISOSpeed(&word); }},
        {"CDSetDevicePropertyData", "SetDevicePropertyData", [](CSettingData& s) { return s.SetOwnerName("Zed"); }},
        {"CDSetDevicePropertyData", "SetDevicePropertyData",
         [](CSettingData& s) { static __time32_t t = 1300000000; return s.SetCameraTime(&t); }},
    };
    uint32_t status = 0x1000;
    for (const FailingCall& c : calls) {
        SCOPED_TRACE(c.operation);
        ++status;
        Fault(c.entry, 0xABCD0000 | status, 1);
        Sim().SimLogClear();
        EXPECT_FALSE(c.call(settings));
        EXPECT_EQ(status, settings.GetLastError());  // the low 16 bits only
        EXPECT_EQ((std::vector<SdkReport>{{status, c.operation}}), TakeReports());
        EXPECT_EQ(1u, Sim().SimLogCount());
        // The next attempt goes to the camera as usual; the last error stays.
        EXPECT_TRUE(c.call(settings));
        EXPECT_EQ(status, settings.GetLastError());
        EXPECT_TRUE(TakeReports().empty());
    }
    // Only the low 16 bits decide.
    Fault("CDSetWBSetting", 0x00010000, 1);
    EXPECT_TRUE(settings.SetWBSetting(1));
    EXPECT_TRUE(TakeReports().empty());
}

TEST_F(Access, DevicePropertyReadsFailSilently) {
    OpenCamera("Owner=Jane\nClock=1234567890");
    Fault("CDGetDevicePropertyData", 0x80);
    char buffer[32];
    std::memset(buffer, 0x55, sizeof buffer);
    EXPECT_FALSE(settings.GetOwnerName(buffer));
    for (char byte : buffer) EXPECT_EQ(0, byte);
    EXPECT_EQ(0x80u, settings.GetLastError());
    __time32_t clock = 7;
    EXPECT_FALSE(settings.GetCameraTime(&clock));
    uint32_t size = 4, data = 0;
    EXPECT_FALSE(settings.GetDevicePropertyData(0x0800000D, &size, &data));
    EXPECT_TRUE(TakeReports().empty());
    EXPECT_TRUE(TakeShownMessages().empty());
}

TEST_F(Access, NothingReachesTheSdkWhileItIsNotLoaded) {
    // Keep the simulator alive to read its log while the loader has let it go.
    HMODULE held = LoadLibraryA((test_support::ExeFolder() + "\\CDSDK.dll").c_str());
    ASSERT_NE(nullptr, held);
    Sim().SimLogClear();
    UnloadSdk();
    HWND combo = NewCombo();
    uint16_t code = 0;
    uint32_t word = 4, values[40] = {};
    ImageFormatPair pair{};
    __time32_t clock = 0;
    char owner[32];
    EXPECT_FALSE(settings.GetWBSetting(&code));
    EXPECT_FALSE(settings.SetWBSetting(1));
    EXPECT_FALSE(settings.GetSizeQualitySetting(&pair));
    EXPECT_FALSE(settings.SetImgSizeAndQuality(0, 3));
    EXPECT_FALSE(settings.SetFlashSetting(1, 255));
    EXPECT_FALSE(settings.SetShootingMode(1));
    EXPECT_FALSE(settings.GetTvValue(&code));
    EXPECT_FALSE(settings.SetISOSpeed(&word));
    EXPECT_FALSE(settings.GetRelCamSettingData(0x0800000C, &word, values));
    EXPECT_FALSE(settings.GetOwnerName(owner));
    EXPECT_FALSE(settings.SetOwnerName("x"));
    EXPECT_FALSE(settings.GetCameraTime(&clock));
    EXPECT_FALSE(settings.EnumWBValues(&code, &word, 1));
    EXPECT_FALSE(settings.EnumSizeQualityValues(&pair, &word, 1));
    EXPECT_FALSE(settings.EnumRelCamSettingData(0x0800000C, values, &word));
    EXPECT_EQ(0u, word);
    EXPECT_FALSE(settings.InitWBCombo(combo));
    EXPECT_FALSE(settings.InitTvCombo(combo));
    EXPECT_FALSE(settings.InitISOCombo(combo));
    EXPECT_FALSE(settings.InitMacroCombo(combo));
    EXPECT_FALSE(settings.InitSizeQualityCombo(combo));
    EXPECT_EQ(TRUE, settings.SetMacro(1));
    EXPECT_EQ(0u, Sim().SimLogCount());
    EXPECT_TRUE(TakeReports().empty());
    EXPECT_EQ(0u, settings.GetLastError());

    ASSERT_EQ(0, LoadSdk(test_support::ExeFolder().c_str()));
    FreeLibrary(held);
    ASSERT_TRUE(Sim().Load(SdkModule()));
}

}  // namespace

namespace {

TEST(SettingLabels, LabelFunctionsSetEveryTextTheyAreGiven) {
    std::string text = "stale";
    EXPECT_EQ(TRUE, CSettingData::GetWBString(7, text));
    EXPECT_EQ("", text);
    EXPECT_EQ(TRUE, CSettingData::GetExpCpsString(24, text));
    EXPECT_EQ("0", text);
    EXPECT_EQ(TRUE, CSettingData::GetFlashString(6, text));
    EXPECT_EQ("On (Red eye)", text);
    EXPECT_EQ(TRUE, CSettingData::GetAvString(0, text));
    EXPECT_EQ("No Lens", text);
    EXPECT_EQ(TRUE, CSettingData::GetTvString(91, text));
    EXPECT_EQ("", text);
    EXPECT_EQ(TRUE, CSettingData::GetISOString(0, text));
    EXPECT_EQ("ISO Auto", text);
    uint32_t value = 0x3003;
    EXPECT_EQ(TRUE, CSettingData::GetRelCamSettingString(0x08000005, &value, text));
    EXPECT_EQ("AF center", text);
    EXPECT_FALSE(CSettingData::GetRelCamSettingString(0x08000005, nullptr, text));
    uint32_t capacity = 99;
    EXPECT_TRUE(CSettingData::GetRelCamSettingMaxCount(0x08000B00, &capacity));
    EXPECT_EQ(10u, capacity);
    EXPECT_FALSE(CSettingData::GetRelCamSettingMaxCount(0x0800000D, &capacity));
    EXPECT_EQ(0u, capacity);
    EXPECT_FALSE(CSettingData::GetRelCamSettingMaxCount(0x08000B00, nullptr));

    char buffer[260];
    EXPECT_TRUE(CSettingData::GetSizeString(6, buffer, sizeof buffer));
    EXPECT_STREQ("Medium2", buffer);
    EXPECT_TRUE(CSettingData::GetQualityString(0, buffer, sizeof buffer));
    EXPECT_STREQ("", buffer);
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_TRUE(CSettingData::GetQualityString(5, small, sizeof small));
    EXPECT_STREQ("Sup", small);
    EXPECT_FALSE(CSettingData::GetSizeString(0, nullptr, 260));
    EXPECT_FALSE(CSettingData::GetSizeString(0, buffer, 0));
}

}  // namespace
