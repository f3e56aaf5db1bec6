// The camera window as a user and a host meet it: modal and modeless windows, control states,
// buttons, and the operations behind the interface methods.
#include <windows.h>
#include <commctrl.h>

#include "camera/camera_messages.h"
#include "tests/dialog/dialog_test_support.h"

// The modal window is owned as a Windows dialog is: by the given window's top-level window,
// else by the active one; that owner is disabled while it runs.
TEST_F(CameraWindowTest, ModalWindowIsOwnedShowsOkAndOnlyItEndsOnEnterAndEscape) {
    HWND other = CreateWindowExA(0, "Static", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200, nullptr,
                                 nullptr, nullptr, nullptr);
    HWND inner = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, other, nullptr, nullptr, nullptr);
    dialog = std::make_unique<CameraDialog>(nullptr);
    dialog->ApplyPara(nullptr);  // showControls 0, which only the modeless window heeds
    dialog->SetModal(TRUE);
    struct Case { WPARAM key; HWND given, owner; };
    const Case cases[] = {{VK_RETURN, inner, other}, {VK_ESCAPE, nullptr, host.hwnd()},
                          {VK_RETURN, reinterpret_cast<HWND>(0x5EED), host.hwnd()}};
    for (const Case& c : cases) {  // the same object runs further windows
        SetActiveWindow(host.hwnd());
        HWND owner = nullptr;
        bool ownerEnabled = true;
        host.PostAction([&] {
            HWND window = dialog->GetSafeHwnd();
            owner = GetWindow(window, GW_OWNER), ownerEnabled = IsWindowEnabled(owner);
            EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) & (WS_CHILD | 0x80C80000), 0x80C80000);  // pop-up, caption
            EXPECT_EQ(Controls(window), "Source Connect Setting- Disconnect- Release- Viewfinder- LCD- Zoom- Search "
                                        "View OK (ZoomLabel) (TestShoot-)");
            PostMessageA(window, WM_KEYDOWN, c.key, 0);
        });
        EXPECT_EQ(dialog->DoModal(c.given), c.key == VK_RETURN ? IDOK : IDCANCEL);
        EXPECT_EQ(owner, c.owner);
        EXPECT_FALSE(ownerEnabled);
        EXPECT_TRUE(IsWindowEnabled(c.owner));
        EXPECT_EQ(dialog->GetSafeHwnd(), nullptr);
    }
    DestroyWindow(other);

    // Embedded, the host's loop (no IsDialogMessage there) brings Tab, which moves the focus, and
    // Enter and Escape, which do nothing.
    OpenModeless(1);
    const HWND first = hwnd();
    EXPECT_TRUE(dialog->Create(host.hwnd()));  // one window only
    EXPECT_EQ(first, hwnd());
    EXPECT_EQ(-1, dialog->DoModal());
    ASSERT_EQ(GetParent(hwnd()), host.hwnd());
    EXPECT_EQ(GetWindowLongPtrA(hwnd(), GWL_STYLE) & (WS_CHILD | WS_CAPTION), WS_CHILD);
    EXPECT_EQ(Controls(hwnd()), kIdlePanel);
    HWND sources = GetDlgItem(hwnd(), IDC_HandleCanonDlg_SourceCmb);
    SetFocus(sources);  // its edit
    for (WPARAM key : {VK_RETURN, VK_ESCAPE, VK_TAB}) {
        PostMessageA(GetFocus(), WM_KEYDOWN, key, 0);
        Drain();
    }
    EXPECT_EQ(GetFocus(), GetNextDlgTabItem(hwnd(), sources, FALSE));
    SendMessageA(hwnd(), WM_CLOSE, 0, 0);
    Drain();
    EXPECT_TRUE(IsWindowVisible(hwnd()));
}

