// The settings window as the user meets it: opening from the Camera Setting button and from
// PopSettingDlg, what it shows, the shooting-mode buttons, Cancel, Browse, translations, and
// the openers' failures.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <ctime>
#include <new>

#include "platform/resource_module.h"
#include "settings/canon_setting_dlg.h"
#include "tests/settings_dialog/settings_dialog_fixture.h"

using namespace settings_test;
using Access = CameraDialogTestAccess;
using Strings = std::vector<std::string>;

namespace {

int g_failSingleAllocations = 0;

std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The static texts of a window, in child order.
BOOL CALLBACK CollectStatic(HWND child, LPARAM context) {
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0) reinterpret_cast<Strings*>(context)->push_back(WindowText(child));
    return TRUE;
}
Strings StaticTexts(HWND window) {
    Strings texts;
    EnumChildWindows(window, CollectStatic, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

bool Contains(const Strings& texts, const std::string& text) {
    for (const std::string& t : texts)
        if (t == text) return true;
    return false;
}

}  // namespace

// Lets a test make the next nothrow allocations of single objects fail.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (g_failSingleAllocations > 0) {
        --g_failSingleAllocations;
        return nullptr;
    }
    return std::malloc(size ? size : 1);
}
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }

TEST_F(SettingsDialogTest, OpeningShowsTheCameraAndSetsTheModeOnceEvenWhenCancelled) {
    OpenConnected(0);
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(IsWindowVisible(settings));
    EXPECT_EQ(GetWindow(settings, GW_OWNER), GetAncestor(hwnd(), GA_ROOT));

    EXPECT_EQ(Names(SettingCalls()), Strings{"CDSetShootingMode"});
    EXPECT_EQ(Arg(SettingCalls()[0], 1), 1u);
    EXPECT_EQ(StoredKeys(), Strings{"Shooting Mode"});
    EXPECT_EQ(Stored("Shooting Mode"), "1");

    // The lists show what the camera offers, with its current value selected.
    EXPECT_EQ(Count(settings, IDC_CmbWB), 7);
    EXPECT_EQ(ItemData(settings, IDC_CmbWB, Selection(settings, IDC_CmbWB)), 0);
    EXPECT_EQ(ItemData(settings, IDC_CmbISO, Selection(settings, IDC_CmbISO)), 0);
    EXPECT_EQ(Count(settings, IDC_CmbSizeQuality), 9);
    EXPECT_EQ(Count(settings, IDC_CmbMacro), 2);
    EXPECT_EQ(Selection(settings, IDC_CmbMacro), 0);
    EXPECT_TRUE(IsDlgButtonChecked(settings, IDC_RdoProgramAE));
    EXPECT_FALSE(Enabled(settings, IDC_CmbAv));
    EXPECT_FALSE(Enabled(settings, IDC_CmbTv));
    EXPECT_TRUE(Enabled(settings, IDC_CmbSizeQuality));
    // The timer fields of a new window; the total stays hidden and disabled.
    EXPECT_EQ(Text(settings, IDC_EdtIntervalMin), "0");
    EXPECT_EQ(Text(settings, IDC_EdtIntervalSec), "0");
    EXPECT_EQ(Text(settings, IDC_EdtTotal), "1");
    EXPECT_FALSE(Visible(settings, IDC_EdtTotal));
    EXPECT_FALSE(Enabled(settings, IDC_EdtTotal));
    EXPECT_FALSE(Visible(settings, IDC_LblTotal));

    Click(settings, IDCANCEL);
    Drain();
    EXPECT_FALSE(IsWindowVisible(settings));
    EXPECT_EQ(sim().Count("CDSetShootingMode"), 1);

    // Kept between openings: the same window is shown again and read afresh.
    sim().SimLogClear();
    EXPECT_EQ(OpenSettings(), settings);
    EXPECT_TRUE(IsWindowVisible(settings));
    EXPECT_EQ(sim().Count("CDSetShootingMode"), 1);
}

