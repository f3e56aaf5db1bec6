// Stored settings put back on the camera: after the Connect button and through
// InitDCSettingByIniFile, read from the simulator's call log.
#include <windows.h>
#include <commctrl.h>

#include "tests/settings_dialog/settings_dialog_fixture.h"

using namespace settings_test;
using Access = CameraDialogTestAccess;
using Strings = std::vector<std::string>;


class StoredSettingsTest : public SettingsDialogTest {
protected:
    // Stores keys for camera `index` (its name as the list shows it), then connects to it.
    void ConnectWithStored(std::initializer_list<std::pair<const char*, const char*>> keys, int index = 0) {
        OpenModeless();
        for (const auto& key : keys) Store(Section(index), key.first, key.second);
        sim().SimLogClear();
        ConnectWithButton(index);
        ASSERT_TRUE(Access::Camera(*dialog).IsConnected());
    }
};

TEST_F(StoredSettingsTest, ImageFormatIsAppliedOnceAndOnlyWithBothSizeAndQuality) {
    ConnectWithStored({{"Quality", "2"}});
    EXPECT_TRUE(SettingCalls().empty());
    EXPECT_EQ(sim().Setting("ImageQuality"), 3u);  // the camera's own

    sim().SimLogClear();
    Store(Section(), "Size", "1");
    EXPECT_TRUE(dialog->InitDCSettingByIniFile(ComboText(0).c_str()));
    const auto calls = SettingCalls();
    ASSERT_EQ(Names(calls), Strings{"CDSetImageFormatAttribute"});
    EXPECT_EQ(Arg(calls[0], 1), 2u);  // quality first, as the SDK takes them
    EXPECT_EQ(Arg(calls[0], 2), 1u);
    EXPECT_EQ(sim().Setting("ImageSize"), 1u);
    EXPECT_EQ(sim().Setting("ImageQuality"), 2u);
}

TEST_F(StoredSettingsTest, AfterConnectTheModeDecidesTvAndAvButTheHostRequestAppliesBoth) {
    ConnectWithStored({{"Shooting Mode", "1"}, {"TV", "96"}, {"AV", "40"}});
    auto calls = SettingCalls();
    ASSERT_EQ(Names(calls), Strings{"CDSetShootingMode"});
    EXPECT_EQ(Arg(calls[0], 1), 1u);

    sim().SimLogClear();
    EXPECT_TRUE(dialog->InitDCSettingByIniFile(ComboText(0).c_str()));
    calls = SettingCalls();
    ASSERT_EQ(Names(calls), (Strings{"CDSetShootingMode", "CDSetTvValue", "CDSetAvValue"}));
    EXPECT_EQ(Arg(calls[0], 1), 1u);
    EXPECT_EQ(Arg(calls[1], 1), 96u);
    EXPECT_EQ(Arg(calls[2], 1), 40u);

    // The host's request applies them even without a stored mode.
    WritePrivateProfileStringA(Section().c_str(), "Shooting Mode", nullptr, TestFile("SetData.ini").c_str());
    sim().SimLogClear();
    EXPECT_TRUE(dialog->InitDCSettingByIniFile(ComboText(0).c_str()));
    EXPECT_EQ(Names(SettingCalls()), (Strings{"CDSetTvValue", "CDSetAvValue"}));
}

TEST_F(StoredSettingsTest, ManualModeAfterConnectSetsModeThenTvThenAv) {
    ConnectWithStored({{"AV", "40"}, {"TV", "96"}, {"Shooting Mode", "4"}});
    const auto calls = SettingCalls();
    ASSERT_EQ(Names(calls), (Strings{"CDSetShootingMode", "CDSetTvValue", "CDSetAvValue"}));
    EXPECT_EQ(sim().Setting("Tv"), 96u);
    EXPECT_EQ(sim().Setting("Av"), 40u);
}

TEST_F(StoredSettingsTest, MacroComesAfterTheModeSoTheCameraEndsInMacro) {
    ConnectWithStored({{"Macro", "1"}, {"Shooting Mode", "3"}, {"AV", "45"}});
    const auto calls = SettingCalls();
    ASSERT_EQ(Names(calls), (Strings{"CDSetShootingMode", "CDSetAvValue", "CDSetShootingMode"}));
    EXPECT_EQ(Arg(calls[0], 1), 3u);
    EXPECT_EQ(Arg(calls[2], 1), 110u);
    EXPECT_EQ(sim().Setting("ShootingMode"), 110u);

    // Macro 0 leaves the camera as it is.
    sim().SimLogClear();
    Store(Section(), "Macro", "0");
    dialog->InitDCSettingByIniFile(ComboText(0).c_str());
    EXPECT_EQ(Names(SettingCalls()), (Strings{"CDSetShootingMode", "CDSetAvValue"}));
    EXPECT_EQ(sim().Setting("ShootingMode"), 3u);
}