TEST_F(CameraWindowTest, SourceListHoldsTheRecordsOrNoneAndConnectFailuresKeepConnect) {
    Configure("[Camera1]\nBusy=1\n");
    OpenModeless(1);
    SourceInfo records[2] = {};
    ASSERT_TRUE(dialog->GetSouceInfo(records, 2));
    ASSERT_EQ(Combo(CB_GETCOUNT), 2);
    for (int i = 0; i < 2; ++i) {
        const auto* data = reinterpret_cast<const SourceInfo*>(Combo(CB_GETITEMDATA, i));
        EXPECT_EQ(records[i].modelName, ComboText(i));
        ASSERT_NE(nullptr, data);
        EXPECT_STREQ(records[i].modelName, data->modelName);
    }
    EXPECT_EQ(Combo(CB_GETCURSEL), 0);
    ConnectWithButton();  // busy
    EXPECT_EQ(Controls(hwnd()), kIdlePanel);

    Configure("[Simulator]\nCameras=0\n");
    Click(hwnd(), IDC_BtnSearch);
    EXPECT_EQ(1, Combo(CB_GETCOUNT));
    EXPECT_EQ("None", ComboText(0));
    EXPECT_EQ(0, Combo(CB_GETITEMDATA, 0));
    uint32_t count = 9;
    EXPECT_FALSE(dialog->GetDeviceCounts(&count));
    EXPECT_EQ(0u, count);
    Sim().SimLogClear();
    ConnectWithButton();
    EXPECT_EQ(0, Count("CDOpenSource"));
    EXPECT_EQ(kIdlePanel, Controls(hwnd()));
    dialog->DestroyWindow();  // the controller's end is the host's last news
    const auto last = host.Take();
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(kMsgStatus, last.back().message);
    EXPECT_EQ(0u, last.back().wParam);
    EXPECT_EQ("", last.back().text);
}

TEST_F(CameraWindowTest, LiveViewOnlyWindowFillsTheRectangleWithTheViewAndListsNothing) {
    const RECT wanted{10, 20, 490, 420};
    OpenModeless(0, &wanted);
    EXPECT_EQ(Place(host.hwnd(), GetDlgCtrlID(hwnd())), "0010,0020,0480,0400");
    EXPECT_EQ(Place(hwnd(), IDC_HndlCnnDlg_View), "0000,0000,0480,0400");
    EXPECT_EQ(Controls(hwnd()), "(Source) (Connect) (Setting-) (Disconnect-) (Release-) (Viewfinder-) (LCD-) (Zoom-) "
                                "Search (View) (OK) (ZoomLabel) (TestShoot-)");
    EXPECT_EQ(Combo(CB_GETCOUNT) + Count("CDEnumDeviceReset"), 0);
}

