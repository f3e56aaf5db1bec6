// OK and Cancel of the settings window: what is applied to the camera, what is stored in
// SetData.ini, and what the camera window hears of the save folder.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <ctime>

#include "camera/camera_messages.h"
#include "settings/canon_setting_dlg.h"
#include "tests/settings_dialog/settings_dialog_fixture.h"

using namespace settings_test;
using Access = CameraDialogTestAccess;
using Strings = std::vector<std::string>;

namespace {

// A 32 x 32 monochrome cursor file: what LoadCursorFromFile takes whatever the file is called.
std::string MonochromeCursorFile() {
    std::string file;
    auto put16 = [&](uint16_t v) { file.append(reinterpret_cast<const char*>(&v), 2); };
    auto put32 = [&](uint32_t v) { file.append(reinterpret_cast<const char*>(&v), 4); };
    const uint32_t image = 40 + 8 + 128 + 128;  // header, palette, XOR and AND masks
    put16(0), put16(2), put16(1);               // a cursor directory with one image
    file += static_cast<char>(32), file += static_cast<char>(32), file += '\0', file += '\0';
    put16(16), put16(16), put32(image), put32(22);  // hot spot, size, offset
    put32(40), put32(32), put32(64), put16(1), put16(1), put32(0), put32(0), put32(0), put32(0), put32(0), put32(0);
    put32(0x000000), put32(0xFFFFFF);
    file.append(128, '\x0F');  // XOR mask
    file.append(128, '\0');    // AND mask
    return file;
}

// The calls every OK makes with the default compact camera: focusing point and AF-assist light
// (macro off writes nothing to the camera).
const Strings kAlwaysApplied = {"CDSetRelCamSettingData", "CDSetRelCamSettingData"};

Strings With(Strings first, const Strings& rest) {
    first.insert(first.end(), rest.begin(), rest.end());
    return first;
}

void PickDateTime(HWND settings, const SYSTEMTIME& date, const SYSTEMTIME& time) {
    SendDlgItemMessageA(settings, IDC_DateCamera, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
    SendDlgItemMessageA(settings, IDC_TimeCamera, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    NMDATETIMECHANGE change{};
    change.nmhdr.hwndFrom = GetDlgItem(settings, IDC_TimeCamera);
    change.nmhdr.idFrom = IDC_TimeCamera;
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.dwFlags = GDT_VALID;
    change.st = time;
    SendMessageA(settings, WM_NOTIFY, IDC_TimeCamera, reinterpret_cast<LPARAM>(&change));
}

}  // namespace

TEST_F(SettingsDialogTest, OkWithNothingChangedAppliesOnlyTheAlwaysAppliedListsAndSendsTheFolder) {
    OpenConnected(0);
    const std::string folder = MakeFolder("ok shots");
    Store(Section(), "Save Path", folder.c_str());
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    ASSERT_EQ(Text(settings, IDC_EdtSavePath), folder);
    sim().SimLogClear();

    Click(settings, IDOK);
    const auto calls = SettingCalls();
    ASSERT_EQ(Names(calls), kAlwaysApplied);
    EXPECT_EQ(Arg(calls[0], 1), 0x08000005u);
    EXPECT_EQ(Arg(calls[1], 1), 0x08000C00u);
    EXPECT_EQ(StoredKeys(), (Strings{"Save Path", "Shooting Mode", "Macro", "Foucsing Point", "AF Light"}));
    EXPECT_EQ(Stored("Macro"), "0");
    EXPECT_EQ(Stored("Foucsing Point"), "12289");
    EXPECT_EQ(Stored("AF Light"), "1");
    EXPECT_FALSE(IsWindowVisible(settings));
    EXPECT_EQ(std::string(Access::Camera(*dialog).GetSaveFolder()), folder);
}

TEST_F(SettingsDialogTest, EachChangedListAppliesAndStoresOnlyItsOwnKey) {
    OpenConnected(0);
    struct Case {
        int combo;
        int index;
        const char* call;
        Strings keys;  // stored by this change
    };
    const Case cases[] = {
        {IDC_CmbSizeQuality, 3, "CDSetImageFormatAttribute", {"Size", "Quality"}},
        {IDC_CmbWB, 2, "CDSetWBSetting", {"White Balence"}},
        {IDC_CmbExpComp, 0, "CDSetExposureComp", {"Exposal Compensation"}},
        {IDC_CmbFlash, 3, "CDSetFlashSetting", {"Flash"}},
        {IDC_CmbISO, 2, "CDSetRelCamSettingData", {"ISO Speed"}},
        {IDC_CmbMetering, 1, "CDSetRelCamSettingData", {"Metering Mode"}},
        {IDC_CmbPhotoEffect, 4, "CDSetRelCamSettingData", {"Photo Effect"}},
    };
    const Strings always = {"Macro", "Foucsing Point", "AF Light"};
    for (const Case& c : cases) {
        WritePrivateProfileStringA(Section().c_str(), nullptr, nullptr, TestFile("SetData.ini").c_str());
        HWND settings = OpenSettings();
        ASSERT_NE(settings, nullptr);
        sim().SimLogClear();
        Select(settings, c.combo, c.index);
        const LPARAM data = ItemData(settings, c.combo, c.index);
        Click(settings, IDOK);

        const auto calls = SettingCalls();
        ASSERT_EQ(Names(calls), With({c.call}, kAlwaysApplied)) << c.keys[0];
        Strings expectedKeys = {"Shooting Mode"};
        expectedKeys.insert(expectedKeys.end(), c.keys.begin(), c.keys.end());
        expectedKeys.insert(expectedKeys.end(), always.begin(), always.end());
        EXPECT_EQ(StoredKeys(), expectedKeys);
        if (c.combo == IDC_CmbSizeQuality) {
            const auto* pair = reinterpret_cast<const ImageFormatPair*>(data);
            EXPECT_EQ(Arg(calls[0], 1), pair->quality);
            EXPECT_EQ(Arg(calls[0], 2), pair->size);
            EXPECT_EQ(Stored("Size"), std::to_string(pair->size));
            EXPECT_EQ(Stored("Quality"), std::to_string(pair->quality));
            EXPECT_EQ(sim().Setting("ImageSize"), pair->size);
        } else if (c.combo == IDC_CmbFlash) {
            EXPECT_EQ(Arg(calls[0], 1), static_cast<uint32_t>(data));
            EXPECT_EQ(Arg(calls[0], 2), 255u);
        } else if (std::string(c.call) == "CDSetRelCamSettingData") {
            const auto bytes = Data(calls[0]);
            ASSERT_FALSE(bytes.empty());
            EXPECT_EQ(bytes[0], static_cast<uint8_t>(data));
            EXPECT_EQ(bytes.size(), c.combo == IDC_CmbMetering ? 1u : 2u);
        } else {
            EXPECT_EQ(Arg(calls[0], 1), static_cast<uint32_t>(data));
        }
        EXPECT_EQ(Stored(c.keys.back().c_str()),
                  c.combo == IDC_CmbSizeQuality ? Stored("Quality") : std::to_string(static_cast<uint32_t>(data)));
    }
}

TEST_F(SettingsDialogTest, OwnerNameIsStoredInFullWhileTheCameraKeepsItsField) {
    OpenConnected(0);
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    const std::string name = "Ann Example of the Long Family Name";  // 35 characters
    Type(settings, IDC_EdtOwnerName, name);
    sim().SimLogClear();
    Click(settings, IDOK);
    EXPECT_EQ(Names(SettingCalls()), With({"CDSetDevicePropertyData"}, kAlwaysApplied));
    EXPECT_EQ(Stored("Owner Name"), name);
    char owner[64] = {};
    sim().SimGetSettingText("Owner", owner, sizeof owner);
    EXPECT_EQ(std::string(owner), name.substr(0, 32));

    // Read back, the simulated camera hands out its field with a terminator in its 32 bytes.
    ASSERT_EQ(OpenSettings(), settings);
    EXPECT_EQ(Text(settings, IDC_EdtOwnerName), name.substr(0, 31));
}

TEST_F(SettingsDialogTest, ClockIsSetFromTheDateOfOnePickerAndTheTimeOfTheOtherButNotStored) {
    OpenConnected(0);
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    SYSTEMTIME date{}, time{};
    date.wYear = 2024, date.wMonth = 2, date.wDay = 29, date.wHour = 1;
    time.wYear = 2020, time.wMonth = 7, time.wDay = 4, time.wHour = 13, time.wMinute = 45, time.wSecond = 10;
    PickDateTime(settings, date, time);
    sim().SimLogClear();
    Click(settings, IDOK);

    std::tm local{};
    local.tm_year = 124, local.tm_mon = 1, local.tm_mday = 29, local.tm_hour = 13, local.tm_min = 45,
    local.tm_sec = 10, local.tm_isdst = -1;
    const auto expected = static_cast<int32_t>(mktime(&local));
    const auto calls = SettingCalls();
    ASSERT_EQ(Names(calls), With({"CDSetDevicePropertyData"}, kAlwaysApplied));
    EXPECT_EQ(Arg(calls[0], 1), 0x0800000Du);
    int32_t sent = 0;
    ASSERT_EQ(Data(calls[0]).size(), 4u);
    memcpy(&sent, calls[0].data, 4);
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(StoredKeys(), (Strings{"Shooting Mode", "Macro", "Foucsing Point", "AF Light"}));

    // A date the 32-bit clock cannot hold is not sent.
    settings = OpenSettings();
    date.wYear = 2040;
    PickDateTime(settings, date, time);
    sim().SimLogClear();
    Click(settings, IDOK);
    EXPECT_EQ(Names(SettingCalls()), kAlwaysApplied);
}

TEST_F(SettingsDialogTest, ShutterPriorityStoresTvAndManualStoresTvThenAv) {
    OpenConnected(0);
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    Click(settings, IDC_RdoShutterPriority);
    sim().SimLogClear();
    Select(settings, IDC_CmbTv, 5);
    const auto tv = static_cast<uint32_t>(ItemData(settings, IDC_CmbTv, 5));
    Click(settings, IDOK);
    auto calls = SettingCalls();
    ASSERT_EQ(Names(calls), With({"CDSetTvValue"}, kAlwaysApplied));
    EXPECT_EQ(Arg(calls[0], 1), tv);
    EXPECT_EQ(Stored("TV"), std::to_string(tv));
    EXPECT_EQ(Stored("AV"), "");
    EXPECT_EQ(sim().Setting("Tv"), tv);

    // Manual: a change of either list applies both, Tv first.
    settings = OpenSettings();
    ASSERT_TRUE(IsDlgButtonChecked(settings, IDC_RdoShutterPriority));
    Click(settings, IDC_RdoManual);
    sim().SimLogClear();
    Select(settings, IDC_CmbAv, 2);
    const auto av = static_cast<uint32_t>(ItemData(settings, IDC_CmbAv, 2));
    const auto shownTv = static_cast<uint32_t>(ItemData(settings, IDC_CmbTv, Selection(settings, IDC_CmbTv)));
    Click(settings, IDOK);
    calls = SettingCalls();
    ASSERT_EQ(Names(calls), With({"CDSetTvValue", "CDSetAvValue"}, kAlwaysApplied));
    EXPECT_EQ(Arg(calls[0], 1), shownTv);
    EXPECT_EQ(Arg(calls[1], 1), av);
    EXPECT_EQ(Stored("TV"), std::to_string(shownTv));
    EXPECT_EQ(Stored("AV"), std::to_string(av));
    EXPECT_EQ(Stored("Shooting Mode"), "4");
}

TEST_F(SettingsDialogTest, CancelledEditsAreNotAppliedByALaterOk) {
    OpenConnected(0);
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    Select(settings, IDC_CmbWB, 3);
    Select(settings, IDC_CmbFlash, 2);
    Type(settings, IDC_EdtOwnerName, "Nobody");
    SYSTEMTIME when{};
    when.wYear = 2022, when.wMonth = 5, when.wDay = 6;
    PickDateTime(settings, when, when);
    Click(settings, IDCANCEL);
    EXPECT_EQ(sim().Count("CDSetWBSetting"), 0);

    ASSERT_EQ(OpenSettings(), settings);
    sim().SimLogClear();
    Click(settings, IDOK);
    EXPECT_EQ(Names(SettingCalls()), kAlwaysApplied);
    EXPECT_EQ(Stored("White Balence"), "");
    EXPECT_EQ(Stored("Owner Name"), "");
}

TEST_F(SettingsDialogTest, MacroChosenAtOkPutsTheCameraInMacroUntilTheNextShow) {
    OpenConnected(0);
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    SendDlgItemMessageA(settings, IDC_CmbMacro, CB_SETCURSEL, 1, 0);  // no change handler
    sim().SimLogClear();
    Click(settings, IDOK);
    const auto calls = SettingCalls();
    ASSERT_EQ(Names(calls), With({"CDSetShootingMode"}, kAlwaysApplied));
    EXPECT_EQ(Arg(calls[0], 1), 110u);
    EXPECT_EQ(Stored("Macro"), "1");
    EXPECT_EQ(sim().Setting("ShootingMode"), 110u);

    ASSERT_EQ(OpenSettings(), settings);
    EXPECT_EQ(sim().Setting("ShootingMode"), 1u);
    EXPECT_EQ(Selection(settings, IDC_CmbMacro), 0);
}

TEST_F(SettingsDialogTest, ARefusedSettingIsStillStoredAndTheRestApplied) {
    OpenConnected(0);
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    Select(settings, IDC_CmbWB, 2);
    Select(settings, IDC_CmbFlash, 2);
    sim().SimSetFault("CDSetWBSetting", 0x81, -1);
    sim().SimLogClear();
    Click(settings, IDOK);
    EXPECT_EQ(Names(SettingCalls()), With({"CDSetWBSetting", "CDSetFlashSetting"}, kAlwaysApplied));
    EXPECT_EQ(Stored("White Balence"), std::to_string(ItemData(settings, IDC_CmbWB, 2)));
    EXPECT_EQ(Stored("Flash"), std::to_string(ItemData(settings, IDC_CmbFlash, 2)));
    EXPECT_FALSE(IsWindowVisible(settings));
}

TEST_F(SettingsDialogTest, ATypedSavePathReachesTheCameraWindowOnlyWhenTheFolderExists) {
    OpenConnected(0);
    const std::string before = Access::Camera(*dialog).GetSaveFolder();
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    Type(settings, IDC_EdtSavePath, TestFile("missing folder"));
    Click(settings, IDOK);
    EXPECT_EQ(std::string(Access::Camera(*dialog).GetSaveFolder()), before);

    const std::string folder = MakeFolder("typed shots");
    settings = OpenSettings();
    EXPECT_EQ(Text(settings, IDC_EdtSavePath), TestFile("missing folder"));  // kept from the last OK
    Type(settings, IDC_EdtSavePath, folder);
    Click(settings, IDOK);
    EXPECT_EQ(std::string(Access::Camera(*dialog).GetSaveFolder()), folder);
    EXPECT_EQ(Stored("Save Path"), "");  // only Browse stores it
}

TEST(SettingDialogNotify, OkShowsTheBusyCursorFromNatureAniUntilTheFolderIsSent) {
    char previousFolder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previousFolder);
    SetCurrentDirectoryA(test_support::ExeFolder().c_str());  // the file is found by its bare name
    ASSERT_TRUE(test_support::WriteTextFile(TestFile("Nature.ani"), MonochromeCursorFile()));
    NotifyRecorder recorder;
    CCanonSettingDlg dlg;
    dlg.SetNotifyWnd(recorder.hwnd());
    ASSERT_TRUE(dlg.Create(nullptr));
    dlg.ShowWindow(SW_SHOW);
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    SetCursor(arrow);
    HCURSOR during = nullptr;
    recorder.onMessage = [&](const NotifyRecorder::Message&) { during = GetCursor(); };
    Click(dlg.GetSafeHwnd(), IDOK);
    EXPECT_NE(during, nullptr);
    EXPECT_NE(during, arrow);
    EXPECT_EQ(GetCursor(), arrow);

    // Without the file the cursor stays as it is.
    DeleteFileA(TestFile("Nature.ani").c_str());
    dlg.ShowWindow(SW_SHOW);
    Click(dlg.GetSafeHwnd(), IDOK);
    EXPECT_EQ(during, arrow);
    EXPECT_EQ(GetCursor(), arrow);
    SetCurrentDirectoryA(previousFolder);
}

TEST(SettingDialogNotify, OkSendsTheSavePathTextToTheNotifyWindow) {
    NotifyRecorder recorder;
    CCanonSettingDlg dlg;
    dlg.SetNotifyWnd(recorder.hwnd());
    ASSERT_TRUE(dlg.Create(nullptr));
    dlg.ShowWindow(SW_SHOW);
    SetDlgItemTextA(dlg.GetSafeHwnd(), IDC_EdtSavePath, "D:\\Somewhere else");
    Click(dlg.GetSafeHwnd(), IDOK);
    ASSERT_EQ(recorder.received.size(), 1u);
    EXPECT_EQ(recorder.received[0].message, static_cast<UINT>(WM_CAM_SET_SAVE_FOLDER));
    EXPECT_EQ(recorder.received[0].text, "D:\\Somewhere else");
    EXPECT_EQ(recorder.received[0].lParam, 0);
}
