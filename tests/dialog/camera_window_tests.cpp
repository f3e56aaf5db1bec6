// The camera window as a user and a host meet it: modal and modeless windows, control states,
// buttons, and the operations behind the interface methods.
#include <windows.h>
#include <commctrl.h>

#include "camera/camera_messages.h"
#include "tests/dialog/dialog_test_support.h"

namespace {
const std::string kPanel = "Source Connect Setting- Disconnect- Release- Viewfinder- LCD- Zoom- Search View ";
const std::string kIdle = kPanel + "(OK) (ZoomLabel) (TestShoot-)";
const std::string kConnected = "Source Connect- Setting Disconnect Release Viewfinder LCD- Zoom Search View (OK) "
                               "(ZoomLabel) (TestShoot)";
}  // namespace

TEST_F(CameraWindowTest, ModalWindowShowsOkAndOnlyItEndsOnEnterEscapeAndClose) {
    dialog = std::make_unique<CameraDialog>(nullptr);
    dialog->ApplyPara(nullptr);  // showControls 0, which only the modeless window heeds
    dialog->SetModal(TRUE);
    host.PostAction([&] {
        HWND window = dialog->GetSafeHwnd();
        EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) & (WS_CHILD | 0x80C80000), 0x80C80000);  // pop-up, caption
        EXPECT_EQ(Controls(window), kPanel + "OK (ZoomLabel) (TestShoot-)");
        EXPECT_EQ(SendDlgItemMessageA(window, IDC_HandleCanonDlg_SourceCmb, CB_GETCOUNT, 0, 0), 2);
        PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_EQ(dialog->DoModal(), IDOK);
    EXPECT_EQ(dialog->GetSafeHwnd(), nullptr);
    for (UINT message : {WM_KEYDOWN, WM_CLOSE}) {  // the same object runs further windows
        host.PostAction([&] { PostMessageA(dialog->GetSafeHwnd(), message, message == WM_CLOSE ? 0 : VK_ESCAPE, 0); });
        EXPECT_EQ(dialog->DoModal(), IDCANCEL) << message;
    }

    OpenModeless(1);
    ASSERT_EQ(GetParent(hwnd()), host.hwnd());
    EXPECT_EQ(GetWindowLongPtrA(hwnd(), GWL_STYLE) & (WS_CHILD | WS_CAPTION), WS_CHILD);
    EXPECT_EQ(Controls(hwnd()), kIdle);
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        MSG msg{hwnd(), WM_KEYDOWN, key, 0, 0, {0, 0}};
        IsDialogMessageA(hwnd(), &msg);
    }
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
        EXPECT_EQ(ComboText(i), records[i].modelName);
        EXPECT_STREQ(data ? data->modelName : "", records[i].modelName);
    }
    EXPECT_EQ(Combo(CB_GETCURSEL), 0);
    ConnectWithButton(0);  // busy
    EXPECT_EQ(Controls(hwnd()), kIdle);
    EXPECT_TRUE(test_support::PumpUntil([] { return !test_support::TakeMessageBoxes().empty(); }, 5000));

    Configure("[Simulator]\nCameras=0\n");
    Click(hwnd(), IDC_BtnSearch);
    EXPECT_TRUE(Combo(CB_GETCOUNT) == 1 && ComboText(0) == "None" && Combo(CB_GETITEMDATA, 0) == 0);
    uint32_t count = 9;
    EXPECT_FALSE(dialog->GetDeviceCounts(&count));
    EXPECT_EQ(count, 0u);
    host.Take();
    sim().SimLogClear();
    ConnectWithButton(0);
    EXPECT_EQ(sim().Count("CDOpenSource"), 0);
    EXPECT_EQ(Controls(hwnd()), kIdle);
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
    EXPECT_EQ(Combo(CB_GETCOUNT) + sim().Count("CDEnumDeviceReset"), 0);
    // Without a host window in the parameters notifications go nowhere, not even to the parent.
    para.hwndHost = nullptr;
    dialog->ApplyPara(&para);
    host.Take();
    const char text[] = "x.jpg";
    for (UINT message : {WM_CAM_STATUS, WM_CAM_FILE_SAVED, WM_CAM_VIEWFINDER_ENABLE, WM_CAM_POWERED_OFF})
        SendMessageA(hwnd(), message, reinterpret_cast<WPARAM>(text), reinterpret_cast<LPARAM>(text));
    dialog.reset();
    EXPECT_TRUE(host.Take().empty());
}