TEST_F(StoredSettingsTest, EveryKeyReachesTheCameraInOrderWithItsValueAndSize) {
    ConnectWithStored({{"Size", "1"},
                       {"Quality", "2"},
                       {"White Balence", "4"},
                       {"Exposal Compensation", "16"},
                       {"Flash", "2"},
                       {"Shooting Mode", "2"},
                       {"TV", "96"},
                       {"AV", "40"},
                       {"ISO Speed", "72"},
                       {"Metering Mode", "257"},  // one byte: 1
                       {"Photo Effect", "3"},
                       {"Owner Name", "Ann Example"},
                       {"Macro", "0"},
                       {"Foucsing Point", "12290"},
                       {"AF Light", "0"},
                       {"Zoom Pos", "3"}});
    const auto calls = SettingCalls();
    ASSERT_EQ(Names(calls), (Strings{"CDSetImageFormatAttribute", "CDSetWBSetting", "CDSetExposureComp",
                                     "CDSetFlashSetting", "CDSetShootingMode", "CDSetTvValue",
                                     "CDSetRelCamSettingData", "CDSetRelCamSettingData", "CDSetRelCamSettingData",
                                     "CDSetDevicePropertyData", "CDSetRelCamSettingData", "CDSetRelCamSettingData",
                                     "CDSetZoomPos"}));
    EXPECT_EQ(Arg(calls[1], 1), 4u);
    EXPECT_EQ(Arg(calls[2], 1), 16u);
    EXPECT_EQ(Arg(calls[3], 1), 2u);
    EXPECT_EQ(Arg(calls[3], 2), 255u);  // the second flash value
    struct RelCam {
        size_t call;
        uint32_t id;
        std::vector<uint8_t> bytes;
    };
    for (const RelCam& r : {RelCam{6, 0x0800000C, {72, 0}}, RelCam{7, 0x08000004, {1}}, RelCam{8, 0x08000B00, {3, 0}},
                            RelCam{10, 0x08000005, {0x02, 0x30}}, RelCam{11, 0x08000C00, {0, 0}}}) {
        EXPECT_EQ(Arg(calls[r.call], 1), r.id) << r.call;
        EXPECT_EQ(Data(calls[r.call]), r.bytes) << r.call;
    }
    EXPECT_EQ(Arg(calls[9], 1), 0x0800000Cu);  // owner name property
    char owner[64] = {};
    sim().SimGetSettingText("Owner", owner, sizeof owner);
    EXPECT_STREQ(owner, "Ann Example");
    EXPECT_EQ(sim().Setting("RelCam.0x08000004"), 1u);
    EXPECT_EQ(sim().Setting("Tv"), 96u);
}

TEST_F(StoredSettingsTest, ZoomMovesTheCameraAndTheSlider) {
    ConnectWithStored({{"Zoom Pos", "6"}});
    EXPECT_EQ(sim().Setting("ZoomPos"), 6u);
    EXPECT_EQ(SendDlgItemMessageA(hwnd(), IDC_HndlCnnDlg_ZomSldr, TBM_GETPOS, 0, 0), 6);

    Store(Section(), "Zoom Pos", "2");
    EXPECT_TRUE(dialog->InitDCSettingByIniFile(ComboText(0).c_str()));
    EXPECT_EQ(sim().Setting("ZoomPos"), 2u);
    EXPECT_EQ(SendDlgItemMessageA(hwnd(), IDC_HndlCnnDlg_ZomSldr, TBM_GETPOS, 0, 0), 2);
}

TEST_F(StoredSettingsTest, SavePathIsTakenWithoutCheckingTheFolder) {
    const std::string missing = TestFile("no such folder");
    ConnectWithStored({{"Save Path", missing.c_str()}});
    EXPECT_EQ(std::string(Access::Camera(*dialog).GetSaveFolder()), missing);
    EXPECT_TRUE(SettingCalls().empty());
}