TEST_F(SettingsDialogTest, ShowsTheOwnerNameClockAndStoredSavePath) {
    Configure("[Camera1]\nOwner=Ann Example\nClock=1700000000\n");
    OpenModeless();
    const std::string folder = MakeFolder("stored shots");
    Store(Section(), "Save Path", folder.c_str());
    ConnectWithButton(0);
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(Text(settings, IDC_EdtOwnerName), "Ann Example");
    EXPECT_EQ(Text(settings, IDC_EdtSavePath), folder);

    SYSTEMTIME date{}, time{};
    ASSERT_EQ(SendDlgItemMessageA(settings, IDC_DateCamera, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date)),
              GDT_VALID);
    ASSERT_EQ(SendDlgItemMessageA(settings, IDC_TimeCamera, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)),
              GDT_VALID);
    const time_t when = 1700000000;
    std::tm local{};
    ASSERT_EQ(localtime_s(&local, &when), 0);
    EXPECT_EQ(date.wYear, local.tm_year + 1900);
    EXPECT_EQ(date.wMonth, local.tm_mon + 1);
    EXPECT_EQ(date.wDay, local.tm_mday);
    EXPECT_EQ(time.wHour, local.tm_hour);
    EXPECT_EQ(time.wMinute, local.tm_min);
    EXPECT_EQ(time.wSecond, local.tm_sec);
}

TEST_F(SettingsDialogTest, ModeButtonsApplyAtOnceAndSwitchTheAvAndTvLists) {
    OpenConnected(0);
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    struct Case {
        int button;
        uint32_t mode;
        bool av, tv;
    };
    for (const Case& c : {Case{IDC_RdoShutterPriority, 2, false, true}, Case{IDC_RdoAperturePriority, 3, true, false},
                          Case{IDC_RdoManual, 4, true, true}, Case{IDC_RdoProgramAE, 1, false, false}}) {
        sim().SimLogClear();
        Click(settings, c.button);
        EXPECT_EQ(sim().Setting("ShootingMode"), c.mode);
        EXPECT_EQ(Names(SettingCalls()), Strings{"CDSetShootingMode"});
        EXPECT_EQ(Stored("Shooting Mode"), std::to_string(c.mode));
        EXPECT_EQ(Enabled(settings, IDC_CmbAv), c.av) << c.mode;
        EXPECT_EQ(Enabled(settings, IDC_CmbTv), c.tv) << c.mode;
        if (c.av) {
            EXPECT_EQ(Count(settings, IDC_CmbAv), 10);
        }
        if (c.tv) {
            EXPECT_GT(Count(settings, IDC_CmbTv), 40);
        }
    }
    // Cancel undoes none of it.
    Click(settings, IDC_RdoManual);
    Click(settings, IDCANCEL);
    EXPECT_EQ(sim().Setting("ShootingMode"), 4u);
    EXPECT_EQ(Stored("Shooting Mode"), "4");
}

TEST_F(SettingsDialogTest, EveryShowReadsTheModeAgainAndMacroModeShowsAsProgramAE) {
    Configure("[Camera1]\nShootingMode=110\n");
    OpenConnected(0);
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(IsDlgButtonChecked(settings, IDC_RdoProgramAE));
    EXPECT_EQ(sim().Setting("ShootingMode"), 1u);
    EXPECT_EQ(ItemData(settings, IDC_CmbMacro, Selection(settings, IDC_CmbMacro)), 0);

    Click(settings, IDCANCEL);
    // Changed behind the window's back: the next show follows the camera.
    Store(Section(), "Shooting Mode", "3");
    dialog->InitDCSettingByIniFile(ComboText(0).c_str());
    EXPECT_EQ(OpenSettings(), settings);
    EXPECT_TRUE(IsDlgButtonChecked(settings, IDC_RdoAperturePriority));
    EXPECT_FALSE(IsDlgButtonChecked(settings, IDC_RdoProgramAE));
    EXPECT_TRUE(Enabled(settings, IDC_CmbAv));
    EXPECT_EQ(Stored("Shooting Mode"), "3");
}

TEST_F(SettingsDialogTest, PopSettingDlgRunsModallyWithTheConnectedCamera) {
    OpenConnected(0);
    Strings seen;
    WhenDialogAppears(IsSettingsWindow, [&](HWND settings) {
        seen.push_back(WindowText(settings));
        seen.push_back(std::to_string(sim().Count("CDSetShootingMode")));
        Click(settings, IDCANCEL);
    });
    EXPECT_TRUE(dialog->PopSettingDlg());
    EXPECT_EQ(seen, (Strings{"Setting", "1"}));
    EXPECT_EQ(FindSettingsWindow(), nullptr);  // a modal run destroys its window
    EXPECT_EQ(sim().Count("CDSetShootingMode"), 1);
    EXPECT_EQ(Stored("Shooting Mode"), "1");

    // A second run builds a new window with new timer fields.
    Strings fields;
    WhenDialogAppears(IsSettingsWindow, [&](HWND settings) {
        SetDlgItemTextA(settings, IDC_EdtIntervalSec, "25");
        Click(settings, IDCANCEL);
    });
    EXPECT_TRUE(dialog->PopSettingDlg());
    WhenDialogAppears(IsSettingsWindow, [&](HWND settings) {
        fields = {Text(settings, IDC_EdtIntervalMin), Text(settings, IDC_EdtIntervalSec), Text(settings, IDC_EdtTotal)};
        Click(settings, IDCANCEL);
    });
    EXPECT_TRUE(dialog->PopSettingDlg());
    EXPECT_EQ(fields, (Strings{"0", "0", "1"}));
}

