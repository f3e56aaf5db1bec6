// The settings window as the user meets it: opening from the Camera Setting button and from
// PopSettingDlg, what it shows, the shooting-mode buttons, Browse, and the openers' failures.
#include <cstdlib>
#include <ctime>
#include <new>

#include "platform/resource_module.h"
#include "settings/canon_setting_dlg.h"
#include "tests/settings_dialog/settings_dialog_fixture.h"

namespace {

int g_failSingleAllocations = 0;

// The next message box shown from any thread, as "caption: text".
std::string NextBox() {
    std::vector<test_support::CapturedBox> boxes;
    test_support::PumpUntil([&] { return !(boxes = test_support::TakeMessageBoxes()).empty(); });
    return boxes.empty() ? "" : boxes[0].caption + ": " + boxes[0].text;
}

// How many SDK calls since the last SimLogClear name `source` as their first argument.
int CallsOn(uint32_t source) {
    int count = 0;
    SimCall call{};
    for (uint32_t i = 0; i < Sim().SimLogCount(); ++i) count += Sim().SimLogGet(i, &call) && call.args[0] == source;
    return count;
}

}  // namespace

// Lets a test make the next nothrow allocation of a single object fail.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (g_failSingleAllocations > 0 && g_failSingleAllocations--) return nullptr;
    return std::malloc(size ? size : 1);
}
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }

