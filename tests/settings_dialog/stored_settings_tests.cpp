// Stored settings put back on the camera after the Connect button and through
// InitDCSettingByIniFile, and the last saved path in FilePath.ini.

#include "tests/settings_dialog/settings_dialog_fixture.h"

class StoredSettingsTest : public SettingsDialogTest {
protected:
    // Stores keys for camera `camera`, then connects to it with the button.
    void ConnectWithStored(std::initializer_list<std::pair<const char*, const char*>> keys, int camera = 0) {
        OpenModeless();
        for (const auto& key : keys) Store(key.first, key.second, camera);
        Sim().SimLogClear();
        ConnectWithButton(camera);
        ASSERT_TRUE(Camera().IsConnected());
    }
    Strings ApplyForHost() {
        Sim().SimLogClear();
        EXPECT_TRUE(dialog->InitDCSettingByIniFile(CameraName().c_str()));
        return Calls();
    }
    LRESULT Slider() { return SendDlgItemMessageA(hwnd(), IDC_HndlCnnDlg_ZomSldr, TBM_GETPOS, 0, 0); }
};

TEST_F(StoredSettingsTest, EveryKeyReachesTheCameraInOrderWithItsValueAndSize) {
    ConnectWithStored({{"Size", "1"}, {"Quality", "2"}, {"White Balence", "4"}, {"Exposal Compensation", "16"},
                       {"Flash", "2"}, {"Shooting Mode", "2"}, {"TV", "96"}, {"AV", "40"}, {"ISO Speed", "72"},
                       {"Metering Mode", "257"}, {"Photo Effect", "3"}, {"Owner Name", "Ann Example"}, {"Macro", "0"},
                       {"Foucsing Point", "12290"}, {"AF Light", "0"}, {"Zoom Pos", "3"}});
    EXPECT_EQ(Calls(), (Strings{"CDSetImageFormatAttribute 2 1", "CDSetWBSetting 4", "CDSetExposureComp 16",
                                "CDSetFlashSetting 2 255", "CDSetShootingMode 2", "CDSetTvValue 96",
                                "CDSetRelCamSettingData 0800000C 4800", "CDSetRelCamSettingData 08000004 01",
                                "CDSetRelCamSettingData 08000B00 0300", "CDSetDevicePropertyData 0800000C",
                                "CDSetRelCamSettingData 08000005 0230", "CDSetRelCamSettingData 08000C00 0000",
                                "CDSetZoomPos 3"}));
    EXPECT_EQ(Owner(), "Ann Example");
    EXPECT_EQ(Setting("ImageSize"), 1u);
    EXPECT_EQ(Setting("Tv"), 96u);
}

TEST_F(StoredSettingsTest, ImageFormatNeedsSizeAndQualityAndIsSetOnce) {
    ConnectWithStored({{"Quality", "2"}});
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(Setting("ImageQuality"), 3u);  // the camera's own
    Store("Size", "1");
    EXPECT_EQ(ApplyForHost(), Strings{"CDSetImageFormatAttribute 2 1"});
    EXPECT_EQ(Setting("ImageQuality"), 2u);
}

TEST_F(StoredSettingsTest, AfterConnectTheModeDecidesTvAndAvButTheHostRequestAppliesBoth) {
    ConnectWithStored({{"Shooting Mode", "1"}, {"TV", "96"}, {"AV", "40"}});
    EXPECT_EQ(Calls(), Strings{"CDSetShootingMode 1"});
    EXPECT_EQ(ApplyForHost(), (Strings{"CDSetShootingMode 1", "CDSetTvValue 96", "CDSetAvValue 40"}));
    Store("Shooting Mode", nullptr);
    EXPECT_EQ(ApplyForHost(), (Strings{"CDSetTvValue 96", "CDSetAvValue 40"}));
}

TEST_F(StoredSettingsTest, MacroComesAfterTheModeSoTheCameraEndsInMacro) {
    ConnectWithStored({{"Macro", "1"}, {"Shooting Mode", "3"}, {"AV", "45"}});
    EXPECT_EQ(Calls(), (Strings{"CDSetShootingMode 3", "CDSetAvValue 45", "CDSetShootingMode 110"}));
    EXPECT_EQ(Setting("ShootingMode"), 110u);
    Store("Macro", "0");  // leaves the camera as it is
    EXPECT_EQ(ApplyForHost(), (Strings{"CDSetShootingMode 3", "CDSetAvValue 45"}));
    EXPECT_EQ(Setting("ShootingMode"), 3u);
}

