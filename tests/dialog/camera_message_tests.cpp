// The window messages of the controller and the settings dialog: each reaction and what the
// host window hears of it.
#include <windows.h>

#include "camera/camera_messages.h"
#include "tests/dialog/camera_window_fixture.h"

using namespace dialog_test;
using Access = CameraDialogTestAccess;

namespace {
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(window, message, wParam, lParam);
}
}  // namespace

class CameraMessageTest : public CameraWindowTest {
protected:
    // A modeless window with the panel, connected through its button to the zoom camera.
    void OpenConnected() {
        OpenModeless(1);
        ConnectWithButton(0);
        ASSERT_TRUE(Enabled(hwnd(), IDC_HandleCanonDlg_DisCnect));
        host.Clear();
        sim().SimLogClear();
    }
};

TEST_F(CameraMessageTest, ViewfinderEnableSetsTheButtonAndTellsTheHostWhenAsked) {
    OpenConnected();
    EXPECT_EQ(Send(hwnd(), WM_CAM_VIEWFINDER_ENABLE, 0, 0), 0);
    EXPECT_FALSE(Enabled(hwnd(), IDC_HndlCnnDlg_ViewFinder));
    EXPECT_TRUE(host.Take().empty());

    Send(hwnd(), WM_CAM_VIEWFINDER_ENABLE, 1, 1);
    EXPECT_TRUE(Enabled(hwnd(), IDC_HndlCnnDlg_ViewFinder));
    // No viewfinder runs, so the controller keeps To LCD off.
    EXPECT_FALSE(Enabled(hwnd(), IDC_HndlCnnDlg_ToLCD));
    auto heard = host.Take();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].message, static_cast<UINT>(kMsgViewfinderEnable));
    EXPECT_EQ(heard[0].wParam, 1u);
    EXPECT_EQ(heard[0].lParam, 0);

    // With the viewfinder running the same notice offers the LCD.
    ASSERT_TRUE(dialog->OpenViewFinder(TRUE));
    Send(hwnd(), WM_CAM_VIEWFINDER_ENABLE, 0, 0);
    EXPECT_FALSE(Enabled(hwnd(), IDC_HndlCnnDlg_ToLCD));
    Send(hwnd(), WM_CAM_VIEWFINDER_ENABLE, 1, 0);
    EXPECT_TRUE(Enabled(hwnd(), IDC_HndlCnnDlg_ToLCD));
    EXPECT_TRUE(host.Of(kMsgViewfinderEnable).empty());
}

TEST_F(CameraMessageTest, ZoomAndLcdEnableSetTheirControls) {
    OpenModeless(1);
    Send(hwnd(), WM_CAM_ZOOM_ENABLE, 1);
    EXPECT_TRUE(Enabled(hwnd(), IDC_HndlCnnDlg_ZomSldr));
    Send(hwnd(), WM_CAM_ZOOM_ENABLE, 0);
    EXPECT_FALSE(Enabled(hwnd(), IDC_HndlCnnDlg_ZomSldr));
    Send(hwnd(), WM_CAM_LCD_ENABLE, 1);
    EXPECT_TRUE(Enabled(hwnd(), IDC_HndlCnnDlg_ToLCD));
    Send(hwnd(), WM_CAM_LCD_ENABLE, 0);
    EXPECT_FALSE(Enabled(hwnd(), IDC_HndlCnnDlg_ToLCD));
    EXPECT_TRUE(host.Of(kMsgViewfinderEnable).empty());
}

TEST_F(CameraMessageTest, BatteryLowWarnsAndDisconnectsWithoutTalkingToTheCamera) {
    OpenConnected();
    test_support::ClearMessageBoxes();
    Send(hwnd(), WM_CAM_BATTERY_LOW);
    auto boxes = test_support::TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Kamvio");
    // The key carries a trailing blank; the profile lookup's default drops trailing blanks.
    EXPECT_EQ(boxes[0].text, "Power low, please change battery");
    EXPECT_FALSE(Enabled(hwnd(), IDC_HandleCanonDlg_DisCnect));
    EXPECT_TRUE(Enabled(hwnd(), IDC_HandleCanonDlg_Connect));
    BOOL connected = TRUE;
    dialog->IsConnected(&connected);
    EXPECT_FALSE(connected);
    EXPECT_EQ(sim().Count("CDExitReleaseControl"), 0);
    EXPECT_EQ(sim().Count("CDCloseSource"), 0);
}

TEST_F(CameraMessageTest, TimerShootRunsTheSeriesWithTheLowSixteenBitsAsCount) {
    OpenConnected();
    Send(hwnd(), WM_CAM_TIMER_SHOOT, 2, 0x10000);  // count 0: nothing
    EXPECT_EQ(sim().Count("CDRelease"), 0);
    Send(hwnd(), WM_CAM_TIMER_SHOOT, 2, 0x20001);  // one shot after a second
    EXPECT_EQ(sim().Count("CDRelease"), 1);
    test_support::PumpUntil([&] { return !host.Of(kMsgFileSaved).empty(); }, 10000);
}