TEST_F(SettingsDialogTest, OpeningShowsTheCameraAndSetsTheModeOnceEvenWhenCancelled) {
    ASSERT_EQ(Sim().SimLoadConfigText("[Camera1]\nOwner=Ann Example\nClock=1700000000\n"), 1u);
    OpenModeless();
    Store("Save Path", "X:\\stored");
    ConnectWithButton();
    Sim().SimLogClear();
    ASSERT_NE(settings = OpenSettings(), nullptr);
    EXPECT_EQ(GetWindow(settings, GW_OWNER), GetAncestor(hwnd(), GA_ROOT));
    EXPECT_EQ(Calls(), Strings{"CDSetShootingMode 1"});
    EXPECT_EQ(StoredKeys(), (Strings{"Save Path", "Shooting Mode"}));
    EXPECT_EQ(Stored("Shooting Mode"), "1");
    EXPECT_TRUE(Checked(settings, IDC_RdoProgramAE));
    EXPECT_TRUE(Enabled(settings, IDC_CmbSizeQuality));
    EXPECT_FALSE(Enabled(settings, IDC_CmbAv));
    EXPECT_FALSE(Enabled(settings, IDC_CmbTv));
    EXPECT_FALSE(Enabled(settings, IDC_EdtTotal));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(settings, IDC_EdtTotal)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(settings, IDC_LblTotal)));
    EXPECT_EQ(Text(settings, IDC_EdtOwnerName) + "|" + Text(settings, IDC_EdtSavePath), "Ann Example|X:\\stored");
    SYSTEMTIME date{}, time{};
    SendDlgItemMessageA(settings, IDC_DateCamera, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    SendDlgItemMessageA(settings, IDC_TimeCamera, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    const time_t when = 1700000000;  // as the user sees it: local time
    std::tm t{};
    ASSERT_EQ(localtime_s(&t, &when), 0);
    EXPECT_EQ((std::vector<int>{date.wYear, date.wMonth, date.wDay, time.wHour, time.wMinute, time.wSecond}),
              (std::vector<int>{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec}));
    Click(settings, IDCANCEL);
    EXPECT_FALSE(IsWindowVisible(settings));
    EXPECT_EQ(Calls().size(), 1u);
}

TEST_F(SettingsDialogTest, ModeButtonsApplyAtOnceSwitchTheAvAndTvListsAndCancelUndoesNothing) {
    OpenConnected();
    struct Case { int button, mode; bool av, tv; };
    for (const Case& c : {Case{IDC_RdoShutterPriority, 2, false, true}, Case{IDC_RdoAperturePriority, 3, true, false},
                          Case{IDC_RdoProgramAE, 1, false, false}, Case{IDC_RdoManual, 4, true, true}}) {
        SCOPED_TRACE(c.mode);
        Sim().SimLogClear();
        Click(settings, c.button);
        EXPECT_EQ(Calls(), Strings{"CDSetShootingMode " + std::to_string(c.mode)});
        EXPECT_EQ(Stored("Shooting Mode"), std::to_string(c.mode));
        EXPECT_EQ(std::make_pair(Enabled(settings, IDC_CmbAv), Enabled(settings, IDC_CmbTv)), std::make_pair(c.av, c.tv));
        if (c.av) { EXPECT_LE(0, Selection(settings, IDC_CmbAv)); }
        if (c.tv) { EXPECT_LE(0, Selection(settings, IDC_CmbTv)); }
    }
    Click(settings, IDCANCEL);
    EXPECT_EQ(4u, Setting("ShootingMode"));
    EXPECT_EQ("4", Stored("Shooting Mode"));
}

TEST_F(SettingsDialogTest, PopSettingDlgRunsModallyInANewWindowEachTime) {
    OpenModeless();
    EXPECT_FALSE(dialog->PopSettingDlg());  // nothing connected
    ConnectWithButton();
    Strings seen;
    for (int run = 0; run < 2; ++run) {
        Sim().SimLogClear();
        HWND owner = nullptr;
        bool ownerEnabled = true;
        Meanwhile([&] {
            HWND s = FindWindowOfThread(IsSettingsWindow, true);
            if (s) seen = {Text(s), Text(s, IDC_EdtIntervalMin), Text(s, IDC_EdtIntervalSec), Text(s, IDC_EdtTotal)};
            if (s) owner = GetWindow(s, GW_OWNER), ownerEnabled = IsWindowEnabled(owner);
            if (s) Type(s, IDC_EdtIntervalSec, "25"), Click(s, IDCANCEL);
            return s != nullptr;
        });
        EXPECT_TRUE(dialog->PopSettingDlg());
        EXPECT_EQ(seen, (Strings{"Setting", "0", "0", "1"}));  // new timer fields in a new window
        EXPECT_EQ(owner, host.hwnd());  // the camera window's top-level window, disabled meanwhile
        EXPECT_FALSE(ownerEnabled);
        EXPECT_TRUE(IsWindowEnabled(host.hwnd()));
        EXPECT_EQ(FindWindowOfThread(IsSettingsWindow), nullptr);  // destroyed at the end of the run
        EXPECT_EQ(Calls(), Strings{"CDSetShootingMode 1"});
    }
}

TEST_F(SettingsDialogTest, TheCompactA640CannotChangeItsImageFormatOrMacroHere) {
    ASSERT_EQ(Sim().SimLoadConfigText("[Camera1]\nModel=Canon PowerShot A640\n"), 1u);
    OpenConnected();
    ASSERT_EQ(CameraName(), "Canon PowerShot A640");
    EXPECT_FALSE(Enabled(settings, IDC_CmbSizeQuality));
    EXPECT_FALSE(Enabled(settings, IDC_CmbMacro));
    Ok();
    EXPECT_TRUE(Calls("CDSetImageFormatAttribute").empty());
    EXPECT_EQ(Stored("Macro"), "0");  // the macro shown is still applied
    EXPECT_EQ(Stored("Size"), "");
}

// The kept window, opened again after the camera went and another (or the same) came: it works
// on the camera connected now, whatever the source list selects meanwhile, and closes with it.
TEST_F(SettingsDialogTest, TheKeptWindowServesTheCameraConnectedNowAndClosesWhenItGoes) {
    // The A640 offers no flash values here; the second camera offers every list.
    ASSERT_EQ(Sim().SimLoadConfigText("[Camera1]\nModel=Canon PowerShot A640\nFlash.Count=0\n"), 1u);
    OpenModeless();
    Store("Save Path", "X:\\first", 0), Store("Save Path", "X:\\second", 1);
    enum Loss { kButton, kPowerOff, kInterface };
    struct Round { int camera; bool a640; const char* savePath; Loss loss; };
    const Round rounds[] = {{0, true, "X:\\first", kButton}, {1, false, "X:\\second", kPowerOff},
                            {0, true, "X:\\first", kInterface}};
    HWND kept = nullptr;
    std::vector<uint32_t> closed;
    int index = 1;
    for (const Round& r : rounds) {
        SCOPED_TRACE(r.camera);
        ConnectWithButton(r.camera);
        const uint32_t source = Camera().GetSourceHandle();
        const std::string section = CameraName(r.camera) + "Setting";
        Combo(hwnd(), IDC_HandleCanonDlg_SourceCmb, CB_SETCURSEL, 1 - r.camera);  // the list moves on
        Sim().SimLogClear();
        settings = OpenSettings();
        EXPECT_EQ(settings, kept ? kept : (kept = settings));
        EXPECT_EQ(Enabled(settings, IDC_CmbSizeQuality), !r.a640);
        EXPECT_EQ(Enabled(settings, IDC_CmbMacro), !r.a640);
        EXPECT_EQ(Enabled(settings, IDC_CmbFlash), !r.a640);
        EXPECT_EQ(Text(settings, IDC_EdtSavePath), r.savePath);
        const uint32_t wb = Select(settings, IDC_CmbWB, ++index);
        Click(settings, IDOK);
        EXPECT_EQ(Setting("WB"), wb);
        EXPECT_EQ(IniText("SetData.ini", section, "White Balence"), std::to_string(wb));
        EXPECT_GT(CallsOn(source), 0);
        for (uint32_t gone : closed) EXPECT_EQ(CallsOn(gone), 0);

        ASSERT_EQ(OpenSettings(), kept);
        if (r.loss == kButton) Click(hwnd(), IDC_HandleCanonDlg_DisCnect);
        if (r.loss == kPowerOff) Sim().SimPowerOff();
        if (r.loss == kInterface) dialog->Disconnect();
        EXPECT_TRUE(test_support::PumpUntil([&] { return !IsWindowVisible(kept); }));
        Sim().SimPowerOn(), Click(hwnd(), IDC_BtnSearch);
        closed.push_back(source);
    }
    EXPECT_EQ(Sim().SimViolationCount(), 0u);
}

TEST_F(SettingsDialogTest, BrowseStoresTheChosenFolderAtOnceCancelChangesNothingTextsAreTranslated) {
    ASSERT_TRUE(test_support::WriteTextFile(TestFile("KamvioML.ini"),
                                            "[Setting dialog]\r\nSetting=Einstellungen\r\nBrowse=Suchen\r\n"
                                            "[Error Message]\r\nPlease set save folder=Ordner waehlen\r\n"));
    OpenConnected();
    EXPECT_EQ(Text(settings) + Text(settings, IDC_BtnBrowse) + Text(settings, IDC_BtnTimerStart), "EinstellungenSuchenStart");
    const std::string before = Camera().GetSaveFolder();
    Type(settings, IDC_EdtSavePath, "typed");
    for (int button : {IDCANCEL, IDOK}) {
        bool titled = false;
        Meanwhile([&, button] {
            HWND browser = FindWindowOfThread([&](HWND w) { return GetWindow(w, GW_OWNER) == settings; }, true);
            if (browser) titled = FindWindowExA(browser, nullptr, "Static", "Ordner waehlen") != nullptr;
            return browser && PostMessageA(browser, WM_COMMAND, button, 0);
        });
        Click(settings, IDC_BtnBrowse);
        EXPECT_TRUE(titled);
        if (button == IDCANCEL) {
            EXPECT_EQ("typed", Text(settings, IDC_EdtSavePath));
            EXPECT_EQ("", Stored("Save Path"));
        }
    }
    // OK took the folder the browser starts on (the desktop).
    const std::string chosen = Text(settings, IDC_EdtSavePath);
    EXPECT_NE("typed", chosen);
    EXPECT_NE(std::string::npos, chosen.find('\\')) << chosen;
    EXPECT_EQ(StoredKeys(), (Strings{"Shooting Mode", "Save Path"}));
    EXPECT_EQ(Stored("Save Path"), chosen);
    EXPECT_EQ(Camera().GetSaveFolder(), before);  // the camera window hears of it at OK
}

TEST_F(SettingsDialogTest, OpenersReportAllocationAndCreationFailures) {
    OpenModeless();
    ConnectWithButton();
    auto withoutMemory = [](const std::function<void()>& open) {
        return g_failSingleAllocations = 1, open(), g_failSingleAllocations = 0, NextBox();
    };
    EXPECT_EQ(withoutMemory([&] { Click(hwnd(), IDC_HndlCnnDlg_Setting); }),
              "OnHndlCnnDlgSetting: Allocate memory failed!");
    EXPECT_EQ(FindWindowOfThread(IsSettingsWindow), nullptr);
    EXPECT_EQ(withoutMemory([&] { EXPECT_FALSE(dialog->PopSettingDlg()); }), "PopCanonSettingDlg: Allocate memory failed!");
    SetResourceModule(GetModuleHandleA("kernel32.dll"));  // no template 202 there
    Click(hwnd(), IDC_HndlCnnDlg_Setting);
    SetResourceModule(nullptr);
    EXPECT_EQ(NextBox(), "OnHndlCnnDlgSetting: Create dialog failed!");
    settings = OpenSettings();  // the object is kept: the next click creates the window
    ASSERT_NE(settings, nullptr);
    dialog.reset();  // closing the camera window takes the settings window along
    EXPECT_FALSE(IsWindow(settings));
}