TEST_F(SettingsDialogTest, PopSettingDlgLeavesAnOpenModelessWindowAlone) {
    OpenModeless();
    EXPECT_FALSE(dialog->PopSettingDlg());  // nothing connected
    ConnectWithButton(0);
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    Click(settings, IDCANCEL);
    sim().SimLogClear();
    EXPECT_TRUE(dialog->PopSettingDlg());
    EXPECT_FALSE(IsWindowVisible(settings));
    EXPECT_EQ(sim().Count("CDSetShootingMode"), 0);
}

TEST_F(SettingsDialogTest, TheCompactA640CannotChangeItsImageFormatOrMacroHere) {
    Configure("[Camera1]\nModel=Canon PowerShot A640\n");
    OpenConnected(0);
    ASSERT_EQ(ComboText(0), "Canon PowerShot A640");
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    EXPECT_FALSE(Enabled(settings, IDC_CmbSizeQuality));
    EXPECT_FALSE(Enabled(settings, IDC_CmbMacro));
    sim().SimLogClear();
    Click(settings, IDOK);
    EXPECT_EQ(sim().Count("CDSetImageFormatAttribute"), 0);
    EXPECT_EQ(Stored("Macro"), "0");  // the macro shown is still applied
    EXPECT_EQ(Stored("Size"), "");
}

TEST_F(SettingsDialogTest, TranslatesItsTextsThroughTheSettingDialogSection) {
    ASSERT_TRUE(test_support::WriteTextFile(TestFile("KamvioML.ini"),
                                            "[Setting dialog]\r\nSetting=Einstellungen\r\nBrowse=Suchen\r\n"
                                            "[Error Message]\r\nPlease set save folder=Ordner waehlen\r\n"));
    OpenConnected(0);
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(WindowText(settings), "Einstellungen");
    EXPECT_EQ(Text(settings, IDC_BtnBrowse), "Suchen");
    EXPECT_EQ(Text(settings, IDC_BtnTimerStart), "Start");

    Strings browser;
    WhenDialogAppears([settings](HWND w) { return GetWindow(w, GW_OWNER) == settings; },
                      [&](HWND box) {
                          browser = StaticTexts(box);
                          PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
                      });
    Click(settings, IDC_BtnBrowse);
    EXPECT_TRUE(Contains(browser, "Ordner waehlen"));
}

