// OK and Cancel of the settings window: what is applied to the camera, what is stored in
// SetData.ini, and what the camera window hears of the save folder.
#include <ctime>

#include "settings/canon_setting_dlg.h"
#include "tests/settings_dialog/settings_dialog_fixture.h"

namespace {

// Every OK with the default compact camera applies focusing point and AF-assist light (macro
// off writes nothing to the camera) and stores the three.
const Strings kAlwaysApplied = {"CDSetRelCamSettingData 08000005 0130", "CDSetRelCamSettingData 08000C00 0100"};
const Strings kAlwaysStored = {"Macro", "Foucsing Point", "AF Light"}, kAlwaysStoredValues = {"0", "12289", "1"};

void PickDateTime(HWND settings, const SYSTEMTIME& date, const SYSTEMTIME& time) {
    SendDlgItemMessageA(settings, IDC_DateCamera, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
    SendDlgItemMessageA(settings, IDC_TimeCamera, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    NMDATETIMECHANGE change{{GetDlgItem(settings, IDC_TimeCamera), IDC_TimeCamera, DTN_DATETIMECHANGE}, GDT_VALID, time};
    SendMessageA(settings, WM_NOTIFY, IDC_TimeCamera, reinterpret_cast<LPARAM>(&change));
}

}  // namespace

// The first round changes nothing: OK applies and stores only the lists applied always, not
// the edits cancelled before it, and sends the folder typed in (only Browse stores one).
TEST_F(SettingsDialogTest, EachChangedListAppliesAndStoresOnlyItsOwnKeyCancelledEditsNone) {
    OpenConnected();
    Select(settings, IDC_CmbWB, 3), Select(settings, IDC_CmbFlash, 2), Type(settings, IDC_EdtOwnerName, "Nobody");
    const SYSTEMTIME when{2022, 5, 0, 6, 0, 0, 0, 0};
    PickDateTime(settings, when, when);
    struct Case { int list, index; const char *key, *call; int bytes; };  // bytes of release-camera data
    const Case cases[] = {
        {0, 0, "", "", 0},
        {IDC_CmbExpComp, 0, "Exposal Compensation", "CDSetExposureComp", 0},
        {IDC_CmbWB, 2, "White Balence", "CDSetWBSetting", 0},
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
        Strings calls, keys, values, stored;
        if (c.list) {
            const uint32_t data = Select(settings, c.list, c.index);
            calls = {std::string(c.call) + " " + (c.bytes ? Hex(&data, c.bytes) : std::to_string(data)) +
                     (c.list == IDC_CmbFlash ? " 255" : "")};
            keys = {c.key}, values = {std::to_string(data)};
        } else {
            Type(settings, IDC_EdtSavePath, test_support::ExeFolder());
        }
        if (c.list == IDC_CmbSizeQuality) {  // the item data points to the {size, quality} pair
            const auto& pair = *reinterpret_cast<const ImageFormatPair*>(Combo(settings, c.list, CB_GETITEMDATA, c.index));
            calls = {std::string(c.call) + " " + std::to_string(pair.quality) + " " + std::to_string(pair.size)};
            keys = {"Size", "Quality"}, values = {std::to_string(pair.size), std::to_string(pair.quality)};
        }
        EXPECT_EQ(Ok(), calls + kAlwaysApplied);
        EXPECT_FALSE(IsWindowVisible(settings));
        EXPECT_EQ(StoredKeys(), Strings{"Shooting Mode"} + keys + kAlwaysStored);
        for (const std::string& key : keys + kAlwaysStored) stored.push_back(Stored(key.c_str()));
        EXPECT_EQ(stored, values + kAlwaysStoredValues);
    }
    EXPECT_EQ(Camera().GetSaveFolder(), test_support::ExeFolder());
}

TEST_F(SettingsDialogTest, OkSetsTheClockFromTheDateOfOnePickerAndTheTimeOfTheOtherWithoutStoringIt) {
    OpenConnected();
    SYSTEMTIME date{2024, 2, 0, 29, 1, 0, 0, 0}, time{2020, 7, 0, 4, 13, 45, 10, 0};
    PickDateTime(settings, date, time);
    std::tm local{10, 45, 13, 29, 1, 124, 0, 0, -1};  // the platform decides on daylight saving
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
    EXPECT_EQ(Stored("TV") + "|" + Stored("AV"), std::to_string(tv) + "|");
    settings = OpenSettings();  // Manual: a change of either list applies both, Tv first
    ASSERT_TRUE(Checked(settings, IDC_RdoShutterPriority));
    Click(settings, IDC_RdoManual);
    const std::string av = std::to_string(Select(settings, IDC_CmbAv, 2));
    const std::string shownTv = std::to_string(ItemData(settings, IDC_CmbTv));
    EXPECT_EQ(Ok(), (Strings{"CDSetTvValue " + shownTv, "CDSetAvValue " + av} + kAlwaysApplied));
    EXPECT_EQ((Strings{Stored("TV"), Stored("AV"), Stored("Shooting Mode")}), (Strings{shownTv, av, "4"}));
}

// Macro on at OK lasts until the next show, which sets the checked Program AE again.
TEST_F(SettingsDialogTest, ARefusedSettingIsStillStoredTheRestAppliedAnOwnerNameStoredInFullMacroUntilTheNextShow) {
    OpenConnected();
    const std::string wb = std::to_string(Select(settings, IDC_CmbWB, 2));
    const std::string flash = std::to_string(Select(settings, IDC_CmbFlash, 2));
    const std::string name = "Ann Example of the Long Family Name";  // 35 characters
    Type(settings, IDC_EdtOwnerName, name);
    Combo(settings, IDC_CmbMacro, CB_SETCURSEL, 1);  // no change notice needed
    Sim().SimSetFault("CDSetWBSetting", 0x81, -1);
    EXPECT_EQ(Ok(), (Strings{"CDSetWBSetting " + wb, "CDSetFlashSetting " + flash + " 255",
                             "CDSetDevicePropertyData 0800000C", "CDSetShootingMode 110"} + kAlwaysApplied));
    EXPECT_EQ((Strings{Stored("White Balence"), Stored("Flash"), Stored("Owner Name"), Stored("Macro")}),
              (Strings{wb, flash, name, "1"}));
    EXPECT_EQ(Owner(), name.substr(0, 32));  // the camera's field
    EXPECT_EQ(Setting("ShootingMode"), 110u);
    ASSERT_EQ(OpenSettings(), settings);
    EXPECT_EQ(1u, Setting("ShootingMode"));
    EXPECT_EQ(0, Selection(settings, IDC_CmbMacro));
}

// The host's loop knows nothing of the window (no IsDialogMessage there), and the keys still work.
TEST_F(SettingsDialogTest, KeysInTheModelessWindowTabMovesTheFocusEnterIsOkEscapeIsCancel) {
    OpenConnected();
    HWND owner = GetDlgItem(settings, IDC_EdtOwnerName);
    auto press = [](WPARAM key) { PostMessageA(GetFocus(), WM_KEYDOWN, key, 0), Drain(); };
    SetFocus(owner);
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), GetNextDlgTabItem(settings, owner, FALSE));
    struct Case { WPARAM key; bool applied; };
    for (const Case& c : {Case{VK_RETURN, true}, Case{VK_ESCAPE, false}}) {
        SCOPED_TRACE(c.key);
        Store("White Balence", nullptr);
        settings = OpenSettings();
        const uint32_t wb = Select(settings, IDC_CmbWB, 4);
        SetFocus(owner);
        Sim().SimLogClear();
        press(c.key);
        EXPECT_FALSE(IsWindowVisible(settings));
        EXPECT_EQ(Calls(), c.applied ? Strings{"CDSetWBSetting " + std::to_string(wb)} + kAlwaysApplied : Strings{});
        EXPECT_EQ(Stored("White Balence"), c.applied ? std::to_string(wb) : "");
    }
}
