// Every controller message of the camera window, walked on one window: its reaction and what
// the host window hears of it. Frames are covered by the live-view tests.
#include <windows.h>

#include "camera/camera_messages.h"
#include "tests/dialog/dialog_test_support.h"

namespace {
// name, message, wParam, lParam, whether a camera must be connected through the button, what runs
// before the host's inbox and the call log are cleared, what the host hears while the message is
// handled (in order), and the check of the reaction.
using MessageCase = std::tuple<const char*, UINT, uintptr_t, uintptr_t, bool, std::function<void()>,
                               std::vector<Notification>, std::function<void()>>;
uintptr_t Address(const void* p) { return reinterpret_cast<uintptr_t>(p); }
}  // namespace

TEST_F(CameraWindowTest, EveryControllerMessageActsAndNotifiesTheHost) {
    const std::string otherFolder = TestFile("other saves"), longPath(600, 'q'), cutPath(MAX_PATH, 'q');
    CreateDirectoryA(otherFolder.c_str(), nullptr);
    OpenModeless(1);
    ASSERT_FALSE(host.Of(kMsgStatus).empty());
    const LPARAM cameraName = host.Of(kMsgStatus).front().lParam;  // the controller's name buffer
    const char path[] = "c:\\Canon\\TH20240101120000000001.JPG", someName[] = "Some Camera";
    auto lastFile = [&] { return IniText("FilePath.ini", "FINISHED", "File Path"); };
    auto saveFolders = [&] { return Access::ControllerFolder(*dialog) + "|" + Access::SaveFolder(*dialog); };
    const std::string camera = ComboText(0), folders = saveFolders();
    auto releasedOnce = [&] {  // the host hears of the file, which is recorded as the last one
        EXPECT_EQ(1, Count("CDRelease"));
        EXPECT_TRUE(On(IDC_HandleCanonDlg_Release));
        ASSERT_TRUE(test_support::PumpUntil([&] { return !host.Of(kMsgFileSaved).empty(); }, 10000));
        const std::string saved = host.Of(kMsgFileSaved).front().text;
        EXPECT_EQ(Access::ControllerFolder(*dialog) + "\\", saved.substr(0, saved.rfind('\\') + 1));
        EXPECT_EQ(saved, lastFile());
    };
    auto enabled = [this](int id, bool on) { return [this, id, on] { EXPECT_EQ(On(id), on) << id; }; };
    auto calls = [](const char* entry, int n) { return [entry, n] { EXPECT_EQ(Count(entry), n); }; };
    auto foldersKept = [&] { EXPECT_EQ(saveFolders(), folders); };
    auto panelReset = [&] {
        EXPECT_EQ(kIdlePanel, Controls(hwnd()));
        EXPECT_FALSE(Connected());
    };
    const std::vector<MessageCase> cases = {
        {"no viewfinder", WM_CAM_VIEWFINDER_ENABLE, 0, 0, true, nullptr, {}, enabled(IDC_HndlCnnDlg_ViewFinder, false)},
        {"viewfinder available, host asked to hear it", WM_CAM_VIEWFINDER_ENABLE, 1, 1, true, nullptr,
         {{kMsgViewfinderEnable, 1, 0, ""}},
         [&] {
             EXPECT_TRUE(On(IDC_HndlCnnDlg_ViewFinder));
             EXPECT_FALSE(On(IDC_HndlCnnDlg_ToLCD));  // none runs
         }},
        {"viewfinder available while it runs offers the LCD", WM_CAM_VIEWFINDER_ENABLE, 1, 0, true,
         [&] {
             ASSERT_TRUE(dialog->OpenViewFinder(TRUE));
             SendMessageA(hwnd(), WM_CAM_VIEWFINDER_ENABLE, 0, 0);
             EXPECT_FALSE(On(IDC_HndlCnnDlg_ToLCD));
         },
         {}, enabled(IDC_HndlCnnDlg_ToLCD, true)},
        {"switch when shown stops", WM_CAM_VIEWFINDER_SWITCH, 0, 0, true, nullptr, {}, calls("CDTermViewfinder", 1)},
        {"switch again starts it", WM_CAM_VIEWFINDER_SWITCH, 0, 0, true, nullptr, {}, calls("CDStartViewfinder", 1)},
        {"switch while hidden does nothing", WM_CAM_VIEWFINDER_SWITCH, 0, 0, true,
         [&] { ASSERT_TRUE(dialog->OpenViewFinder(FALSE)); }, {}, [&] { EXPECT_EQ(Sim().SimLogCount(), 0u); }},
        {"zoom on", WM_CAM_ZOOM_ENABLE, 1, 0, false, nullptr, {}, enabled(IDC_HndlCnnDlg_ZomSldr, true)},
        {"zoom off", WM_CAM_ZOOM_ENABLE, 0, 0, false, nullptr, {}, enabled(IDC_HndlCnnDlg_ZomSldr, false)},
        {"LCD on", WM_CAM_LCD_ENABLE, 1, 0, false, nullptr, {}, enabled(IDC_HndlCnnDlg_ToLCD, true)},
        {"LCD off", WM_CAM_LCD_ENABLE, 0, 0, false, nullptr, {}, enabled(IDC_HndlCnnDlg_ToLCD, false)},
        {"status passed on", WM_CAM_STATUS, 1, Address(someName), false, nullptr,
         {{kMsgStatus, 1, LPARAM(Address(someName)), someName}}, nullptr},
        {"status without name", WM_CAM_STATUS, 0, 0, false, nullptr, {{kMsgStatus, 0, 0, ""}}, nullptr},
        {"file saved is recorded", WM_CAM_FILE_SAVED, Address(path), 0, false, nullptr,
         {{kMsgFileSaved, Address(path), 0, path}},
         [&] { EXPECT_EQ(IniText("FilePath.ini", "FINISHED", nullptr), std::string("File Path", 10)); }},
        {"memory mode keeps the last file", WM_CAM_FILE_SAVED, 0, 0, false, nullptr, {{kMsgFileSaved, 0, 0, ""}},
         [&] { EXPECT_EQ(lastFile(), path); }},
        {"overlong path cut at the limit", WM_CAM_FILE_SAVED, Address(longPath.c_str()), 0, false, nullptr,
         {{kMsgFileSaved, Address(longPath.c_str()), 0, longPath.substr(0, 300)}},  // the pointer as sent
         [&] { EXPECT_EQ(lastFile(), cutPath); }},
        {"missing folder ignored", WM_CAM_SET_SAVE_FOLDER, Address("Z:\\none"), 0, false, nullptr, {}, foldersKept},
        {"null save folder ignored", WM_CAM_SET_SAVE_FOLDER, 0, 0, false, nullptr, {}, foldersKept},
        {"existing save folder goes to the controller only", WM_CAM_SET_SAVE_FOLDER, Address(otherFolder.c_str()), 0,
         false, nullptr, {}, [&] { EXPECT_EQ(saveFolders(), otherFolder + folders.substr(folders.find('|'))); }},
        {"timer shoot counts the low 16 bits", WM_CAM_TIMER_SHOOT, 1, 0x20001, true, nullptr, {}, releasedOnce},
        {"shutter pressed releases", WM_CAM_SHUTTER_PRESSED, 0, 0, true, nullptr, {}, releasedOnce},
        {"disconnect request leaves the controls", WM_CAM_DISCONNECT_REQUEST, 0, 0, true, nullptr, {},
         [&] {
             EXPECT_EQ(1, Count("CDCloseSource"));
             EXPECT_FALSE(Connected());
             EXPECT_TRUE(On(IDC_HandleCanonDlg_DisCnect));
             EXPECT_FALSE(On(IDC_HandleCanonDlg_Connect));
         }},
        {"powered off resets the panel, the host hears the status first", WM_CAM_POWERED_OFF, 0, 0, true,
         [&] {
             ASSERT_TRUE(dialog->OpenViewFinder(TRUE));
             Drain();
             Click(hwnd(), IDC_HndlCnnDlg_ToLCD);
             SetDlgItemTextA(hwnd(), IDC_HndlCnnDlg_ViewFinder, "View Off");
         },
         {{kMsgStatus, 1, cameraName, camera}, {kMsgPoweredOff, 0, 0, ""}},
         [&] {
             panelReset();
             EXPECT_EQ(Text(hwnd(), IDC_HndlCnnDlg_ViewFinder), "View On");
             EXPECT_EQ(IsDlgButtonChecked(hwnd(), IDC_HndlCnnDlg_ToLCD), BST_UNCHECKED);
             EXPECT_EQ(1, Count("CDEnumDeviceReset"));  // the list refilled
             EXPECT_EQ(2, Combo(CB_GETCOUNT));
             EXPECT_EQ(Access::ViewState(*dialog), "stopped");  // the next click must start it anew
         }},
        {"battery low warns and disconnects without talking to the camera", WM_CAM_BATTERY_LOW, 0, 0, true, nullptr, {},
         [&] {
             // The key carries a trailing blank; the profile lookup's default drops it.
             EXPECT_EQ(Boxes(), "Kamvio: Power low, please change battery\n");
             panelReset();
             EXPECT_EQ(Count("CDExitReleaseControl") + Count("CDCloseSource"), 0);
         }},
    };
    for (const auto& [name, message, wParam, lParam, connected, before, heard, check] : cases) {
        SCOPED_TRACE(name);
        if (connected && !Connected()) {
            SendMessageA(hwnd(), WM_COMMAND, IDC_HandleCanonDlg_DisCnect, 0);  // whatever the last row left
            ConnectWithButton();
            ASSERT_TRUE(Connected());
        }
        if (before) before();
        Drain();
        host.Take();
        Sim().SimLogClear();
        test_support::ClearMessageBoxes();
        EXPECT_EQ(SendMessageA(hwnd(), message, wParam, static_cast<LPARAM>(lParam)), 0);
        EXPECT_EQ(host.Take(), heard);
        if (check) check();
        Drain();
    }
}
