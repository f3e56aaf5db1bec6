// The OK handler of the settings dialog: applies the changed lists (and at every OK those the
// settings table says), stores every applied setting and hands the save folder over.
#include "settings/canon_setting_dlg.h"

#include <commctrl.h>

#include "camera/busy_cursor.h"
#include "camera/camera_messages.h"
#include "resources/settings_dialog_ids.h"
#include "settings/camera_clock.h"

using setting_table::AtOk;
using setting_table::Row;
using setting_table::Setting;
using setting_table::SettingRow;

void CCanonSettingDlg::OnOK() {
    {
        BusyCursor cursor;
        ApplyAvTv();
        ApplyRows(AtOk::WhenChanged);
        // The remaining steps work on what the controls show now, the typed save path included.
        UpdateData(TRUE);
        ApplyOwnerName();
        ApplyCameraClock();
        ApplyRows(AtOk::EveryOk);
        ClearChangeFlags();
        // The camera window takes the folder only if it exists; the text lives during the call.
        if (m_hNotifyWnd)
            SendMessageA(m_hNotifyWnd, WM_CAM_SET_SAVE_FOLDER, reinterpret_cast<WPARAM>(m_strSavePath.c_str()), 0);
    }
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CCanonSettingDlg::ApplyRows(AtOk when) {
    for (const SettingRow& row : setting_table::AllRows())
        if (row.atOk == when && (when != AtOk::WhenChanged || Changed(row.id))) ApplyChoice(row);
}

bool CCanonSettingDlg::SelectedData(int id, LPARAM* data) const {
    const int selection = ComboGetSel(id);
    if (selection == CB_ERR) return false;
    *data = ComboGetData(id, selection);
    return *data != CB_ERR;
}

void CCanonSettingDlg::ApplyChoice(const SettingRow& row) {
    LPARAM data = 0;
    if (!SelectedData(row.control, &data)) return;
    // Stored whether or not the camera took it.
    const setting_table::Sent sent = setting_table::SendChoice(row, m_setting, data);
    setting_table::StoreSent(row, sent, [this](const char* key, const std::string& text) {
        WriteSetting(key, text.c_str());
    });
}

// A change of either list applies both, Tv first, each while the shooting mode uses it.
void CCanonSettingDlg::ApplyAvTv() {
    if (!Changed(Setting::Tv) && !Changed(Setting::Av)) return;
    for (Setting setting : {Setting::Tv, Setting::Av}) {
        const SettingRow& row = Row(setting);
        if (IsWindowEnabled(GetItem(row.control))) ApplyChoice(row);
    }
}

void CCanonSettingDlg::ApplyOwnerName() {
    const SettingRow& row = Row(Setting::OwnerName);
    if (!Changed(row.id)) return;
    const std::string owner = GetItemText(row.control);
    m_setting.SetOwnerName(owner.c_str());  // the camera keeps the first 32 bytes
    WriteSetting(row.stored.key, owner.c_str());
}

void CCanonSettingDlg::ApplyCameraClock() {
    if (!m_bTimeChanged) return;
    SYSTEMTIME date{}, time{};
    HWND datePicker = GetItem(IDC_DateCamera), timePicker = GetItem(IDC_TimeCamera);
    if (!datePicker || !timePicker) return;
    if (SendMessageA(datePicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date)) != GDT_VALID ||
        SendMessageA(timePicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID)
        return;
    LocalDateTime local;
    local.year = date.wYear;
    local.month = date.wMonth;
    local.day = date.wDay;
    local.hour = time.wHour;
    local.minute = time.wMinute;
    local.second = time.wSecond;
    int32_t calendar = 0;
    // A date the 32-bit camera clock cannot hold (before 1970, after January 2038) is not sent.
    if (!LocalToCalendar(local, &calendar)) return;
    const __time32_t clock = calendar;
    m_setting.SetCameraTime(&clock);
}