TEST_F(StoredSettingsTest, OverlongValuesAreCutAndAnOverlongSavePathIsIgnored) {
    const std::string longOwner(1000, 'o');
    const std::string longPath = "C:\\" + std::string(600, 'p');
    ConnectWithStored({{"Owner Name", longOwner.c_str()}, {"Save Path", longPath.c_str()}});
    char owner[64] = {};
    sim().SimGetSettingText("Owner", owner, sizeof owner);
    EXPECT_EQ(std::string(owner), std::string(32, 'o'));  // the camera's field
    EXPECT_EQ(std::string(Access::Camera(*dialog).GetSaveFolder()), Access::SaveFolder(*dialog));
}

TEST_F(StoredSettingsTest, TextThatIsNoNumberAppliesZero) {
    ConnectWithStored({{"White Balence", "sunny"}, {"Exposal Compensation", "  +24 steps"}});
    const auto calls = SettingCalls();
    ASSERT_EQ(Names(calls), (Strings{"CDSetWBSetting", "CDSetExposureComp"}));
    EXPECT_EQ(Arg(calls[0], 1), 0u);
    EXPECT_EQ(Arg(calls[1], 1), 24u);
}

TEST_F(StoredSettingsTest, EachCameraHasItsOwnSectionAndAnUnknownOneIsLeftAlone) {
    OpenModeless();
    ASSERT_EQ(ComboCount(), 2);
    Store(Section(0), "White Balence", "1");
    Store(Section(1), "White Balence", "5");
    sim().SimLogClear();
    ConnectWithButton(1);
    auto calls = SettingCalls();
    ASSERT_EQ(Names(calls), Strings{"CDSetWBSetting"});
    EXPECT_EQ(Arg(calls[0], 1), 5u);

    // Sections are found by the whole name followed by "Setting".
    sim().SimLogClear();
    EXPECT_TRUE(dialog->InitDCSettingByIniFile("SimCam"));
    EXPECT_TRUE(dialog->InitDCSettingByIniFile(""));
    EXPECT_TRUE(dialog->InitDCSettingByIniFile(std::string(5000, 'c').c_str()));
    EXPECT_FALSE(dialog->InitDCSettingByIniFile(nullptr));
    EXPECT_TRUE(SettingCalls().empty());
    EXPECT_EQ(IniKeys(TestFile("SetData.ini"), Section(0).c_str()), Strings{"White Balence"});
}

TEST_F(StoredSettingsTest, RefusedSettingsAreReportedAndTheRestIsStillApplied) {
    ConnectWithStored({});
    Store(Section(), "White Balence", "3");
    Store(Section(), "Flash", "2");
    sim().SimSetFault("CDSetWBSetting", 0x81, -1);
    sim().SimLogClear();
    EXPECT_TRUE(dialog->InitDCSettingByIniFile(ComboText(0).c_str()));
    EXPECT_EQ(Names(SettingCalls()), (Strings{"CDSetWBSetting", "CDSetFlashSetting"}));
    EXPECT_EQ(sim().Setting("Flash"), 2u);
    EXPECT_EQ(CameraDialogTestAccess::Camera(*dialog).IsConnected(), TRUE);
}

TEST_F(StoredSettingsTest, WithoutAWindowThereIsNoSettingsFolderAndNothingIsApplied) {
    CameraDialog d(nullptr);
    EXPECT_TRUE(d.InitDCSettingByIniFile("SimCam Compact Z10"));
    EXPECT_EQ(sim().SimLogCount(), 0u);
}

// The last saved image, whichever camera shot it, is the one path in FilePath.ini.
TEST_F(StoredSettingsTest, FilePathIniHoldsExactlyTheLastSavedPath) {
    OpenConnected(0);
    std::string last;
    for (int shot = 0; shot < 3; ++shot) {
        host.saved.clear();
        Click(hwnd(), IDC_HandleCanonDlg_Release);
        ASSERT_TRUE(test_support::PumpUntil([&] { return !host.saved.empty(); }, 10000)) << shot;
        const std::string path = host.saved.back();
        EXPECT_NE(path, last);
        last = path;
        EXPECT_EQ(IniValue(TestFile("FilePath.ini"), "FINISHED", "File Path"), last);
    }
    EXPECT_EQ(IniKeys(TestFile("FilePath.ini"), "FINISHED"), Strings{"File Path"});
    char sections[256] = {};
    const DWORD n = GetPrivateProfileSectionNamesA(sections, sizeof sections, TestFile("FilePath.ini").c_str());
    EXPECT_EQ(std::string(sections, n), std::string("FINISHED") + '\0');
}