TEST_F(CameraMessageTest, FileSavedIsRecordedAndPassedOn) {
    OpenModeless(0);
    host.Clear();
    const char path[] = "c:\\Canon\\TH20240101120000000001.JPG";
    EXPECT_EQ(Send(hwnd(), WM_CAM_FILE_SAVED, reinterpret_cast<WPARAM>(path)), 0);
    EXPECT_EQ(IniValue(TestFile("FilePath.ini"), "FINISHED", "File Path"), path);
    EXPECT_EQ(IniKeys(TestFile("FilePath.ini"), "FINISHED").size(), 1u);
    auto heard = host.Take();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].message, static_cast<UINT>(kMsgFileSaved));
    EXPECT_EQ(heard[0].wParam, reinterpret_cast<WPARAM>(path));
    EXPECT_EQ(heard[0].text, path);

    // Memory mode: no path, the last file stays recorded, the host still hears of it.
    Send(hwnd(), WM_CAM_FILE_SAVED, 0);
    EXPECT_EQ(IniValue(TestFile("FilePath.ini"), "FINISHED", "File Path"), path);
    heard = host.Take();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].wParam, 0u);

    // An overlong text is cut at the path limit, never read further.
    const std::string longPath(600, 'q');
    Send(hwnd(), WM_CAM_FILE_SAVED, reinterpret_cast<WPARAM>(longPath.c_str()));
    EXPECT_EQ(IniValue(TestFile("FilePath.ini"), "FINISHED", "File Path"), std::string(MAX_PATH, 'q'));
}

TEST_F(CameraMessageTest, ShutterPressedShootsLikeTheReleaseButton) {
    OpenConnected();
    Send(hwnd(), WM_CAM_SHUTTER_PRESSED);
    EXPECT_EQ(sim().Count("CDRelease"), 1);
    EXPECT_TRUE(Enabled(hwnd(), IDC_HandleCanonDlg_Release));
    // The camera's own shutter button arrives the same way.
    ASSERT_TRUE(sim().SimPressShutter());
    EXPECT_TRUE(test_support::PumpUntil([&] { return sim().Count("CDRelease") == 2; }, 5000));
    test_support::PumpUntil([&] { return !host.Of(kMsgFileSaved).empty(); }, 10000);
}

TEST_F(CameraMessageTest, PoweredOffResetsThePanelAndTellsTheHostAfterTheStatus) {
    OpenConnected();
    ASSERT_TRUE(dialog->OpenViewFinder(TRUE));
    Drain();
    Click(hwnd(), IDC_HndlCnnDlg_ToLCD);
    SetDlgItemTextA(hwnd(), IDC_HndlCnnDlg_ViewFinder, "View Off");
    host.Clear();
    sim().SimLogClear();

    Send(hwnd(), WM_CAM_POWERED_OFF);
    auto heard = host.Take();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].message, static_cast<UINT>(kMsgStatus));
    EXPECT_EQ(heard[0].wParam, 1u);
    EXPECT_EQ(heard[0].text, ComboText(0));
    EXPECT_EQ(heard[1].message, static_cast<UINT>(kMsgPoweredOff));
    EXPECT_EQ(heard[1].wParam, 0u);
    EXPECT_EQ(heard[1].lParam, 0);

    for (int id : {IDC_HndlCnnDlg_Setting, IDC_HandleCanonDlg_DisCnect, IDC_HandleCanonDlg_Release,
                   IDC_HndlCnnDlg_ViewFinder, IDC_HndlCnnDlg_ToLCD, IDC_HndlCnnDlg_ZomSldr})
        EXPECT_FALSE(Enabled(hwnd(), id)) << id;
    EXPECT_TRUE(Enabled(hwnd(), IDC_HandleCanonDlg_Connect));
    EXPECT_EQ(Text(hwnd(), IDC_HndlCnnDlg_ViewFinder), "View On");
    EXPECT_EQ(IsDlgButtonChecked(hwnd(), IDC_HndlCnnDlg_ToLCD), BST_UNCHECKED);
    EXPECT_EQ(sim().Count("CDEnumDeviceReset"), 1);  // the list was filled again
    EXPECT_EQ(ComboCount(), 2);
    // The viewfinder went with the camera: the next click must start it anew.
    EXPECT_FALSE(Access::ViewStarted(*dialog));
    EXPECT_FALSE(Access::ViewShown(*dialog));
    BOOL connected = TRUE;
    dialog->IsConnected(&connected);
    EXPECT_FALSE(connected);
}

