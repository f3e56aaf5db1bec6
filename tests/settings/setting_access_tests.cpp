// Reads and writes of CSettingData against the simulated camera: arguments as the SDK receives
// them, failures and their reports, and the guards in front of the SDK.
#include <cstring>

#include "tests/settings/settings_fixture.h"

namespace {

using Access = SettingsTest;

TEST_F(Access, ImageFormatTravelsQualityBeforeSizeAndFlashWithItsSecondValue) {
    OpenCamera("ImageFormat.List=0:3,1:2,5:4,2:1\nImageFormat=5:4\nFlash.List=0,1,2,5\nFlash=5\nFlashSecond=77");
    ImageFormatPair pair{9, 9};
    ASSERT_TRUE(settings.GetSizeQualitySetting(&pair));
    EXPECT_EQ(5, pair.size);
    EXPECT_EQ(4, pair.quality);
    uint16_t mode = 0;
    uint32_t second = 0;
    ASSERT_TRUE(settings.GetFlashSetting(&mode, &second));
    EXPECT_EQ(5, mode);
    EXPECT_EQ(77u, second);

    Sim().SimLogClear();
    ImageFormatPair small{2, 1};
    EXPECT_TRUE(settings.SetImgSizeAndQuality(1, 2));
    EXPECT_TRUE(settings.SetSizeQualitySetting(&small));
    EXPECT_TRUE(settings.SetFlashSetting(2, 255));
    EXPECT_EQ((std::vector<std::string>{"CDSetImageFormatAttribute", "CDSetImageFormatAttribute", "CDSetFlashSetting"}),
              CallNames());
    std::vector<std::vector<uintptr_t>> args;
    for (const SimCall& call : Calls()) args.push_back(Args(call, call.argc));
    EXPECT_EQ((std::vector<std::vector<uintptr_t>>{{source, 2, 1}, {source, 1, 2}, {source, 2, 255}}), args);
    EXPECT_EQ(2u, SimValue("ImageSize"));
    EXPECT_EQ(1u, SimValue("ImageQuality"));
    EXPECT_EQ(255u, SimValue("FlashSecond"));
}

// The writers pass the caller's own address; the camera takes the first 1 or 2 bytes there.
TEST_F(Access, ReleaseCameraWritersSendTheFirstBytesAtTheirAddress) {
    OpenCamera("RelCam.0x08000004.List=3,1,0,5");
    const struct {
        uint32_t id;
        BOOL (CSettingData::*set)(const void*);
        uint32_t size, value, arrives;  // the value's upper bytes must not reach the camera
    } cases[] = {
        {0x08000004, &CSettingData::SetMeteringMode, 1, 0xAB000105, 5},
        {0x08000005, &CSettingData::SetAFPoint, 2, 0xAB003003, 0x3003},
        {0x0800000C, &CSettingData::SetISOSpeed, 2, 0xAB000050, 80},
        {0x08000B00, &CSettingData::SetPhotoEffect, 2, 0xAB000004, 4},
        {0x08000C00, &CSettingData::SetAFLight, 2, 0xAB000000, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        Sim().SimLogClear();
        uint32_t value = c.value;
        EXPECT_TRUE((settings.*c.set)(&value));
        EXPECT_FALSE((settings.*c.set)(nullptr));
        EXPECT_EQ(std::vector<std::string>{"CDSetRelCamSettingData"}, CallNames());
        EXPECT_EQ((std::vector<uintptr_t>{source, c.id, c.size, reinterpret_cast<uintptr_t>(&value)}),
                  Args(Calls()[0], 4));
        char key[32];
        wsprintfA(key, "RelCam.0x%08X", c.id);
        EXPECT_EQ(c.arrives, SimValue(key));
    }
}

TEST_F(Access, OwnerNameIsAThirtyTwoByteFieldAndTheClockA32BitTime) {
    OpenCamera("Owner=Jane Doe\nClock=1234567890");
    char buffer[32];
    std::memset(buffer, 0x55, sizeof buffer);
    ASSERT_TRUE(settings.GetOwnerName(buffer));
    EXPECT_EQ(std::string("Jane Doe").append(24, '\0'), std::string(buffer, 32));
    const std::string forty = "Forty characters of owner name, exactly.";
    ASSERT_EQ(40u, forty.size());
    EXPECT_TRUE(settings.SetOwnerName(forty.c_str()));
    EXPECT_TRUE(settings.SetOwnerName("Ann"));
    std::vector<SimCall> calls = Calls();
    ASSERT_EQ(3u, calls.size());
    for (const SimCall& call : calls) EXPECT_EQ(0x0800000Cu, call.args[1]);
    EXPECT_EQ(0u, calls[0].args[4]);
    auto sent = [](const SimCall& call) { return std::string(reinterpret_cast<const char*>(call.data), call.dataSize); };
    EXPECT_EQ(forty.substr(0, 32), sent(calls[1]));
    EXPECT_EQ(std::string("Ann").append(29, '\0'), sent(calls[2]));
    // A name that fills the field keeps all 32 bytes: no terminator takes the last one.
    EXPECT_TRUE(settings.SetOwnerName(forty.substr(0, 32).c_str()));
    char owner[64] = {};
    EXPECT_EQ(1u, Sim().SimGetSettingText("Owner", owner, sizeof owner));
    EXPECT_EQ(forty.substr(0, 32), owner);

    Sim().SimLogClear();
    __time32_t clock = 0, set = 1300000000;
    ASSERT_TRUE(settings.GetCameraTime(&clock));
    EXPECT_NEAR(1234567890, clock, 2);
    EXPECT_TRUE(settings.SetCameraTime(&set));
    ASSERT_TRUE(settings.GetCameraTime(&clock));
    EXPECT_NEAR(1300000000, clock, 2);
    for (const SimCall& call : Calls()) EXPECT_EQ(0x0800000Du, call.args[1]);
    EXPECT_EQ(4u, Calls("CDSetDevicePropertyData")[0].dataSize);
    EXPECT_TRUE(TakeReports().empty());
}

TEST_F(Access, MacroOnIsShootingMode110AndOffWritesNothing) {
    OpenCamera("ShootingMode=2");
    EXPECT_EQ(TRUE, settings.SetMacro(0));
    EXPECT_EQ(TRUE, settings.SetMacro(2));
    EXPECT_EQ(0u, Sim().SimLogCount());
    EXPECT_EQ(TRUE, settings.SetMacro(1));
    EXPECT_EQ(110u, SimValue("ShootingMode"));
    Fault("CDSetShootingMode", 0x81);
    EXPECT_EQ(TRUE, settings.SetMacro(1));  // even when the write fails
    EXPECT_EQ((std::vector<SdkReport>{{0x81, "SetShootingMode"}}), TakeReports());
    EXPECT_EQ(0x81u, settings.GetLastError());
}

TEST_F(Access, AFailedCallIsKeptAndReportedOnceUnderItsOperationsName) {
    OpenCamera();  // the default camera lists every value written below
    static uint16_t code;
    static uint32_t word;
    static ImageFormatPair pair;
    const struct {
        const char* entry;
        const char* operation;
        BOOL (*call)(CSettingData&);
        const char* key = nullptr;  // what the camera holds once the call went through
        uint32_t value = 0;
    } calls[] = {
        {"CDGetImageFormatAttribute", "GetSizeQualitySetting", [](CSettingData& s) { return s.GetSizeQualitySetting(&pair); }},
        {"CDSetImageFormatAttribute", "SetImgSizeAndQuality", [](CSettingData& s) { return s.SetImgSizeAndQuality(1, 2); },
         "ImageSize", 1},
        {"CDSetImageFormatAttribute", "SetImgSizeAndQuality",
         [](CSettingData& s) { pair = {5, 3}; return s.SetSizeQualitySetting(&pair); }, "ImageSize", 5},
        {"CDGetWBSetting", "GetWBSetting", [](CSettingData& s) { return s.GetWBSetting(&code); }},
        {"CDSetWBSetting", "SetWBSetting", [](CSettingData& s) { return s.SetWBSetting(2); }, "WB", 2},
        {"CDGetExposureComp", "GetExpCpsSetting", [](CSettingData& s) { return s.GetExpCpsSetting(&code); }},
        {"CDSetExposureComp", "SetExpCpsSetting", [](CSettingData& s) { return s.SetExpCpsSetting(16); }, "ExpComp", 16},
        {"CDGetFlashSetting", "GetFlashSetting", [](CSettingData& s) { return s.GetFlashSetting(&code, &word); }},
        {"CDSetFlashSetting", "SetFlashSetting", [](CSettingData& s) { return s.SetFlashSetting(2, 9); }, "Flash", 2},
        {"CDGetShootingMode", "GetShootingMode", [](CSettingData& s) { return s.GetShootingMode(&code); }},
        {"CDSetShootingMode", "SetShootingMode", [](CSettingData& s) { return s.SetShootingMode(3); }, "ShootingMode", 3},
        {"CDGetAvValue", "GetAvValue", [](CSettingData& s) { return s.GetAvValue(&code); }},
        {"CDSetAvValue", "SetAvValue", [](CSettingData& s) { return s.SetAvValue(48); }, "Av", 48},
        {"CDGetTvValue", "GetTvValue", [](CSettingData& s) { return s.GetTvValue(&code); }},
        {"CDSetTvValue", "SetTvValue", [](CSettingData& s) { return s.SetTvValue(96); }, "Tv", 96},
        {"CDGetRelCamSettingData", "GetRelCamSettingData",
         [](CSettingData& s) { uint32_t size = 0; return s.GetRelCamSettingData(0x0800000C, &size, &word); }},
        {"CDSetRelCamSettingData", "SetRelCamSettingData", [](CSettingData& s) { word = 80; return s.SetISOSpeed(&word); },
         "RelCam.0x0800000C", 80},
        {"CDSetDevicePropertyData", "SetDevicePropertyData", [](CSettingData& s) { return s.SetOwnerName("Zed"); }},
        {"CDSetDevicePropertyData", "SetDevicePropertyData",
         [](CSettingData& s) { static const __time32_t t = 1300000000; return s.SetCameraTime(&t); }},
    };
    uint32_t status = 0x1000;
    for (const auto& c : calls) {
        SCOPED_TRACE(c.operation);
        Fault(c.entry, 0xABCD0000 | ++status);
        Sim().SimLogClear();
        EXPECT_FALSE(c.call(settings));
        EXPECT_EQ(status, settings.GetLastError());  // the low 16 bits only
        EXPECT_EQ((std::vector<SdkReport>{{status, c.operation}}), TakeReports());
        EXPECT_EQ(1u, Sim().SimLogCount());
        // The next attempt goes to the camera as usual; the last error stays.
        EXPECT_TRUE(c.call(settings));
        if (c.key) {
            EXPECT_EQ(c.value, SimValue(c.key));
        }
        EXPECT_EQ(status, settings.GetLastError());
        EXPECT_TRUE(TakeReports().empty());
    }
    Fault("CDSetWBSetting", 0x00010000);  // only the low 16 bits decide
    EXPECT_TRUE(settings.SetWBSetting(1));
    EXPECT_TRUE(TakeReports().empty());
}

TEST_F(Access, DevicePropertyReadsFailSilently) {
    OpenCamera("Owner=Jane");
    Sim().SimSetFault("CDGetDevicePropertyData", 0x80, -1);
    char buffer[32];
    std::memset(buffer, 0x55, sizeof buffer);
    EXPECT_FALSE(settings.GetOwnerName(buffer));
    EXPECT_EQ(std::string(32, '\0'), std::string(buffer, 32));
    EXPECT_EQ(0x80u, settings.GetLastError());
    __time32_t clock = 7;
    uint32_t size = 4, data = 0;
    EXPECT_FALSE(settings.GetCameraTime(&clock));
    EXPECT_FALSE(settings.GetDevicePropertyData(0x0800000D, &size, &data));
    EXPECT_EQ(3u, Sim().SimLogCount());
    EXPECT_TRUE(TakeReports().empty());
    EXPECT_TRUE(TakeShownMessages().empty());
}

// Null outputs, and any call while the SDK is not loaded, fail without reaching the camera.
TEST_F(Access, BadCallsNeverReachTheSdk) {
    OpenCamera();
    uint16_t code = 0;
    uint16_t codes[80];
    uint32_t word = 4, values[40] = {};
    ImageFormatPair pair{};
    HWND combo = Combo();
    EXPECT_FALSE(settings.GetSizeQualitySetting(nullptr));
    EXPECT_FALSE(settings.GetTvValue(nullptr));
    EXPECT_FALSE(settings.GetFlashSetting(&code, nullptr));
    EXPECT_FALSE(settings.GetOwnerName(nullptr));
    EXPECT_FALSE(settings.SetOwnerName(nullptr));
    EXPECT_FALSE(settings.SetCameraTime(nullptr));
    EXPECT_FALSE(settings.GetDevicePropertyData(0x0800000C, &word, nullptr));
    EXPECT_FALSE(settings.GetRelCamSettingData(0x0800000C, nullptr, &word));
    EXPECT_FALSE(settings.EnumWBValues(nullptr, &word));
    EXPECT_FALSE(settings.EnumSizeQualityValues(&pair, nullptr));
    EXPECT_FALSE(settings.EnumRelCamSettingData(0x0800000C, nullptr, &word));
    EXPECT_FALSE(settings.InitSizeQualityCombo(nullptr));
    EXPECT_EQ(0u, Sim().SimLogCount());
    CloseCamera();

    // Keep the simulator alive to read its log while the loader has let it go.
    HMODULE held = LoadLibraryA((test_support::ExeFolder() + "\\CDSDK.dll").c_str());
    ASSERT_NE(nullptr, held);
    Sim().SimLogClear();
    UnloadSdk();
    char owner[32];
    EXPECT_FALSE(settings.GetWBSetting(&code));
    EXPECT_FALSE(settings.SetImgSizeAndQuality(0, 3));
    EXPECT_FALSE(settings.SetISOSpeed(&word));
    EXPECT_FALSE(settings.GetOwnerName(owner));
    EXPECT_FALSE(settings.EnumTvValues(codes, &word));
    EXPECT_FALSE(settings.EnumSizeQualityValues(&pair, &word, 1));
    EXPECT_FALSE(settings.EnumRelCamSettingData(0x0800000C, values, &word));
    EXPECT_EQ(0u, word);
    EXPECT_FALSE(settings.InitISOCombo(combo));
    EXPECT_FALSE(settings.InitWBCombo(combo));
    EXPECT_EQ(TRUE, settings.SetMacro(1));
    EXPECT_EQ(0u, Sim().SimLogCount());
    EXPECT_TRUE(TakeReports().empty());
    EXPECT_EQ(0u, settings.GetLastError());
    ASSERT_EQ(0, LoadSdk(test_support::ExeFolder().c_str()));
    FreeLibrary(held);
    ASSERT_TRUE(Sim().Load(SdkModule()));
}

// The static label functions give every code a text, "" when it has no label.
TEST(SettingLabelFunctions, SetTheTextOrCopyItCutToTheBuffer) {
    std::string text = "stale";
    EXPECT_EQ(TRUE, CSettingData::GetWBString(7, text));
    EXPECT_EQ("", text);
    EXPECT_EQ(TRUE, CSettingData::GetTvString(91, text));
    EXPECT_EQ("", text);
    uint32_t value = 0x3003, capacity = 99;
    EXPECT_EQ(TRUE, CSettingData::GetRelCamSettingString(0x08000005, &value, text));
    EXPECT_EQ("AF center", text);
    EXPECT_FALSE(CSettingData::GetRelCamSettingString(0x08000005, nullptr, text));
    EXPECT_FALSE(CSettingData::GetRelCamSettingMaxCount(0x0800000D, &capacity));
    EXPECT_EQ(0u, capacity);
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_TRUE(CSettingData::GetQualityString(5, small, sizeof small));
    EXPECT_STREQ("Sup", small);
    EXPECT_FALSE(CSettingData::GetSizeString(0, nullptr, 260));
    EXPECT_FALSE(CSettingData::GetSizeString(0, small, 0));
}

}  // namespace