TEST_F(SettingsDialogTest, BrowseStoresTheChosenFolderAtOnceAndCancelChangesNothing) {
    OpenConnected(0);
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    Type(settings, IDC_EdtSavePath, "typed");
    auto isBrowser = [settings](HWND w) { return GetWindow(w, GW_OWNER) == settings; };

    Strings texts;
    WhenDialogAppears(isBrowser, [&](HWND box) {
        texts = StaticTexts(box);
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    });
    Click(settings, IDC_BtnBrowse);
    EXPECT_TRUE(Contains(texts, "Please set save folder"));
    EXPECT_EQ(Text(settings, IDC_EdtSavePath), "typed");
    EXPECT_EQ(Stored("Save Path"), "");

    // OK in the browser takes the folder it has selected.
    WhenDialogAppears(isBrowser, [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
    Click(settings, IDC_BtnBrowse);
    // The browser starts on the desktop, a file-system folder.
    const std::string chosen = Text(settings, IDC_EdtSavePath);
    EXPECT_NE(chosen, "typed");
    EXPECT_NE(chosen.find('\\'), std::string::npos);
    EXPECT_EQ(Stored("Save Path"), chosen);
    // The camera window hears of the folder only with the next OK.
    EXPECT_EQ(std::string(Access::Camera(*dialog).GetSaveFolder()), Access::SaveFolder(*dialog));
}

TEST_F(SettingsDialogTest, OpenersReportAllocationAndCreationFailures) {
    OpenConnected(0);
    test_support::ClearMessageBoxes();
    g_failSingleAllocations = 1;
    Click(hwnd(), IDC_HndlCnnDlg_Setting);
    g_failSingleAllocations = 0;
    auto boxes = test_support::TakeMessageBoxes();
    ASSERT_TRUE(test_support::PumpUntil([&] {
        auto more = test_support::TakeMessageBoxes();
        boxes.insert(boxes.end(), more.begin(), more.end());
        return !boxes.empty();
    }));
    EXPECT_EQ(boxes[0].caption, "OnHndlCnnDlgSetting");
    EXPECT_EQ(boxes[0].text, "Allocate memory failed!");
    EXPECT_EQ(FindSettingsWindow(), nullptr);

    g_failSingleAllocations = 1;
    EXPECT_FALSE(dialog->PopSettingDlg());
    g_failSingleAllocations = 0;
    boxes.clear();
    ASSERT_TRUE(test_support::PumpUntil([&] {
        auto more = test_support::TakeMessageBoxes();
        boxes.insert(boxes.end(), more.begin(), more.end());
        return !boxes.empty();
    }));
    EXPECT_EQ(boxes[0].caption, "PopCanonSettingDlg");
    EXPECT_EQ(boxes[0].text, "Allocate memory failed!");

    // A module without template 202: the window cannot be created.
    SetResourceModule(GetModuleHandleA("kernel32.dll"));
    Click(hwnd(), IDC_HndlCnnDlg_Setting);
    SetResourceModule(nullptr);
    boxes.clear();
    ASSERT_TRUE(test_support::PumpUntil([&] {
        auto more = test_support::TakeMessageBoxes();
        boxes.insert(boxes.end(), more.begin(), more.end());
        return !boxes.empty();
    }));
    EXPECT_EQ(boxes[0].caption, "OnHndlCnnDlgSetting");
    EXPECT_EQ(boxes[0].text, "Create dialog failed!");
    // The object is kept: the next click creates the window.
    EXPECT_NE(OpenSettings(), nullptr);
}

TEST_F(SettingsDialogTest, ClosingTheCameraWindowTakesTheSettingsWindowAlong) {
    OpenConnected(0);
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    dialog.reset();
    EXPECT_FALSE(IsWindow(settings));
}

// ---- the openers' hand-over, on a dialog of its own

TEST(SettingDialogHandOver, FolderAndCameraNameMustFitWholeOrNothingIsWritten) {
    const std::string folder = test_support::ExeFolder();
    const std::string file = folder + "\\SetData.ini";
    DeleteFileA(file.c_str());
    CCanonSettingDlg dlg;
    EXPECT_FALSE(dlg.WriteSetting("Macro", "1"));  // no folder yet
    EXPECT_FALSE(dlg.SetIniFolder(nullptr));
    EXPECT_FALSE(dlg.SetIniFolder(""));
    EXPECT_TRUE(dlg.SetIniFolder(folder.c_str()));
    EXPECT_FALSE(dlg.WriteSetting("Macro", "1"));  // no camera name yet
    EXPECT_TRUE(dlg.SetDCName(std::string(99, 'n').c_str()));
    EXPECT_TRUE(dlg.WriteSetting("Macro", "1"));
    EXPECT_EQ(IniValue(file, (std::string(99, 'n') + "Setting").c_str(), "Macro"), "1");

    EXPECT_FALSE(dlg.SetDCName(""));  // unchanged
    EXPECT_TRUE(dlg.WriteSetting("AF Light", "0"));
    EXPECT_FALSE(dlg.SetDCName(std::string(100, 'm').c_str()));  // too long: emptied
    EXPECT_FALSE(dlg.WriteSetting("Flash", "2"));
    EXPECT_TRUE(dlg.SetDCName("Cam"));
    EXPECT_FALSE(dlg.SetIniFolder(std::string(300, 'f').c_str()));
    EXPECT_FALSE(dlg.WriteSetting("Flash", "2"));
    EXPECT_EQ(IniValue(file, "CamSetting", "Flash"), "");
    DeleteFileA(file.c_str());
}

TEST(SettingDialogHandOver, WithoutFolderTheWindowOpensButStoresNothing) {
    const std::string file = test_support::ExeFolder() + "\\SetData.ini";
    DeleteFileA(file.c_str());
    CCanonSettingDlg dlg;
    dlg.SetDCName("Cam");
    ASSERT_TRUE(dlg.Create(nullptr));
    dlg.ShowWindow(SW_SHOW);  // no camera: every read fails quietly
    HWND window = dlg.GetSafeHwnd();
    EXPECT_EQ(Text(window, IDC_EdtTotal), "1");
    Click(window, IDC_RdoManual);
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    dlg.DestroyWindow();
}