TEST_F(CameraWindowTest, InterfaceOperationsDriveTheCameraButOnlyTheConnectButtonEnablesButtons) {
    Configure("[Camera1]\nZoomMax=12\nZoomOther=3\nZoomPos=7\n");
    OpenModeless(1);
    SourceInfo records[2] = {};
    ASSERT_TRUE(dialog->GetSouceInfo(records, 2));
    host.Take();
    ASSERT_TRUE(dialog->Connect(&records[0]));
    Drain();
    EXPECT_FALSE(dialog->Connect(&records[1]));  // one source at a time
    // Only the controller's own notices act on the controls: zoom and viewfinder are offered,
    // and the host hears of the viewfinder.
    EXPECT_EQ(Controls(hwnd()), "Source Connect Setting- Disconnect- Release- Viewfinder LCD- Zoom Search View (OK) "
                                "(ZoomLabel) (TestShoot-)");
    EXPECT_EQ(host.Of(kMsgViewfinderEnable), std::vector<Notification>({{kMsgViewfinderEnable, 1, 0, ""}}));
    // Zoom: the SDK's two maxima change places; a new position is stored but leaves the slider.
    uint32_t maxPos = 0, second = 0, position = 0;
    EXPECT_TRUE(dialog->GetMaxZoomPos(&maxPos, &second));
    EXPECT_EQ(std::make_pair(3u, 12u), std::make_pair(maxPos, second));
    ASSERT_TRUE(dialog->SetZoomPos(6));
    ASSERT_TRUE(dialog->GetCurrentZoomPos(&position));
    EXPECT_EQ(6u, position);
    EXPECT_FALSE(dialog->SetZoomPos(13));  // above the maximum
    EXPECT_EQ(IniText("SetData.ini", (std::string(records[0].modelName) + "Setting").c_str(), "Zoom Pos"), "6");
    EXPECT_EQ(SendDlgItemMessageA(hwnd(), IDC_HndlCnnDlg_ZomSldr, TBM_GETPOS, 0, 0), 0);

    // A failed start fails; the first successful call starts and shows whatever the flag; later
    // calls only show or hide.
    Sim().SimSetFault("CDLockUI", cdNOT_CONNECTED, 1);
    EXPECT_FALSE(dialog->OpenViewFinder(TRUE));
    EXPECT_EQ(Access::ViewState(*dialog), "stopped");
    for (BOOL show : {FALSE, FALSE, TRUE}) ASSERT_TRUE(dialog->OpenViewFinder(show));
    EXPECT_EQ("started shown", Access::ViewState(*dialog));
    EXPECT_EQ(1, Count("CDStartViewfinder"));
    // The simulated scene is no flat grey: frames from the camera reach the window.
    EXPECT_TRUE(test_support::PumpUntil([&] { return ViewCentre() != CameraDialog::kBackground; }, 5000));
    ASSERT_TRUE(dialog->OpenViewFinder(FALSE));
    EXPECT_EQ("started", Access::ViewState(*dialog));
    EXPECT_EQ(CameraDialog::kBackground, ViewCentre());

    ASSERT_TRUE(dialog->Disconnect());
    EXPECT_EQ("stopped", Access::ViewState(*dialog));
    EXPECT_FALSE(Connected());
}

