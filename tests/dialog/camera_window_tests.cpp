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
    EXPECT_TRUE(dialog->Create(host.hwnd()) && hwnd() == first && dialog->DoModal() == -1);  // one window only
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
    EXPECT_TRUE(IsWindow(hwnd()) && IsWindowVisible(hwnd()));
}

TEST_F(CameraWindowTest, SourceListHoldsTheRecordsOrNoneAndConnectFailuresKeepConnect) {
    Configure("[Camera1]\nBusy=1\n");
    OpenModeless(1);
    SourceInfo records[2] = {};
    ASSERT_TRUE(dialog->GetSouceInfo(records, 2));
    ASSERT_EQ(Combo(CB_GETCOUNT), 2);
    for (int i = 0; i < 2; ++i) {
        const auto* data = reinterpret_cast<const SourceInfo*>(Combo(CB_GETITEMDATA, i));
        EXPECT_TRUE(ComboText(i) == records[i].modelName && data && !strcmp(data->modelName, records[i].modelName));
    }
    EXPECT_EQ(Combo(CB_GETCURSEL), 0);
    ConnectWithButton();  // busy
    EXPECT_EQ(Controls(hwnd()), kIdlePanel);
    EXPECT_TRUE(test_support::PumpUntil([] { return !test_support::TakeMessageBoxes().empty(); }, 5000));

    Configure("[Simulator]\nCameras=0\n");
    Click(hwnd(), IDC_BtnSearch);
    EXPECT_TRUE(Combo(CB_GETCOUNT) == 1 && ComboText(0) == "None" && Combo(CB_GETITEMDATA, 0) == 0);
    uint32_t count = 9;
    EXPECT_TRUE(!dialog->GetDeviceCounts(&count) && count == 0);
    Sim().SimLogClear();
    ConnectWithButton();
    EXPECT_TRUE(Count("CDOpenSource") == 0 && Controls(hwnd()) == kIdlePanel);
    dialog->DestroyWindow();  // the controller's end is the host's last news
    const auto last = host.Take();
    EXPECT_TRUE(!last.empty() && last.back() == Notification(kMsgStatus, 0, std::get<2>(last.back()), ""));
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
    EXPECT_TRUE(dialog->GetMaxZoomPos(&maxPos, &second) && maxPos == 3 && second == 12);
    ASSERT_TRUE(dialog->SetZoomPos(6) && dialog->GetCurrentZoomPos(&position) && position == 6);
    EXPECT_FALSE(dialog->SetZoomPos(13));  // above the maximum
    EXPECT_EQ(IniText("SetData.ini", (std::string(records[0].modelName) + "Setting").c_str(), "Zoom Pos"), "6");
    EXPECT_EQ(SendDlgItemMessageA(hwnd(), IDC_HndlCnnDlg_ZomSldr, TBM_GETPOS, 0, 0), 0);

    // A failed start fails; the first successful call starts and shows whatever the flag; later
    // calls only show or hide.
    Sim().SimSetFault("CDLockUI", cdNOT_CONNECTED, 1);
    EXPECT_FALSE(dialog->OpenViewFinder(TRUE));
    EXPECT_EQ(Access::ViewState(*dialog), "stopped");
    for (BOOL show : {FALSE, FALSE, TRUE}) ASSERT_TRUE(dialog->OpenViewFinder(show));
    EXPECT_TRUE(Access::ViewState(*dialog) == "started shown" && Count("CDStartViewfinder") == 1);
    // The simulated scene is no flat grey: frames from the camera reach the window.
    EXPECT_TRUE(test_support::PumpUntil([&] { return ViewCentre() != CameraDialog::kBackground; }, 5000));
    ASSERT_TRUE(dialog->OpenViewFinder(FALSE));
    EXPECT_TRUE(Access::ViewState(*dialog) == "started" && ViewCentre() == CameraDialog::kBackground);

    ASSERT_TRUE(dialog->Disconnect());
    EXPECT_TRUE(Access::ViewState(*dialog) == "stopped" && !Connected());
}

