// The camera window as a user meets it: modal and modeless windows, control states, buttons.
#include <windows.h>
#include <commctrl.h>

#include "tests/dialog/camera_window_fixture.h"

using namespace dialog_test;
using Access = CameraDialogTestAccess;

namespace {

// Every control of the panel that ShowControls moves, OK aside.
const int kPanel[] = {IDC_HandleCanonDlg_SourceCmb, IDC_HandleCanonDlg_Connect, IDC_HandleCanonDlg_DisCnect,
                      IDC_HandleCanonDlg_Release,   IDC_HndlCnnDlg_ViewFinder,  IDC_HndlCnnDlg_ToLCD,
                      IDC_HndlCnnDlg_ZomSldr,       IDC_HndlCnnDlg_Setting,     IDC_HndlCnnDlg_View};
// The controls that need a camera.
const int kCameraControls[] = {IDC_HndlCnnDlg_Setting,    IDC_HandleCanonDlg_DisCnect, IDC_HandleCanonDlg_Release,
                               IDC_HndlCnnDlg_ViewFinder, IDC_HndlCnnDlg_ToLCD,        IDC_HndlCnnDlg_TestShoot,
                               IDC_HndlCnnDlg_ZomSldr};

struct ModalSnapshot {
    LONG_PTR style = 0;
    bool okVisible = false;
    bool panelVisible = true;
    bool neverShownHidden = false;
    int sources = 0;
    bool cameraControlsDisabled = true;
};

ModalSnapshot Snapshot(HWND window) {
    ModalSnapshot s;
    s.style = GetWindowLongPtrA(window, GWL_STYLE);
    s.okVisible = Visible(window, IDOK);
    for (int id : kPanel) s.panelVisible = s.panelVisible && Visible(window, id);
    s.neverShownHidden = !Visible(window, IDC_HndlCnnDlg_ZoomLabel) && !Visible(window, IDC_HndlCnnDlg_TestShoot);
    s.sources = static_cast<int>(SendDlgItemMessageA(window, IDC_HandleCanonDlg_SourceCmb, CB_GETCOUNT, 0, 0));
    for (int id : kCameraControls) s.cameraControlsDisabled = s.cameraControlsDisabled && !Enabled(window, id);
    return s;
}

}  // namespace