TEST_F(StoredSettingsTest, ZoomMovesTheCameraAndTheSlider) {
    ConnectWithStored({{"Zoom Pos", "6"}});
    EXPECT_EQ(Setting("ZoomPos"), 6u);
    EXPECT_EQ(Slider(), 6);
    Store("Zoom Pos", "2");
    EXPECT_EQ(ApplyForHost(), Strings{"CDSetZoomPos 2"});
    EXPECT_EQ(Slider(), 2);
}

TEST_F(StoredSettingsTest, SavePathIsTakenUncheckedOverlongValuesAreCutOrIgnored) {
    const std::string missing = TestFile("no such folder");
    ConnectWithStored({{"Save Path", missing.c_str()}, {"Owner Name", std::string(1000, 'o').c_str()}});
    EXPECT_EQ(Camera().GetSaveFolder(), missing);
    EXPECT_EQ(Owner(), std::string(32, 'o'));  // the camera's field
    Store("Save Path", ("C:\\" + std::string(600, 'p')).c_str());
    ApplyForHost();
    EXPECT_EQ(Camera().GetSaveFolder(), missing);
}

TEST_F(StoredSettingsTest, RefusedOrMalformedValuesDoNotStopTheRest) {
    ConnectWithStored({});
    Store("White Balence", "sunny");
    Store("Exposal Compensation", "  +24 steps");
    Store("Flash", "2");
    Sim().SimSetFault("CDSetWBSetting", 0x81, -1);
    EXPECT_EQ(ApplyForHost(), (Strings{"CDSetWBSetting 0", "CDSetExposureComp 24", "CDSetFlashSetting 2 255"}));
    EXPECT_EQ(Setting("Flash"), 2u);
    EXPECT_TRUE(Camera().IsConnected());
}

TEST_F(StoredSettingsTest, EachCameraHasItsOwnSectionAndAnUnknownOneIsLeftAlone) {
    OpenModeless();
    Store("White Balence", "1", 0);
    Store("White Balence", "5", 1);
    Sim().SimLogClear();
    ConnectWithButton(1);
    EXPECT_EQ(Calls(), Strings{"CDSetWBSetting 5"});
    Sim().SimLogClear();
    for (const std::string& name : {std::string("SimCam"), std::string(), std::string(5000, 'c')})
        EXPECT_TRUE(dialog->InitDCSettingByIniFile(name.c_str()));
    EXPECT_FALSE(dialog->InitDCSettingByIniFile(nullptr));
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(StoredKeys(), Strings{"White Balence"});

    const std::string name = CameraName();
    dialog.reset();
    CameraDialog windowless(nullptr);  // no window, no settings folder: nothing is read
    Sim().SimLogClear();
    EXPECT_TRUE(windowless.InitDCSettingByIniFile(name.c_str()));
    EXPECT_EQ(Sim().SimLogCount(), 0u);
}

// The last saved image, whichever camera shot it, is the one path in FilePath.ini.
TEST_F(StoredSettingsTest, FilePathIniHoldsExactlyTheLastSavedPath) {
    OpenConnected();
    std::string last;
    for (int shot = 0; shot < 3; ++shot) {
        host.received.clear();
        Click(hwnd(), IDC_HandleCanonDlg_Release);
        ASSERT_TRUE(test_support::PumpUntil([&] { return !host.received.empty(); }, 10000)) << shot;
        EXPECT_NE(host.received.back().text, last);
        last = host.received.back().text;
        EXPECT_EQ(IniValue("FilePath.ini", "FINISHED", "File Path"), last);
    }
    EXPECT_EQ(IniKeys("FilePath.ini", "FINISHED"), Strings{"File Path"});
    char sections[256] = {};
    const DWORD n = GetPrivateProfileSectionNamesA(sections, sizeof sections, TestFile("FilePath.ini").c_str());
    EXPECT_EQ(std::string(sections, n), std::string("FINISHED") + '\0');
}
