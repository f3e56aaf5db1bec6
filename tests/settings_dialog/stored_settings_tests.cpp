// Stored settings put back on the camera after the Connect button and through
// InitDCSettingByIniFile, and the last saved path in FilePath.ini.
#include "tests/settings_dialog/settings_dialog_fixture.h"

class StoredSettingsTest : public SettingsDialogTest {
protected:
    // Stores keys for camera 0, then connects to it with the button; returns the calls made.
    Strings ConnectWithStored(std::initializer_list<std::pair<const char*, const char*>> keys) {
        OpenModeless();
        for (const auto& key : keys) Store(key.first, key.second);
        Sim().SimLogClear();
        ConnectWithButton();
        EXPECT_TRUE(Camera().IsConnected());
        return Calls();
    }
    Strings ApplyForHost() {
        Sim().SimLogClear();
        EXPECT_TRUE(dialog->InitDCSettingByIniFile(CameraName().c_str()));
        return Calls();
    }
};

// A refused setting (white balance here) does not stop the rest; the save folder is not checked.
TEST_F(StoredSettingsTest, EveryKeyReachesTheCameraInOrderWithItsValueAndSize) {
    const std::string missing = TestFile("no such folder"), owner = "Ann Example of the Long Family Name";
    Sim().SimSetFault("CDSetWBSetting", 0x81, -1);
    EXPECT_EQ(ConnectWithStored({{"Size", "1"}, {"Quality", "2"}, {"White Balence", "4"}, {"Exposal Compensation", "16"},
                                 {"Flash", "2"}, {"Shooting Mode", "2"}, {"TV", "96"}, {"AV", "40"}, {"ISO Speed", "72"},
                                 {"Metering Mode", "257"}, {"Photo Effect", "3"}, {"Owner Name", owner.c_str()},
                                 {"Macro", "0"}, {"Foucsing Point", "12290"}, {"AF Light", "0"}, {"Zoom Pos", "3"},
                                 {"Save Path", missing.c_str()}}),
              (Strings{"CDSetImageFormatAttribute 2 1", "CDSetWBSetting 4", "CDSetExposureComp 16",
                       "CDSetFlashSetting 2 255", "CDSetShootingMode 2", "CDSetTvValue 96",
                       "CDSetRelCamSettingData 0800000C 4800", "CDSetRelCamSettingData 08000004 01",
                       "CDSetRelCamSettingData 08000B00 0300", "CDSetDevicePropertyData 0800000C",
                       "CDSetRelCamSettingData 08000005 0230", "CDSetRelCamSettingData 08000C00 0000", "CDSetZoomPos 3"}));
    EXPECT_EQ(Owner(), owner.substr(0, 32));  // the camera's field
    EXPECT_EQ(Setting("ImageSize"), 1u);
    EXPECT_EQ(Camera().GetSaveFolder(), missing);
}

TEST_F(StoredSettingsTest, AfterConnectTheModeDecidesTvAndAvTheHostRequestAppliesBothMacroComesLast) {
    EXPECT_EQ(ConnectWithStored({{"Shooting Mode", "1"}, {"TV", "96"}, {"AV", "40"}, {"Macro", "1"}}),
              (Strings{"CDSetShootingMode 1", "CDSetShootingMode 110"}));
    EXPECT_EQ(Setting("ShootingMode"), 110u);
    EXPECT_EQ(ApplyForHost(),
              (Strings{"CDSetShootingMode 1", "CDSetTvValue 96", "CDSetAvValue 40", "CDSetShootingMode 110"}));
    Store("Shooting Mode", nullptr);
    Store("Macro", "0");  // leaves the camera as it is
    Store("Quality", "2");  // without "Size": no image format
    EXPECT_EQ(ApplyForHost(), (Strings{"CDSetTvValue 96", "CDSetAvValue 40"}));
}

TEST_F(StoredSettingsTest, ZoomMovesTheCameraAndTheSlider) {
    EXPECT_EQ(ConnectWithStored({{"Zoom Pos", "6"}}), Strings{"CDSetZoomPos 6"});
    EXPECT_EQ(SendDlgItemMessageA(hwnd(), IDC_HndlCnnDlg_ZomSldr, TBM_GETPOS, 0, 0), 6);
    Store("Zoom Pos", "2");
    EXPECT_EQ(ApplyForHost(), Strings{"CDSetZoomPos 2"});
    EXPECT_EQ(SendDlgItemMessageA(hwnd(), IDC_HndlCnnDlg_ZomSldr, TBM_GETPOS, 0, 0), 2);
}

TEST_F(StoredSettingsTest, EachCameraHasItsOwnSectionAndAnUnknownOneIsLeftAlone) {
    OpenModeless();
    Store("White Balence", "1", 0);
    Store("White Balence", "5", 1);
    Sim().SimLogClear(), ConnectWithButton(1);
    EXPECT_EQ(Calls(), Strings{"CDSetWBSetting 5"});
    Sim().SimLogClear();
    for (const std::string& name : {std::string("SimCam"), std::string(), std::string(5000, 'c')})
        EXPECT_TRUE(dialog->InitDCSettingByIniFile(name.c_str()));
    EXPECT_FALSE(dialog->InitDCSettingByIniFile(nullptr));
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(StoredKeys(), Strings{"White Balence"});
    const std::string name = CameraName();
    dialog.reset(), Sim().SimLogClear();
    CameraDialog windowless(nullptr);  // no window, no settings folder: nothing is read
    EXPECT_TRUE(windowless.InitDCSettingByIniFile(name.c_str()));
    EXPECT_EQ(Sim().SimLogCount(), 0u);
}