TEST_F(CameraWindowTest, InterfaceOperationsDriveTheCameraButOnlyTheConnectButtonEnablesButtons) {
    Configure("[Camera1]\nZoomMax=12\nZoomOther=3\nZoomPos=7\n");
    OpenModeless(1);
    uint32_t value = 0;
    EXPECT_FALSE(dialog->GetDeviceCounts(nullptr) || dialog->GetSouceInfo(nullptr, 2) || dialog->Connect(nullptr) ||
                 dialog->GetMaxZoomPos(nullptr, &value) || dialog->GetMaxZoomPos(&value, nullptr) ||
                 dialog->GetCurrentZoomPos(nullptr) || dialog->IsConnected(nullptr) ||
                 dialog->InitDCSettingByIniFile(nullptr));
    EXPECT_TRUE(dialog->GetDeviceCounts(&value) && value == 2);
    SourceInfo records[2] = {}, none{};
    ASSERT_TRUE(dialog->GetSouceInfo(records, 2));
    EXPECT_FALSE(dialog->Connect(&none));
    host.Take();
    ASSERT_TRUE(dialog->Connect(&records[0]));
    Drain();
    EXPECT_FALSE(dialog->Connect(&records[1]));  // one source at a time
    EXPECT_EQ(Access::Source(*dialog), records[0].modelName);
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
    EXPECT_EQ(IniText("SetData.ini", (Access::Source(*dialog) + "Setting").c_str(), "Zoom Pos"), "6");
    EXPECT_EQ(SendDlgItemMessageA(hwnd(), IDC_HndlCnnDlg_ZomSldr, TBM_GETPOS, 0, 0), 0);

    // A failed start fails; the first successful call starts and shows whatever the flag; later
    // calls only show or hide.
    sim().SimSetFault("CDLockUI", cdNOT_CONNECTED, 1);
    EXPECT_FALSE(dialog->OpenViewFinder(TRUE));
    EXPECT_EQ(Access::ViewState(*dialog), "stopped");
    for (BOOL show : {FALSE, FALSE, TRUE}) ASSERT_TRUE(dialog->OpenViewFinder(show));
    EXPECT_EQ(Access::ViewState(*dialog), "started shown");
    EXPECT_EQ(sim().Count("CDStartViewfinder"), 1);
    // The simulated scene is no flat grey: frames from the camera reach the window.
    EXPECT_TRUE(test_support::PumpUntil([&] { return ViewCentre() != CameraDialog::kBackground; }, 5000));
    ASSERT_TRUE(dialog->OpenViewFinder(FALSE));
    EXPECT_EQ(Access::ViewState(*dialog), "started");
    EXPECT_EQ(ViewCentre(), CameraDialog::kBackground);

    ASSERT_TRUE(dialog->Disconnect());
    EXPECT_EQ(Access::ViewState(*dialog), "stopped");
    EXPECT_FALSE(Connected());
    ConnectWithButton(0);
    EXPECT_EQ(Controls(hwnd()), kConnected);  // To LCD waits for a running viewfinder
}