TEST_F(CameraWindowTest, ButtonsDriveZoomViewfinderLcdAndDisconnect) {
    Configure("[Camera1]\nZoomMax=12\nZoomPos=7\n");
    OpenModeless(1);
    EXPECT_FALSE(dialog->PopSettingDlg());  // no camera yet
    ConnectWithButton();
    EXPECT_TRUE(dialog->PopSettingDlg());
    // The slider shows the zoom; keys move it, not the lens, which follows when it lets go.
    HWND slider = GetDlgItem(hwnd(), IDC_HndlCnnDlg_ZomSldr);
    EXPECT_EQ(12, SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(7, SendMessageA(slider, TBM_GETPOS, 0, 0));
    NMHDR letGo{slider, IDC_HndlCnnDlg_ZomSldr, static_cast<UINT>(NM_RELEASEDCAPTURE)};
    SetFocus(slider);
    SendMessageA(slider, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(8, SendMessageA(slider, TBM_GETPOS, 0, 0));
    EXPECT_EQ(0, Count("CDSetZoomPos"));
    for (int i = 0; i < 2; ++i) SendMessageA(hwnd(), WM_NOTIFY, IDC_HndlCnnDlg_ZomSldr, LPARAM(&letGo));
    auto calls = SimCalls("CDSetZoomPos");  // once: the second time the lens is there already
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(8u, calls[0].args[1]);
    EXPECT_TRUE(IsWindowEnabled(slider));
    auto viewfinder = [&] {
        Click(hwnd(), IDC_HndlCnnDlg_ViewFinder);
        return Text(hwnd(), IDC_HndlCnnDlg_ViewFinder) + ": " + Access::ViewState(*dialog) +
               (On(IDC_HndlCnnDlg_ViewFinder) ? "" : ", disabled");
    };
    // A failed start keeps the button as it was, and the next click tries again.
    Sim().SimSetFault("CDLockUI", cdNOT_CONNECTED, 1);
    EXPECT_EQ(viewfinder(), "Viewfinder: stopped");
    EXPECT_EQ(viewfinder(), "View Off: started shown");
    Drain();
    EXPECT_TRUE(On(IDC_HndlCnnDlg_ToLCD));  // the running viewfinder offers the LCD
    EXPECT_EQ(viewfinder(), "View On: started");
    EXPECT_EQ(ViewCentre(), CameraDialog::kBackground);
    EXPECT_EQ(viewfinder(), "View Off: started shown");
    EXPECT_EQ(Count("CDStartViewfinder"), 1);  // shown again, not restarted

    Sim().SimLogClear();
    for (int i = 0; i < 3; ++i) Click(hwnd(), IDC_HndlCnnDlg_ToLCD);
    calls = SimCalls("CDSelectViewFinderCameraOutput");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(cdVF_OUTPUT_LCD_ON, calls[0].args[1]);
    EXPECT_EQ(cdVF_OUTPUT_LCD_OFF, calls[1].args[1]);

    Sim().SimLogClear();
    Click(hwnd(), IDC_HandleCanonDlg_DisCnect);  // puts the panel back
    Drain();
    EXPECT_EQ(kIdlePanel, Controls(hwnd()));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(hwnd(), IDC_HndlCnnDlg_ToLCD));
    EXPECT_EQ(Text(hwnd(), IDC_HndlCnnDlg_ViewFinder) + ": " + Access::ViewState(*dialog), "View On: stopped");
    EXPECT_EQ(1, Count("CDCloseSource"));
    EXPECT_FALSE(Connected());
    ConnectWithButton();
    EXPECT_EQ(Controls(hwnd()), "Source Connect- Setting Disconnect Release Viewfinder LCD- Zoom Search View (OK) "
                                "(ZoomLabel) (TestShoot)");  // To LCD waits for a running viewfinder
}

// (Null, overlong and unterminated folders reach the same fallback through the interface.)
TEST_F(CameraWindowTest, SaveFolderMustExistOrTheDefaultIsTakenAndNoWindowMeansNoCamera) {
    const std::string slashed = TestFile("saves") + "\\";
    CreateDirectoryA(slashed.c_str(), nullptr);
    const std::pair<const char*, std::string> rows[] = {  // folder, chosen: kept as given or the default
        {slashed.c_str(), slashed}, {"", "c:\\Canon"}, {"Z:\\no\\such\\folder", "c:\\Canon"}};
    CameraDialog d(nullptr);
    for (const auto& [folder, chosen] : rows) {
        const KamvioPara block = HostPara(host.hwnd(), 1, folder);
        EXPECT_EQ(chosen == folder, SaveFolderExists(folder)) << folder;
        EXPECT_TRUE(d.ApplyPara(&block));
        EXPECT_EQ(Access::SaveFolder(d), chosen);
    }
    EXPECT_NE(GetFileAttributesA("c:\\Canon") & FILE_ATTRIBUTE_DIRECTORY, 0u);  // created
    EXPECT_TRUE(d.ApplyPara(nullptr));
    EXPECT_EQ("c:\\Canon", Access::SaveFolder(d));

    uint32_t count = 77, zoom = 77, second = 77;
    SourceInfo records[2] = {};
    BOOL connected = 5;
    // All fail but the last two, which have nothing to undo.
    EXPECT_EQ((std::vector<BOOL>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1}),
              (std::vector<BOOL>{d.GetDeviceCounts(&count), d.GetSouceInfo(records, 2), d.Connect(&records[0]),
                                 d.TakePhoto(), d.OpenViewFinder(TRUE), d.OpenCameraLCDView(TRUE),
                                 d.GetMaxZoomPos(&zoom, &second), d.SetZoomPos(1), d.GetCurrentZoomPos(&zoom),
                                 d.PopSettingDlg(), d.ShowWindow(SW_SHOW), d.DestroyWindow(), d.Disconnect(),
                                 d.IsConnected(&connected)}));
    EXPECT_EQ((std::vector<uint32_t>{0, 77, 77, 0}),
              (std::vector<uint32_t>{uint32_t(connected), zoom, second, Sim().SimLogCount()}));
}
