// Reads and writes of CSettingData against the simulated camera: failures and their reports,
// and the guards in front of the SDK. (The values and sizes each write hands the camera are
// pinned by the stored-settings tests, which drive every write.)
#include "tests/settings/settings_fixture.h"

namespace {

using Access = SettingsTest;

// Reads: image format quality before size, flash with its second value. Writes: each fails once
// (status 0xABCD1xxx), is kept and reported once under its operation's name, then goes through.
TEST_F(Access, ReadsComeInTheSdksOrderAndAFailedWriteIsKeptAndReportedOnce) {
    // The default camera lists every other value written below.
    OpenCamera("RelCam.0x08000004.List=3,1,0,5\nImageFormat.List=0:3,1:2,5:3,5:4\nImageFormat=5:4\nFlashSecond=77");
    ImageFormatPair read{9, 9};
    uint16_t mode = 9;
    uint32_t second = 0;
    ASSERT_TRUE(settings.GetSizeQualitySetting(&read));
    ASSERT_TRUE(settings.GetFlashSetting(&mode, &second));
    EXPECT_EQ((std::vector<uint32_t>{5, 4, 1, 77}), (std::vector<uint32_t>{read.size, read.quality, mode, second}));
    static uint32_t word;  // upper bytes set: the camera must see only the first 1 or 2
    static ImageFormatPair pair{5, 3};
    static const __time32_t time = 1300000000;
    using S = CSettingData&;
    const char *rel = "CDSetRelCamSettingData", *relOp = "SetRelCamSettingData";
    const char *prop = "CDSetDevicePropertyData", *propOp = "SetDevicePropertyData";
    const struct {
        const char* entry;
        const char* operation;
        BOOL (*call)(CSettingData&);
    } writes[] = {
        {"CDSetImageFormatAttribute", "SetImgSizeAndQuality", [](S s) { return s.SetImgSizeAndQuality(1, 2); }},
        {"CDSetImageFormatAttribute", "SetImgSizeAndQuality", [](S s) { return s.SetSizeQualitySetting(&pair); }},
        {"CDSetWBSetting", "SetWBSetting", [](S s) { return s.SetWBSetting(2); }},
        {"CDSetExposureComp", "SetExpCpsSetting", [](S s) { return s.SetExpCpsSetting(16); }},
        {"CDSetFlashSetting", "SetFlashSetting", [](S s) { return s.SetFlashSetting(2, 255); }},
        {"CDSetShootingMode", "SetShootingMode", [](S s) { return s.SetShootingMode(3); }},
        {"CDSetAvValue", "SetAvValue", [](S s) { return s.SetAvValue(48); }},
        {"CDSetTvValue", "SetTvValue", [](S s) { return s.SetTvValue(96); }},
        {rel, relOp, [](S s) { word = 0xAB000105; return s.SetMeteringMode(&word); }},
        {rel, relOp, [](S s) { word = 0xAB003003; return s.SetAFPoint(&word); }},
        {rel, relOp, [](S s) { word = 0xAB000050; return s.SetISOSpeed(&word); }},
        {rel, relOp, [](S s) { word = 0xAB000004; return s.SetPhotoEffect(&word); }},
        {rel, relOp, [](S s) { word = 0xAB000000; return s.SetAFLight(&word); }},
        {prop, propOp, [](S s) { return s.SetOwnerName("Zed"); }},
        {prop, propOp, [](S s) { return s.SetCameraTime(&time); }},
    };
    uint32_t status = 0x1000;
    for (const auto& w : writes) {
        SCOPED_TRACE(w.operation + std::to_string(status));
        Fault(w.entry, 0xABCD0000 | ++status);
        Sim().SimLogClear();
        EXPECT_FALSE(w.call(settings));
        EXPECT_TRUE(w.call(settings));  // the next attempt goes to the camera as usual
        EXPECT_EQ(status, settings.GetLastError());  // kept, the low 16 bits only
        EXPECT_EQ((std::vector<SdkReport>{{status, w.operation}}), TakeReports());
        EXPECT_EQ(2u, Calls(w.entry).size()) << "the failed call, then this one";
    }
    EXPECT_EQ(5u, SimValue("RelCam.0x08000004")) << "one byte of the caller's word";
    ASSERT_TRUE(settings.SetSizeQualitySetting(&pair));
    const SimCall format = Calls("CDSetImageFormatAttribute").back();
    EXPECT_EQ((std::vector<uintptr_t>{3, 5}), (std::vector<uintptr_t>{format.args[1], format.args[2]})) << "quality first";
    Fault("CDSetWBSetting", 0x00010000);  // only the low 16 bits decide
    EXPECT_TRUE(settings.SetWBSetting(1));
    EXPECT_TRUE(TakeReports().empty());
}

// Reads of device properties fail silently: the last error is kept, nothing is reported.
TEST_F(Access, OwnerNameIsAThirtyTwoByteFieldAndDevicePropertyReadsFailSilently) {
    OpenCamera("Owner=Jane Doe\nClock=1234567890");
    __time32_t clock = 0;
    EXPECT_TRUE(settings.GetCameraTime(&clock));
    EXPECT_GE(clock, 1234567890);
    EXPECT_LT(clock, 1234567900);
    std::string buffer(32, 'x');
    ASSERT_TRUE(settings.GetOwnerName(&buffer[0]));
    EXPECT_EQ(std::string("Jane Doe").append(24, '\0'), buffer);
    const std::string forty = "Forty characters of owner name, exactly.";
    EXPECT_TRUE(settings.SetOwnerName(forty.c_str()));
    EXPECT_TRUE(settings.SetOwnerName("Ann"));
    auto sent = [](const SimCall& c) { return std::string(reinterpret_cast<const char*>(c.data), c.dataSize); };
    std::vector<SimCall> writes = Calls("CDSetDevicePropertyData");
    ASSERT_EQ(2u, writes.size());
    EXPECT_EQ(forty.substr(0, 32), sent(writes[0]));
    EXPECT_EQ(std::string("Ann").append(29, '\0'), sent(writes[1]));

    Sim().SimLogClear();
    Sim().SimSetFault("CDGetDevicePropertyData", 0x80, -1);
    EXPECT_FALSE(settings.GetOwnerName(&buffer[0]));
    EXPECT_FALSE(settings.GetCameraTime(&clock));
    EXPECT_EQ(std::string(32, '\0'), buffer);
    EXPECT_EQ(0x80u, settings.GetLastError());
    EXPECT_EQ(2u, Sim().SimLogCount());
    EXPECT_EQ(std::vector<SdkReport>{}, TakeReports());
    EXPECT_EQ(std::vector<Shown>{}, TakeShownMessages());
}

TEST_F(Access, MacroOnIsShootingMode110AndOffWritesNothing) {
    OpenCamera("ShootingMode=2");
    EXPECT_TRUE(settings.SetMacro(0));
    EXPECT_TRUE(settings.SetMacro(2));
    EXPECT_EQ(0u, Sim().SimLogCount());
    Fault("CDSetShootingMode", 0x81);
    EXPECT_TRUE(settings.SetMacro(1));  // even when the write fails
    EXPECT_TRUE(settings.SetMacro(1));
    EXPECT_EQ(110u, SimValue("ShootingMode"));
    EXPECT_EQ((std::vector<SdkReport>{{0x81, "SetShootingMode"}}), TakeReports());
}

// Null outputs, and any call while the SDK is not loaded, fail without reaching the camera.
TEST_F(Access, BadCallsNeverReachTheSdk) {
    uint16_t code = 0, codes[80];
    uint32_t word = 4;
    ImageFormatPair pair{};
    HWND combo = Combo();
    Sim().SimLogClear();
    EXPECT_EQ(std::vector<BOOL>(10, FALSE),
              (std::vector<BOOL>{settings.GetFlashSetting(&code, nullptr), settings.GetWBSetting(nullptr),
                                 settings.GetTvValue(nullptr), settings.GetOwnerName(nullptr), settings.SetOwnerName(nullptr),
                                 settings.SetISOSpeed(nullptr), settings.GetRelCamSettingData(0x0800000C, nullptr, &word),
                                 settings.EnumWBValues(nullptr, &word), settings.EnumSizeQualityValues(&pair, nullptr),
                                 settings.InitSizeQualityCombo(nullptr)}));
    // Keep the simulator alive to read its log while the loader has let it go.
    HMODULE held = LoadLibraryA((test_support::ExeFolder() + "\\CDSDK.dll").c_str());
    ASSERT_NE(nullptr, held);
    UnloadSdk();
    EXPECT_EQ(std::vector<BOOL>(6, FALSE),
              (std::vector<BOOL>{settings.GetWBSetting(&code), settings.SetImgSizeAndQuality(0, 3), settings.SetISOSpeed(&word),
                                 settings.EnumTvValues(codes, &word), settings.InitISOCombo(combo), settings.InitWBCombo(combo)}));
    EXPECT_TRUE(settings.SetMacro(1));
    EXPECT_EQ(0u, word);
    EXPECT_EQ(0u, Sim().SimLogCount());
    EXPECT_EQ(std::vector<SdkReport>{}, TakeReports());
    EXPECT_EQ(0u, settings.GetLastError());
    ASSERT_EQ(0, LoadSdk(test_support::ExeFolder().c_str()));
    FreeLibrary(held);
}

TEST(SettingLabelFunctions, CopyTheLabelCutToTheCallersBuffer) {
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_TRUE(CSettingData::GetQualityString(5, small, sizeof small));
    EXPECT_STREQ("Sup", small);
    EXPECT_FALSE(CSettingData::GetSizeString(0, nullptr, 260));
    EXPECT_FALSE(CSettingData::GetSizeString(0, small, 0));
}

}  // namespace