TEST_F(CameraWindowTest, ButtonsDriveZoomViewfinderLcdAndDisconnect) {
    Configure("[Camera1]\nZoomMax=12\nZoomPos=7\n");
    OpenModeless(1);
    EXPECT_FALSE(dialog->PopSettingDlg());  // no camera yet
    ConnectWithButton(0);
    EXPECT_TRUE(dialog->PopSettingDlg());
    // The slider shows the zoom; keys move it, not the lens, which follows when it lets go.
    HWND slider = GetDlgItem(hwnd(), IDC_HndlCnnDlg_ZomSldr);
    EXPECT_TRUE(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0) == 12 && SendMessageA(slider, TBM_GETPOS, 0, 0) == 7);
    NMHDR letGo{slider, IDC_HndlCnnDlg_ZomSldr, static_cast<UINT>(NM_RELEASEDCAPTURE)};
    SetFocus(slider);
    SendMessageA(slider, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(SendMessageA(slider, TBM_GETPOS, 0, 0) == 8 && sim().Count("CDSetZoomPos") == 0);
    for (int i = 0; i < 2; ++i) SendMessageA(hwnd(), WM_NOTIFY, IDC_HndlCnnDlg_ZomSldr, LPARAM(&letGo));
    auto calls = sim().Calls("CDSetZoomPos");  // once: the second time the lens is there already
    EXPECT_TRUE(calls.size() == 1 && calls[0].args[1] == 8 && IsWindowEnabled(slider));
    auto viewfinder = [&] {
        Click(hwnd(), IDC_HndlCnnDlg_ViewFinder);
        return Text(hwnd(), IDC_HndlCnnDlg_ViewFinder) + ": " + Access::ViewState(*dialog) +
               (On(IDC_HndlCnnDlg_ViewFinder) ? "" : ", disabled");
    };
    // A failed start keeps the button as it was, and the next click tries again.
    sim().SimSetFault("CDLockUI", cdNOT_CONNECTED, 1);
    EXPECT_EQ(viewfinder(), "Viewfinder: stopped");
    EXPECT_EQ(viewfinder(), "View Off: started shown");
    Drain();
    EXPECT_TRUE(On(IDC_HndlCnnDlg_ToLCD));  // the running viewfinder offers the LCD
    EXPECT_EQ(viewfinder(), "View On: started");
    EXPECT_EQ(ViewCentre(), CameraDialog::kBackground);
    EXPECT_EQ(viewfinder(), "View Off: started shown");
    EXPECT_EQ(sim().Count("CDStartViewfinder"), 1);  // shown again, not restarted

    sim().SimLogClear();
    for (int i = 0; i < 3; ++i) Click(hwnd(), IDC_HndlCnnDlg_ToLCD);
    calls = sim().Calls("CDSelectViewFinderCameraOutput");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_TRUE(calls[0].args[1] == cdVF_OUTPUT_LCD_ON && calls[1].args[1] == cdVF_OUTPUT_LCD_OFF);

    sim().SimLogClear();
    Click(hwnd(), IDC_HandleCanonDlg_DisCnect);  // puts the panel back
    Drain();
    EXPECT_EQ(Controls(hwnd()), kIdle);
    EXPECT_EQ(IsDlgButtonChecked(hwnd(), IDC_HndlCnnDlg_ToLCD), BST_UNCHECKED);
    EXPECT_EQ(Text(hwnd(), IDC_HndlCnnDlg_ViewFinder) + ": " + Access::ViewState(*dialog), "View On: stopped");
    EXPECT_TRUE(sim().Count("CDCloseSource") == 1 && !Connected());
    ConnectWithButton(0);
    EXPECT_EQ(Controls(hwnd()), kConnected);
}

TEST_F(CameraWindowTest, SaveFolderMustExistOrTheDefaultIsTakenAndNoWindowMeansNoCamera) {
    const std::string existing = TestFile("saves"), slashed = existing + "\\", longPath(400, 'p');
    CreateDirectoryA(existing.c_str(), nullptr);
    const std::tuple<const char*, bool, std::string> rows[] = {  // folder, SaveFolderExists, chosen
        {existing.c_str(), true, existing}, {slashed.c_str(), true, slashed},  // kept as given
        {"c:\\", true, "c:\\"},             {"", false, "c:\\Canon"},
        {nullptr, false, "c:\\Canon"},      {"Z:\\no\\such\\folder", false, "c:\\Canon"},
        {longPath.c_str(), false, "c:\\Canon"}};  // past the path limit, never taken
    CameraDialog d(nullptr);
    for (const auto& [folder, exists, chosen] : rows) {
        const KamvioPara block = Para(host.hwnd(), 1, folder);
        EXPECT_TRUE(SaveFolderExists(folder) == exists && d.ApplyPara(&block)) << (folder ? folder : "(null)");
        EXPECT_EQ(Access::SaveFolder(d), chosen);
    }
    EXPECT_NE(GetFileAttributesA("c:\\Canon") & FILE_ATTRIBUTE_DIRECTORY, 0u);  // created
    EXPECT_FALSE(SaveFolderExists(std::string(5000, 'x').c_str()));
    EXPECT_TRUE(d.ApplyPara(nullptr) && Access::SaveFolder(d) == "c:\\Canon");

    uint32_t count = 77, zoom = 77, second = 77;
    SourceInfo records[2] = {};
    BOOL connected = 5;
    EXPECT_FALSE(d.GetDeviceCounts(&count) || d.GetSouceInfo(records, 2) || d.Connect(&records[0]) ||
                 d.TakePhoto() || d.OpenViewFinder(TRUE) || d.OpenCameraLCDView(TRUE) ||
                 d.GetMaxZoomPos(&zoom, &second) || d.SetZoomPos(1) || d.GetCurrentZoomPos(&zoom) || d.PopSettingDlg());
    EXPECT_TRUE(d.Disconnect() && d.IsConnected(&connected));  // nothing to undo
    EXPECT_TRUE(!connected && zoom == 77 && second == 77);
    EXPECT_EQ(sim().SimLogCount(), 0u);
}
