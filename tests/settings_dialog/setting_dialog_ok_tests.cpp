// OK and Cancel of the settings window: what is applied to the camera, what is stored in
// SetData.ini, and what the camera window hears of the save folder.
#include <ctime>

#include "settings/canon_setting_dlg.h"
#include "tests/settings_dialog/settings_dialog_fixture.h"

namespace {

// Every OK with the default compact camera applies focusing point and AF-assist light (macro
// off writes nothing to the camera) and stores the three.
const Strings kAlwaysApplied = {"CDSetRelCamSettingData 08000005 0130", "CDSetRelCamSettingData 08000C00 0100"};
const Strings kAlwaysStored = {"Macro", "Foucsing Point", "AF Light"};

void PickDateTime(HWND settings, const SYSTEMTIME& date, const SYSTEMTIME& time) {
    SendDlgItemMessageA(settings, IDC_DateCamera, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
    SendDlgItemMessageA(settings, IDC_TimeCamera, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    NMDATETIMECHANGE change{{GetDlgItem(settings, IDC_TimeCamera), IDC_TimeCamera, DTN_DATETIMECHANGE}, GDT_VALID, time};
    SendMessageA(settings, WM_NOTIFY, IDC_TimeCamera, reinterpret_cast<LPARAM>(&change));
}

}  // namespace

TEST_F(SettingsDialogTest, OkWithNothingChangedAppliesTheAlwaysAppliedListsAndSendsAnExistingFolder) {
    OpenConnected();
    const std::string before = Camera().GetSaveFolder(), missing = TestFile("missing folder");
    Type(settings, IDC_EdtSavePath, missing);
    EXPECT_EQ(Ok(), kAlwaysApplied);
    EXPECT_FALSE(IsWindowVisible(settings));
    EXPECT_EQ(Camera().GetSaveFolder(), before);
    ASSERT_EQ(OpenSettings(), settings);
    EXPECT_EQ(Text(settings, IDC_EdtSavePath), missing);  // kept from the last OK
    Type(settings, IDC_EdtSavePath, test_support::ExeFolder());
    EXPECT_EQ(Ok(), kAlwaysApplied);
    EXPECT_EQ(Camera().GetSaveFolder(), test_support::ExeFolder());
    EXPECT_EQ(StoredKeys(), Strings{"Shooting Mode"} + kAlwaysStored);  // only Browse stores the folder
    EXPECT_EQ((Strings{Stored("Macro"), Stored("Foucsing Point"), Stored("AF Light")}), (Strings{"0", "12289", "1"}));
}

TEST_F(SettingsDialogTest, EachChangedListAppliesAndStoresOnlyItsOwnKey) {
    OpenConnected();
    struct Case {
        int list, index;
        const char* key;
        const char* call;
        int bytes;  // data bytes of a release-camera setting; 0: the value as an argument
    } const cases[] = {
        {IDC_CmbWB, 2, "White Balence", "CDSetWBSetting", 0},
        {IDC_CmbExpComp, 0, "Exposal Compensation", "CDSetExposureComp", 0},
        {IDC_CmbFlash, 3, "Flash", "CDSetFlashSetting", 0},
        {IDC_CmbISO, 2, "ISO Speed", "CDSetRelCamSettingData 0800000C", 2},
        {IDC_CmbMetering, 1, "Metering Mode", "CDSetRelCamSettingData 08000004", 1},
        {IDC_CmbPhotoEffect, 4, "Photo Effect", "CDSetRelCamSettingData 08000B00", 2},
        {IDC_CmbSizeQuality, 3, "Size", "CDSetImageFormatAttribute", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Click(settings, IDCANCEL);  // the next show reads the camera again
        Store(nullptr, nullptr);
        settings = OpenSettings();
        const uint32_t data = Select(settings, c.list, c.index);
        std::string call = std::string(c.call) + " " + (c.bytes ? Hex(&data, c.bytes) : std::to_string(data));
        Strings keys = {c.key}, values = {std::to_string(data)}, stored;
        if (c.list == IDC_CmbFlash) call += " 255";
        if (c.list == IDC_CmbSizeQuality) {  // the item data points to the {size, quality} pair
            const auto& pair = *reinterpret_cast<const ImageFormatPair*>(Combo(settings, c.list, CB_GETITEMDATA, c.index));
            call = std::string(c.call) + " " + std::to_string(pair.quality) + " " + std::to_string(pair.size);
            keys = {"Size", "Quality"}, values = {std::to_string(pair.size), std::to_string(pair.quality)};
        }
        EXPECT_EQ(Ok(), Strings{call} + kAlwaysApplied);
        EXPECT_EQ(StoredKeys(), Strings{"Shooting Mode"} + keys + kAlwaysStored);
        for (const std::string& key : keys) stored.push_back(Stored(key.c_str()));
        EXPECT_EQ(stored, values);
    }
}

TEST_F(SettingsDialogTest, OkSetsTheClockFromTheDateOfOnePickerAndTheTimeOfTheOtherWithoutStoringIt) {
    OpenConnected();
    SYSTEMTIME date{2024, 2, 0, 29, 1, 0, 0, 0}, time{2020, 7, 0, 4, 13, 45, 10, 0};
    PickDateTime(settings, date, time);
    std::tm local{};
    local.tm_year = 124, local.tm_mon = 1, local.tm_mday = 29, local.tm_hour = 13, local.tm_min = 45,
    local.tm_sec = 10, local.tm_isdst = -1;
    const auto expected = static_cast<uint32_t>(mktime(&local));
    EXPECT_EQ(Ok(), Strings{"CDSetDevicePropertyData 0800000D " + Hex(&expected, 4)} + kAlwaysApplied);
    EXPECT_EQ(StoredKeys(), Strings{"Shooting Mode"} + kAlwaysStored);
    date.wYear = 2040;  // beyond the 32-bit clock: not sent
    settings = OpenSettings();
    PickDateTime(settings, date, time);
    EXPECT_EQ(Ok(), kAlwaysApplied);
}

TEST_F(SettingsDialogTest, ShutterPriorityStoresTvAndManualStoresTvThenAv) {
    OpenConnected();
    Click(settings, IDC_RdoShutterPriority);
    const uint32_t tv = Select(settings, IDC_CmbTv, 5);
    EXPECT_EQ(Ok(), Strings{"CDSetTvValue " + std::to_string(tv)} + kAlwaysApplied);
    EXPECT_EQ((Strings{Stored("TV"), Stored("AV")}), (Strings{std::to_string(tv), ""}));
    EXPECT_EQ(Setting("Tv"), tv);
    settings = OpenSettings();  // Manual: a change of either list applies both, Tv first
    ASSERT_TRUE(Checked(settings, IDC_RdoShutterPriority));
    Click(settings, IDC_RdoManual);
    const std::string av = std::to_string(Select(settings, IDC_CmbAv, 2)), shownTv = std::to_string(ItemData(settings, IDC_CmbTv));
    EXPECT_EQ(Ok(), (Strings{"CDSetTvValue " + shownTv, "CDSetAvValue " + av} + kAlwaysApplied));
    EXPECT_EQ((Strings{Stored("TV"), Stored("AV"), Stored("Shooting Mode")}), (Strings{shownTv, av, "4"}));
}

TEST_F(SettingsDialogTest, CancelledEditsAreNotAppliedByALaterOk) {
    OpenConnected();
    Select(settings, IDC_CmbWB, 3);
    Select(settings, IDC_CmbFlash, 2);
    Type(settings, IDC_EdtOwnerName, "Nobody");
    SYSTEMTIME when{2022, 5, 0, 6, 0, 0, 0, 0};
    PickDateTime(settings, when, when);
    Click(settings, IDCANCEL);
    ASSERT_EQ(OpenSettings(), settings);
    EXPECT_EQ(Ok(), kAlwaysApplied);
    EXPECT_EQ(StoredKeys(), Strings{"Shooting Mode"} + kAlwaysStored);
}

TEST_F(SettingsDialogTest, ARefusedSettingIsStillStoredAndTheRestAppliedAnOwnerNameStoredInFull) {
    OpenConnected();
    const std::string wb = std::to_string(Select(settings, IDC_CmbWB, 2));
    const std::string flash = std::to_string(Select(settings, IDC_CmbFlash, 2));
    const std::string name = "Ann Example of the Long Family Name";  // 35 characters
    Type(settings, IDC_EdtOwnerName, name);
    Sim().SimSetFault("CDSetWBSetting", 0x81, -1);
    EXPECT_EQ(Ok(), (Strings{"CDSetWBSetting " + wb, "CDSetFlashSetting " + flash + " 255", "CDSetDevicePropertyData 0800000C"} +
                     kAlwaysApplied));
    EXPECT_EQ((Strings{Stored("White Balence"), Stored("Flash"), Stored("Owner Name")}), (Strings{wb, flash, name}));
    EXPECT_EQ(Owner(), name.substr(0, 32));  // the camera's field
}

TEST_F(SettingsDialogTest, MacroChosenAtOkPutsTheCameraInMacroUntilTheNextShow) {
    OpenConnected();
    Combo(settings, IDC_CmbMacro, CB_SETCURSEL, 1);  // no change notice needed
    EXPECT_EQ(Ok(), Strings{"CDSetShootingMode 110"} + kAlwaysApplied);
    EXPECT_EQ(Stored("Macro"), "1");
    EXPECT_EQ(Setting("ShootingMode"), 110u);
    ASSERT_EQ(OpenSettings(), settings);
    EXPECT_EQ(Setting("ShootingMode"), 1u);
    EXPECT_EQ(Selection(settings, IDC_CmbMacro), 0);
}

TEST(SettingDialogNotify, OkSendsTheSavePathTextUnderTheBusyCursorFromNatureAni) {
    char previousFolder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previousFolder);
    SetCurrentDirectoryA(test_support::ExeFolder().c_str());  // the file is found by its bare name
    std::string cursor;  // 32 x 32, monochrome: what LoadCursorFromFile takes whatever the file is called
    auto put = [&](uint32_t v, int bytes) { cursor.append(reinterpret_cast<const char*>(&v), bytes); };
    put(0, 2), put(2, 2), put(1, 2), put(32, 1), put(32, 1), put(0, 2), put(16, 2), put(16, 2), put(304, 4), put(22, 4);
    put(40, 4), put(32, 4), put(64, 4), put(1, 2), put(1, 2);
    cursor.append(28, '\0');  // the rest of the header, black
    put(0xFFFFFF, 4);
    cursor += std::string(128, '\x0F') + std::string(128, '\0');  // XOR and AND masks
    ASSERT_TRUE(test_support::WriteTextFile(TestFile("Nature.ani"), cursor));
    Recorder recorder;
    CCanonSettingDlg dlg;
    dlg.SetNotifyWnd(recorder.hwnd);
    ASSERT_TRUE(dlg.Create(nullptr));
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW), during = nullptr;
    recorder.onMessage = [&] { during = GetCursor(); };
    for (int run = 0; run < 2; ++run) {  // without the file the cursor stays as it is
        dlg.ShowWindow(SW_SHOW);
        SetCursor(arrow);
        Type(dlg.GetSafeHwnd(), IDC_EdtSavePath, "D:\\Somewhere else");
        Click(dlg.GetSafeHwnd(), IDOK);
        ASSERT_EQ(recorder.received.size(), run + 1u);
        EXPECT_EQ(recorder.received[run].message, static_cast<UINT>(WM_CAM_SET_SAVE_FOLDER));
        EXPECT_EQ(recorder.received[run].text, "D:\\Somewhere else");
        EXPECT_EQ(recorder.received[run].lParam, 0);
        EXPECT_EQ(during != arrow && during != nullptr, run == 0);
        EXPECT_EQ(GetCursor(), arrow);
        DeleteFileA(TestFile("Nature.ani").c_str());
    }
    SetCurrentDirectoryA(previousFolder);
}