TEST_F(CameraWindowTest, ModalWindowIsAPopUpWithThePanelAndOkAndEnterEndsIt) {
    dialog = std::make_unique<CameraDialog>(nullptr);
    para = MakePara(host.hwnd(), 0);  // showControls is for the modeless window only
    dialog->ApplyPara(&para);
    dialog->SetModal(TRUE);
    ModalSnapshot seen;
    host.PostAction([&] {
        HWND window = dialog->GetSafeHwnd();
        ASSERT_NE(window, nullptr);
        seen = Snapshot(window);
        PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_EQ(dialog->DoModal(), IDOK);
    EXPECT_EQ(seen.style & WS_CHILD, 0);
    EXPECT_EQ(static_cast<DWORD>(seen.style) & 0x80C80000u, 0x80C80000u);
    EXPECT_TRUE(seen.okVisible);
    EXPECT_TRUE(seen.panelVisible);
    EXPECT_TRUE(seen.neverShownHidden);
    EXPECT_EQ(seen.sources, 2);
    EXPECT_TRUE(seen.cameraControlsDisabled);
    EXPECT_EQ(dialog->GetSafeHwnd(), nullptr);
}

TEST_F(CameraWindowTest, ModalWindowEndsWithCancelOnEscapeAndOnClose) {
    dialog = std::make_unique<CameraDialog>(nullptr);
    dialog->ApplyPara(nullptr);
    dialog->SetModal(TRUE);
    host.PostAction([&] { PostMessageA(dialog->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0); });
    EXPECT_EQ(dialog->DoModal(), IDCANCEL);
    // The same object runs a second window.
    host.PostAction([&] { PostMessageA(dialog->GetSafeHwnd(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(dialog->DoModal(), IDCANCEL);
}

TEST_F(CameraWindowTest, ModelessWindowWithControlsListsTheSourcesWithoutOk) {
    OpenModeless(1);
    ASSERT_NE(hwnd(), nullptr);
    EXPECT_EQ(GetParent(hwnd()), host.hwnd());
    EXPECT_NE(GetWindowLongPtrA(hwnd(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetWindowLongPtrA(hwnd(), GWL_STYLE) & WS_CAPTION, 0);
    for (int id : kPanel) EXPECT_TRUE(Visible(hwnd(), id)) << id;
    EXPECT_FALSE(Visible(hwnd(), IDOK));
    EXPECT_TRUE(Visible(hwnd(), IDC_BtnSearch));
    EXPECT_FALSE(Visible(hwnd(), IDC_HndlCnnDlg_ZoomLabel));
    EXPECT_FALSE(Visible(hwnd(), IDC_HndlCnnDlg_TestShoot));
    for (int id : kCameraControls) EXPECT_FALSE(Enabled(hwnd(), id)) << id;
    EXPECT_TRUE(Enabled(hwnd(), IDC_HandleCanonDlg_SourceCmb));
    EXPECT_TRUE(Enabled(hwnd(), IDC_HandleCanonDlg_Connect));

    // One entry per source, showing its name and carrying its record.
    SourceInfo records[2] = {};
    ASSERT_TRUE(dialog->GetSouceInfo(records, 2));
    ASSERT_EQ(ComboCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(ComboText(i), records[i].modelName);
        auto data = SendDlgItemMessageA(hwnd(), IDC_HandleCanonDlg_SourceCmb, CB_GETITEMDATA, i, 0);
        ASSERT_NE(data, 0);
        EXPECT_STREQ(reinterpret_cast<const SourceInfo*>(data)->modelName, records[i].modelName);
    }
    EXPECT_EQ(SendDlgItemMessageA(hwnd(), IDC_HandleCanonDlg_SourceCmb, CB_GETCURSEL, 0, 0), 0);

    // The host heard that the controller started, with the (still empty) camera name.
    auto status = host.Of(kMsgStatus);
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.front().wParam, 1u);
    EXPECT_EQ(status.front().text, "");
}

TEST_F(CameraWindowTest, LiveViewOnlyWindowFillsTheRectangleWithTheViewAndListsNothing) {
    const RECT wanted{10, 20, 490, 420};
    OpenModeless(0, &wanted);
    RECT window{};
    GetWindowRect(hwnd(), &window);
    MapWindowPoints(nullptr, host.hwnd(), reinterpret_cast<POINT*>(&window), 2);
    EXPECT_EQ(window.left, 10);
    EXPECT_EQ(window.top, 20);
    EXPECT_EQ(window.right - window.left, 480);
    EXPECT_EQ(window.bottom - window.top, 400);
    const RECT view = ClientRectOf(hwnd(), IDC_HndlCnnDlg_View);
    EXPECT_EQ(view.left, 0);
    EXPECT_EQ(view.top, 0);
    EXPECT_EQ(view.right, 480);
    EXPECT_EQ(view.bottom, 400);
    for (int id : kPanel) EXPECT_FALSE(Visible(hwnd(), id)) << id;
    EXPECT_FALSE(Visible(hwnd(), IDOK));
    EXPECT_EQ(ComboCount(), 0);
    EXPECT_EQ(sim().Count("CDEnumDeviceReset"), 0);
    // The drawing surfaces have the area's size.
    BITMAP bitmap{};
    ASSERT_TRUE(GetObjectA(Access::ViewBitmap(*dialog), sizeof bitmap, &bitmap));
    EXPECT_EQ(bitmap.bmWidth, 480);
    EXPECT_EQ(bitmap.bmHeight, 400);
    ASSERT_TRUE(GetObjectA(Access::ImageBitmap(*dialog), sizeof bitmap, &bitmap));
    EXPECT_EQ(bitmap.bmWidth, 480);
}

TEST_F(CameraWindowTest, ModelessWindowIgnoresEnterEscapeOkAndClose) {
    OpenModeless(1);
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        MSG msg{hwnd(), WM_KEYDOWN, key, 0, 0, {0, 0}};
        IsDialogMessageA(hwnd(), &msg);
    }
    SendMessageA(hwnd(), WM_COMMAND, IDOK, 0);
    SendMessageA(hwnd(), WM_COMMAND, IDCANCEL, 0);
    SendMessageA(hwnd(), WM_CLOSE, 0, 0);
    Drain();
    ASSERT_TRUE(IsWindow(hwnd()));
    EXPECT_TRUE(IsWindowVisible(hwnd()));
}

TEST_F(CameraWindowTest, WithoutCameraTheListHoldsNoneAndConnectDoesNothing) {
    Configure("[Simulator]\nCameras=0\n");
    OpenModeless(1);
    ASSERT_EQ(ComboCount(), 1);
    EXPECT_EQ(ComboText(0), "None");
    EXPECT_EQ(SendDlgItemMessageA(hwnd(), IDC_HandleCanonDlg_SourceCmb, CB_GETITEMDATA, 0, 0), 0);
    host.Clear();
    ConnectWithButton();
    EXPECT_EQ(sim().Count("CDOpenSource"), 0);
    EXPECT_TRUE(Enabled(hwnd(), IDC_HandleCanonDlg_Connect));
    BOOL connected = TRUE;
    ASSERT_TRUE(dialog->IsConnected(&connected));
    EXPECT_FALSE(connected);
    EXPECT_TRUE(host.Take().empty());
}

TEST_F(CameraWindowTest, InterfaceConnectEnablesNoButtonButTheConnectButtonDoes) {
    OpenModeless(1);
    SourceInfo records[2] = {};
    ASSERT_TRUE(dialog->GetSouceInfo(records, 2));
    host.Clear();
    ASSERT_TRUE(dialog->Connect(&records[0]));
    EXPECT_EQ(Access::Source(*dialog), records[0].modelName);
    // The controller's own messages act on the controls all the same: the zoom notice it sends
    // during the connect enables the slider of this zoom camera.
    EXPECT_TRUE(Enabled(hwnd(), IDC_HndlCnnDlg_ZomSldr));
    for (int id : kCameraControls) {
        if (id != IDC_HndlCnnDlg_ZomSldr) {
            EXPECT_FALSE(Enabled(hwnd(), id)) << id;
        }
    }
    Drain();
    EXPECT_FALSE(Enabled(hwnd(), IDC_HandleCanonDlg_DisCnect));
    EXPECT_FALSE(Enabled(hwnd(), IDC_HandleCanonDlg_Release));
    EXPECT_FALSE(Enabled(hwnd(), IDC_HndlCnnDlg_Setting));
    // Likewise its posted viewfinder notice enables the Viewfinder button and reaches the host.
    EXPECT_TRUE(Enabled(hwnd(), IDC_HndlCnnDlg_ViewFinder));
    auto offered = host.Of(kMsgViewfinderEnable);
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].wParam, 1u);
    EXPECT_EQ(offered[0].lParam, 0);

    ASSERT_TRUE(dialog->Disconnect());
    ConnectWithButton(0);
    for (int id : {IDC_HndlCnnDlg_Setting, IDC_HandleCanonDlg_DisCnect, IDC_HandleCanonDlg_Release,
                   IDC_HndlCnnDlg_ViewFinder, IDC_HndlCnnDlg_ZomSldr})
        EXPECT_TRUE(Enabled(hwnd(), id)) << id;
    EXPECT_FALSE(Enabled(hwnd(), IDC_HandleCanonDlg_Connect));
    // To LCD waits for a running viewfinder.
    EXPECT_FALSE(Enabled(hwnd(), IDC_HndlCnnDlg_ToLCD));
    EXPECT_EQ(Access::Source(*dialog), ComboText(0));
}

TEST_F(CameraWindowTest, ConnectButtonSetsUpTheZoomSlider) {
    Configure("[Camera1]\nZoomMax=12\nZoomOther=3\nZoomPos=7\n");
    OpenModeless(1);
    ConnectWithButton(0);
    HWND slider = GetDlgItem(hwnd(), IDC_HndlCnnDlg_ZomSldr);
    EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0), 12);
    EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 7);
}

TEST_F(CameraWindowTest, FailedConnectLeavesConnectEnabled) {
    Configure("[Camera1]\nBusy=1\n");
    OpenModeless(1);
    ConnectWithButton(0);
    EXPECT_TRUE(Enabled(hwnd(), IDC_HandleCanonDlg_Connect));
    EXPECT_FALSE(Enabled(hwnd(), IDC_HandleCanonDlg_DisCnect));
    // The busy camera's warning came from the controller.
    EXPECT_TRUE(test_support::PumpUntil([] { return !test_support::TakeMessageBoxes().empty(); }, 5000));
}

TEST_F(CameraWindowTest, ViewfinderButtonStartsThenHidesAndShowsTheLiveView) {
    OpenModeless(1);
    ConnectWithButton(0);
    Click(hwnd(), IDC_HndlCnnDlg_ViewFinder);
    EXPECT_EQ(Text(hwnd(), IDC_HndlCnnDlg_ViewFinder), "View Off");
    EXPECT_TRUE(Access::ViewStarted(*dialog));
    EXPECT_TRUE(Access::ViewShown(*dialog));
    EXPECT_TRUE(Enabled(hwnd(), IDC_HndlCnnDlg_ViewFinder));
    Drain();
    EXPECT_TRUE(Enabled(hwnd(), IDC_HndlCnnDlg_ToLCD));  // the running viewfinder offers the LCD

    Click(hwnd(), IDC_HndlCnnDlg_ViewFinder);
    EXPECT_EQ(Text(hwnd(), IDC_HndlCnnDlg_ViewFinder), "View On");
    EXPECT_TRUE(Access::ViewStarted(*dialog));
    EXPECT_FALSE(Access::ViewShown(*dialog));
    const RECT view = ClientRectOf(hwnd(), IDC_HndlCnnDlg_View);
    EXPECT_EQ(WindowPixel((view.left + view.right) / 2, (view.top + view.bottom) / 2), CameraDialog::kBackground);

    Click(hwnd(), IDC_HndlCnnDlg_ViewFinder);
    EXPECT_EQ(Text(hwnd(), IDC_HndlCnnDlg_ViewFinder), "View Off");
    EXPECT_EQ(sim().Count("CDStartViewfinder"), 1);  // shown again, not restarted
}

TEST_F(CameraWindowTest, FailedViewfinderStartKeepsTheButtonAndTheNextClickTriesAgain) {
    OpenModeless(1);
    ConnectWithButton(0);
    sim().SimSetFault("CDLockUI", cdNOT_CONNECTED, 1);
    Click(hwnd(), IDC_HndlCnnDlg_ViewFinder);
    EXPECT_TRUE(Enabled(hwnd(), IDC_HndlCnnDlg_ViewFinder));
    EXPECT_EQ(Text(hwnd(), IDC_HndlCnnDlg_ViewFinder), "Viewfinder");
    EXPECT_FALSE(Access::ViewStarted(*dialog));
    EXPECT_FALSE(Access::ViewShown(*dialog));
    EXPECT_EQ(sim().Count("CDStartViewfinder"), 0);
    Click(hwnd(), IDC_HndlCnnDlg_ViewFinder);
    EXPECT_EQ(sim().Count("CDStartViewfinder"), 1);
    EXPECT_EQ(Text(hwnd(), IDC_HndlCnnDlg_ViewFinder), "View Off");
}

TEST_F(CameraWindowTest, DisconnectButtonPutsThePanelBack) {
    OpenModeless(1);
    ConnectWithButton(0);
    Click(hwnd(), IDC_HndlCnnDlg_ViewFinder);
    Drain();
    ASSERT_TRUE(Enabled(hwnd(), IDC_HndlCnnDlg_ToLCD));
    Click(hwnd(), IDC_HndlCnnDlg_ToLCD);
    ASSERT_EQ(IsDlgButtonChecked(hwnd(), IDC_HndlCnnDlg_ToLCD), BST_CHECKED);

    Click(hwnd(), IDC_HandleCanonDlg_DisCnect);
    Drain();
    for (int id : kCameraControls) EXPECT_FALSE(Enabled(hwnd(), id)) << id;
    EXPECT_TRUE(Enabled(hwnd(), IDC_HandleCanonDlg_Connect));
    EXPECT_EQ(IsDlgButtonChecked(hwnd(), IDC_HndlCnnDlg_ToLCD), BST_UNCHECKED);
    EXPECT_EQ(Text(hwnd(), IDC_HndlCnnDlg_ViewFinder), "View On");
    EXPECT_FALSE(Access::ViewStarted(*dialog));
    EXPECT_FALSE(Access::ViewShown(*dialog));
    EXPECT_EQ(sim().Count("CDCloseSource"), 1);
    BOOL connected = TRUE;
    dialog->IsConnected(&connected);
    EXPECT_FALSE(connected);
    // Connecting again works from the same list.
    ConnectWithButton(0);
    EXPECT_TRUE(Enabled(hwnd(), IDC_HandleCanonDlg_DisCnect));
}

TEST_F(CameraWindowTest, ReleaseButtonShootsAndTheHostHearsOfTheLastFile) {
    const std::string folder = TestFile("shots");
    CreateDirectoryA(folder.c_str(), nullptr);
    OpenModeless(1, nullptr, folder.c_str());
    ConnectWithButton(0);
    host.Clear();
    Click(hwnd(), IDC_HandleCanonDlg_Release);
    EXPECT_TRUE(Enabled(hwnd(), IDC_HandleCanonDlg_Release));
    EXPECT_EQ(sim().Count("CDRelease"), 1);
    ASSERT_TRUE(test_support::PumpUntil([&] { return !host.Of(kMsgFileSaved).empty(); }, 10000));
    const Notification saved = host.Of(kMsgFileSaved).front();
    EXPECT_EQ(saved.text.rfind(folder + "\\", 0), 0u) << saved.text;
    EXPECT_NE(GetFileAttributesA(saved.text.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(IniValue(TestFile("FilePath.ini"), "FINISHED", "File Path"), saved.text);
}

TEST_F(CameraWindowTest, SearchButtonFillsTheListAgain) {
    OpenModeless(1);
    SendDlgItemMessageA(hwnd(), IDC_HandleCanonDlg_SourceCmb, CB_SETCURSEL, 1, 0);
    sim().SimLogClear();
    Click(hwnd(), IDC_BtnSearch);
    EXPECT_EQ(sim().Count("CDEnumDeviceReset"), 1);
    EXPECT_EQ(ComboCount(), 2);
    EXPECT_EQ(SendDlgItemMessageA(hwnd(), IDC_HandleCanonDlg_SourceCmb, CB_GETCURSEL, 0, 0), 0);
}

TEST_F(CameraWindowTest, ToLcdCheckBoxSwitchesTheCameraOutput) {
    OpenModeless(1);
    ConnectWithButton(0);
    Click(hwnd(), IDC_HndlCnnDlg_ViewFinder);
    Drain();
    sim().SimLogClear();
    Click(hwnd(), IDC_HndlCnnDlg_ToLCD);
    Click(hwnd(), IDC_HndlCnnDlg_ToLCD);
    auto calls = sim().Calls("CDSelectViewFinderCameraOutput");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].args[1], cdVF_OUTPUT_LCD_ON);
    EXPECT_EQ(calls[1].args[1], cdVF_OUTPUT_LCD_OFF);
}

TEST_F(CameraWindowTest, ZoomFollowsTheSliderOnlyWhenItReleasesTheMouse) {
    Configure("[Camera1]\nZoomMax=9\nZoomPos=2\n");
    OpenModeless(1);
    ConnectWithButton(0);
    HWND slider = GetDlgItem(hwnd(), IDC_HndlCnnDlg_ZomSldr);
    sim().SimLogClear();
    auto releaseCapture = [&] {
        NMHDR header{slider, IDC_HndlCnnDlg_ZomSldr, static_cast<UINT>(NM_RELEASEDCAPTURE)};
        return SendMessageA(hwnd(), WM_NOTIFY, IDC_HndlCnnDlg_ZomSldr, reinterpret_cast<LPARAM>(&header));
    };
    // Keys move the slider, not the lens.
    SetFocus(slider);
    SendMessageA(slider, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(slider, WM_KEYUP, VK_DOWN, 0);
    EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 3);
    EXPECT_EQ(sim().Count("CDSetZoomPos"), 0);
    EXPECT_EQ(sim().Setting("ZoomPos"), 2u);

    SendMessageA(slider, TBM_SETPOS, TRUE, 5);
    releaseCapture();
    EXPECT_EQ(sim().Setting("ZoomPos"), 5u);
    EXPECT_TRUE(IsWindowEnabled(slider));
    const std::string section = ComboText(0) + "Setting";
    EXPECT_EQ(IniValue(TestFile("SetData.ini"), section.c_str(), "Zoom Pos"), "5");

    // Letting go where the lens already is changes nothing.
    sim().SimLogClear();
    releaseCapture();
    EXPECT_EQ(sim().Count("CDSetZoomPos"), 0);
}

TEST_F(CameraWindowTest, TextsComeFromTheLanguageFileSections) {
    ASSERT_TRUE(test_support::WriteTextFile(TestFile("KamvioML.ini"),
                                            "[Handle dialog]\r\nConnect=Verbinden\r\nView On=unused\r\n"
                                            "[Error Message]\r\nView Off=Bild aus\r\nView On=Bild an\r\n"));
    OpenModeless(1);
    EXPECT_EQ(Text(hwnd(), IDC_HandleCanonDlg_Connect), "Verbinden");
    EXPECT_EQ(Text(hwnd(), IDC_HandleCanonDlg_Release), "Release");
    ConnectWithButton(0);
    // After the window texts the translator stays on the message section, which the button
    // captions of the viewfinder then come from.
    Click(hwnd(), IDC_HndlCnnDlg_ViewFinder);
    EXPECT_EQ(Text(hwnd(), IDC_HndlCnnDlg_ViewFinder), "Bild aus");
    Click(hwnd(), IDC_HndlCnnDlg_ViewFinder);
    EXPECT_EQ(Text(hwnd(), IDC_HndlCnnDlg_ViewFinder), "Bild an");
}