TEST_F(CameraWindowTest, ButtonsDriveZoomViewfinderLcdAndDisconnect) {
    Configure("[Camera1]\nZoomMax=12\nZoomPos=7\n");
    OpenModeless(1);
    EXPECT_FALSE(dialog->PopSettingDlg());  // no camera yet
    ConnectWithButton();
    EXPECT_TRUE(dialog->PopSettingDlg());
    // The slider shows the zoom; keys move it, not the lens, which follows when it lets go.
    HWND slider = GetDlgItem(hwnd(), IDC_HndlCnnDlg_ZomSldr);
    EXPECT_TRUE(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0) == 12 && SendMessageA(slider, TBM_GETPOS, 0, 0) == 7);
    NMHDR letGo{slider, IDC_HndlCnnDlg_ZomSldr, static_cast<UINT>(NM_RELEASEDCAPTURE)};
    SetFocus(slider);
    SendMessageA(slider, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(SendMessageA(slider, TBM_GETPOS, 0, 0) == 8 && Count("CDSetZoomPos") == 0);
    for (int i = 0; i < 2; ++i) SendMessageA(hwnd(), WM_NOTIFY, IDC_HndlCnnDlg_ZomSldr, LPARAM(&letGo));
    auto calls = CallsTo("CDSetZoomPos");  // once: the second time the lens is there already
    EXPECT_TRUE(calls.size() == 1 && calls[0].args[1] == 8 && IsWindowEnabled(slider));
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
    calls = CallsTo("CDSelectViewFinderCameraOutput");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_TRUE(calls[0].args[1] == cdVF_OUTPUT_LCD_ON && calls[1].args[1] == cdVF_OUTPUT_LCD_OFF);

    Sim().SimLogClear();
    Click(hwnd(), IDC_HandleCanonDlg_DisCnect);  // puts the panel back
    Drain();
    EXPECT_TRUE(Controls(hwnd()) == kIdlePanel && IsDlgButtonChecked(hwnd(), IDC_HndlCnnDlg_ToLCD) == BST_UNCHECKED);
    EXPECT_EQ(Text(hwnd(), IDC_HndlCnnDlg_ViewFinder) + ": " + Access::ViewState(*dialog), "View On: stopped");
    EXPECT_TRUE(Count("CDCloseSource") == 1 && !Connected());
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
        const KamvioPara block = Para(host.hwnd(), 1, folder);
        EXPECT_TRUE(SaveFolderExists(folder) == (chosen == folder) && d.ApplyPara(&block)) << folder;
        EXPECT_EQ(Access::SaveFolder(d), chosen);
    }
    EXPECT_NE(GetFileAttributesA("c:\\Canon") & FILE_ATTRIBUTE_DIRECTORY, 0u);  // created
    EXPECT_TRUE(d.ApplyPara(nullptr) && Access::SaveFolder(d) == "c:\\Canon");

    uint32_t count = 77, zoom = 77, second = 77;
    SourceInfo records[2] = {};
    BOOL connected = 5;
    EXPECT_FALSE(d.GetDeviceCounts(&count) || d.GetSouceInfo(records, 2) || d.Connect(&records[0]) ||
                 d.TakePhoto() || d.OpenViewFinder(TRUE) || d.OpenCameraLCDView(TRUE) ||
                 d.GetMaxZoomPos(&zoom, &second) || d.SetZoomPos(1) || d.GetCurrentZoomPos(&zoom) || d.PopSettingDlg());
    EXPECT_FALSE(d.ShowWindow(SW_SHOW) || d.DestroyWindow());
    EXPECT_TRUE(d.Disconnect() && d.IsConnected(&connected));  // nothing to undo
    EXPECT_TRUE(!connected && zoom == 77 && second == 77 && Sim().SimLogCount() == 0);
}