TEST_F(CameraMessageTest, CameraSwitchedOffReachesTheHostThroughTheSdkEvent) {
    OpenConnected();
    test_support::ClearMessageBoxes();
    ASSERT_TRUE(sim().SimPowerOff());
    ASSERT_TRUE(test_support::PumpUntil([&] { return !host.Of(kMsgPoweredOff).empty(); }, 5000));
    EXPECT_TRUE(Enabled(hwnd(), IDC_HandleCanonDlg_Connect));
    EXPECT_FALSE(Enabled(hwnd(), IDC_HandleCanonDlg_DisCnect));
    test_support::PumpUntil([] { return !test_support::TakeMessageBoxes().empty(); }, 5000);
}

TEST_F(CameraMessageTest, DisconnectRequestDisconnectsAndLeavesTheControls) {
    OpenConnected();
    Send(hwnd(), WM_CAM_DISCONNECT_REQUEST);
    BOOL connected = TRUE;
    dialog->IsConnected(&connected);
    EXPECT_FALSE(connected);
    EXPECT_EQ(sim().Count("CDCloseSource"), 1);
    EXPECT_TRUE(Enabled(hwnd(), IDC_HandleCanonDlg_DisCnect));
    EXPECT_FALSE(Enabled(hwnd(), IDC_HandleCanonDlg_Connect));
}

TEST_F(CameraMessageTest, StatusIsPassedOnUnchanged) {
    OpenModeless(0);
    host.Clear();
    const char name[] = "Some Camera";
    Send(hwnd(), WM_CAM_STATUS, 1, reinterpret_cast<LPARAM>(name));
    Send(hwnd(), WM_CAM_STATUS, 0, 0);
    auto heard = host.Take();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].message, static_cast<UINT>(kMsgStatus));
    EXPECT_EQ(heard[0].wParam, 1u);
    EXPECT_EQ(heard[0].lParam, reinterpret_cast<LPARAM>(name));
    EXPECT_EQ(heard[0].text, name);
    EXPECT_EQ(heard[1].wParam, 0u);
    EXPECT_EQ(heard[1].lParam, 0);
}

TEST_F(CameraMessageTest, ControllerEndIsHeardWhenTheWindowCloses) {
    OpenModeless(0);
    host.Clear();
    dialog->DestroyWindow();
    auto status = host.Of(kMsgStatus);
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.back().wParam, 0u);
}

TEST_F(CameraMessageTest, ViewfinderSwitchTogglesOnlyWhileTheViewIsShown) {
    OpenConnected();
    Send(hwnd(), WM_CAM_VIEWFINDER_SWITCH);
    EXPECT_EQ(sim().SimLogCount(), 0u);
    ASSERT_TRUE(dialog->OpenViewFinder(TRUE));
    sim().SimLogClear();
    Send(hwnd(), WM_CAM_VIEWFINDER_SWITCH);
    EXPECT_EQ(sim().Count("CDTermViewfinder"), 1);
    Send(hwnd(), WM_CAM_VIEWFINDER_SWITCH);
    EXPECT_EQ(sim().Count("CDStartViewfinder"), 1);
}

TEST_F(CameraMessageTest, SetSaveFolderTakesOnlyAnExistingFolderForTheController) {
    const std::string folder = TestFile("other saves");
    CreateDirectoryA(folder.c_str(), nullptr);
    OpenModeless(0);
    const std::string before = Access::SaveFolder(*dialog);
    const std::string controllerBefore = Access::Camera(*dialog).GetSaveFolder();
    Send(hwnd(), WM_CAM_SET_SAVE_FOLDER, reinterpret_cast<WPARAM>("Z:\\no\\such\\folder"));
    Send(hwnd(), WM_CAM_SET_SAVE_FOLDER, 0);
    EXPECT_EQ(Access::Camera(*dialog).GetSaveFolder(), controllerBefore);
    Send(hwnd(), WM_CAM_SET_SAVE_FOLDER, reinterpret_cast<WPARAM>(folder.c_str()));
    EXPECT_EQ(Access::Camera(*dialog).GetSaveFolder(), folder);
    EXPECT_EQ(Access::SaveFolder(*dialog), before);
}

TEST_F(CameraMessageTest, WithoutHostWindowNotificationsGoNowhere) {
    dialog = std::make_unique<CameraDialog>(host.hwnd());
    para = MakePara(nullptr, 1);
    dialog->ApplyPara(&para);
    ASSERT_TRUE(dialog->Create(host.hwnd()));
    const char path[] = "x.jpg";
    Send(hwnd(), WM_CAM_STATUS, 1, reinterpret_cast<LPARAM>(path));
    Send(hwnd(), WM_CAM_FILE_SAVED, reinterpret_cast<WPARAM>(path));
    Send(hwnd(), WM_CAM_VIEWFINDER_ENABLE, 1, 1);
    Send(hwnd(), WM_CAM_POWERED_OFF);
    dialog.reset();
    EXPECT_TRUE(host.Take().empty());
}
