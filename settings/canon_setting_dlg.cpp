#include "settings/canon_setting_dlg.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>

#include "camera/busy_cursor.h"
#include "camera/camera_messages.h"
#include "resources/settings_dialog_ids.h"
#include "sdk/error_report.h"
#include "settings/camera_clock.h"
#include "settings/setting_keys.h"
#include "settings/settings_file.h"
#include "settings/stored_number.h"
#include "settings/timer_shoot_rules.h"

using setting_table::KeyOf;
using setting_table::Row;
using setting_table::Setting;
using setting_table::SettingRow;

namespace {

constexpr char kRestrictedCamera[] = "Canon PowerShot A640";
constexpr size_t kOwnerNameField = 32;

// Copies a text that must fit whole: a cut camera name or folder would name another section
// or folder, so a text that does not fit empties the target instead.
BOOL CopyWhole(char* target, size_t size, const char* text) {
    if (!text || text[0] == '\0') return FALSE;
    const size_t length = strnlen(text, size);
    if (length >= size) {
        target[0] = '\0';
        return FALSE;
    }
    memcpy(target, text, length + 1);
    return TRUE;
}

// COM for the folder browser, when the host has not set up the thread already.
class ComScope {
public:
    ComScope() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(m_result)) CoUninitialize();
    }

private:
    HRESULT m_result;
};

struct ModeButton {
    int id;
    uint16_t mode;
    BOOL av;  // the Av list is enabled and filled
    BOOL tv;  // the Tv list is enabled and filled
};
// In the order the mode handler tests them.
constexpr ModeButton kModeButtons[] = {
    {IDC_RdoProgramAE, 1, FALSE, FALSE},
    {IDC_RdoShutterPriority, 2, FALSE, TRUE},
    {IDC_RdoAperturePriority, 3, TRUE, FALSE},
    {IDC_RdoManual, 4, TRUE, TRUE},
};

// Each list starts as in a new window, enabled and empty: a filler disables a list the camera
// does not offer and never enables it again, and a list it leaves alone must not offer the
// previous camera's values to OK.
void FillLists(HWND dialog, CSettingData& model, setting_table::Refresh phase) {
    for (const setting_table::SettingRow* row : setting_table::FilledIn(phase)) {
        HWND combo = GetDlgItem(dialog, row->control);
        if (!combo) continue;
        EnableWindow(combo, TRUE);
        SendMessageA(combo, CB_RESETCONTENT, 0, 0);
        setting_table::FillChoices(*row, model, combo);
    }
}

}  // namespace

CCanonSettingDlg::CCanonSettingDlg() : DialogBase(IDD_SETTING_DIALOG, nullptr) {
    // The template's date and time pickers need their window class before any creation.
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES};
    InitCommonControlsEx(&classes);
}

CCanonSettingDlg::~CCanonSettingDlg() { DestroyWindow(); }

void CCanonSettingDlg::SetCameraName(const char* name) { m_strCameraName = name ? name : ""; }

BOOL CCanonSettingDlg::SetIniFolder(const char* folder) {
    const BOOL copied = CopyWhole(m_szIniFolder, sizeof m_szIniFolder, folder);
    if (copied || m_szIniFolder[0] == '\0') m_strIniPath.clear();  // rebuilt from the new folder
    return copied;
}

BOOL CCanonSettingDlg::SetDCName(const char* name) { return CopyWhole(m_szDCName, sizeof m_szDCName, name); }

BOOL CCanonSettingDlg::SetSourceHandle(cdHSource source) {
    m_hSource = source;
    return TRUE;
}

void CCanonSettingDlg::SetNotifyWnd(HWND window) { m_hNotifyWnd = window; }

BOOL CCanonSettingDlg::WriteSetting(const char* key, const char* value) {
    if (m_strIniPath.empty()) {
        if (m_szIniFolder[0] == '\0') return FALSE;
        m_strIniPath = settings_file::SetDataPath(m_szIniFolder);
    }
    // Without a camera name there is no section of this camera to write into.
    if (m_szDCName[0] == '\0') return FALSE;
    return settings_file::WriteKey(m_strIniPath, settings_file::SectionOf(m_szDCName), key, value);
}

BOOL CCanonSettingDlg::WriteNumber(const char* key, int32_t value) {
    return WriteSetting(key, StoredNumberText(value).c_str());
}

// ---------------------------------------------------------------------------------------------
// Data exchange and change flags

void CCanonSettingDlg::UpdateData(BOOL fromControls) {
    struct Binding {
        int id;
        std::string CCanonSettingDlg::*text;
    };
    static const Binding kBindings[] = {
        {IDC_EdtSavePath, &CCanonSettingDlg::m_strSavePath},
        {IDC_EdtIntervalMin, &CCanonSettingDlg::m_strIntervalMin},
        {IDC_EdtTotal, &CCanonSettingDlg::m_strTotal},
        {IDC_EdtIntervalSec, &CCanonSettingDlg::m_strIntervalSec},
    };
    if (!GetSafeHwnd()) return;
    for (const Binding& b : kBindings) {
        if (fromControls)
            this->*b.text = GetItemText(b.id);
        else
            SetItemText(b.id, (this->*b.text).c_str());
    }
}

void CCanonSettingDlg::ClearChangeFlags() {
    m_changed.reset();
    m_bTimeChanged = FALSE;
}

// ---------------------------------------------------------------------------------------------
// Window events

BOOL CCanonSettingDlg::OnInitDialog() {
    m_setting.SetSource(m_hSource);
    m_strIntervalMin = "0";
    m_strIntervalSec = "0";
    m_strTotal = "1";
    UpdateData(FALSE);
    m_strIniPath.clear();

    const std::string languageFile = std::string(m_szIniFolder) + "\\KamvioML.ini";
    if (m_lang.SetFile(languageFile.c_str())) m_lang.SetSection("Setting dialog");
    m_lang.TranslateWindow(GetSafeHwnd());
    m_lang.SetSection("Error Message");

    if (m_szIniFolder[0] == '\0') return FALSE;
    m_strIniPath = settings_file::SetDataPath(m_szIniFolder);
    // The stored save path and the camera's own rule follow at every show (Refresh): the
    // window is kept and may meet another camera each time.
    m_strTotal = "1";
    UpdateData(FALSE);
    return TRUE;
}

BOOL CCanonSettingDlg::OnCommand(WORD id, WORD code, HWND control) {
    // Only the settings whose OK looks at a change have a change handler.
    for (const SettingRow& row : setting_table::AllRows()) {
        if (row.atOk != setting_table::AtOk::WhenChanged && row.atOk != setting_table::AtOk::OwnRule) continue;
        if (row.control != id || code != (row.controlIsEdit ? EN_CHANGE : CBN_SELCHANGE)) continue;
        m_changed.set(static_cast<size_t>(row.id));
        return TRUE;
    }
    if (code != BN_CLICKED) return FALSE;
    switch (id) {
    case IDC_RdoProgramAE:
    case IDC_RdoManual:
    case IDC_RdoAperturePriority:
    case IDC_RdoShutterPriority: OnModeButton(); return TRUE;
    case IDC_BtnBrowse: OnBrowse(); return TRUE;
    case IDC_BtnTimerStart: OnBtnTimershoot(); return TRUE;
    default: return FALSE;
    }
}

bool CCanonSettingDlg::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.code != static_cast<UINT>(DTN_DATETIMECHANGE)) return false;
    if (header.idFrom != IDC_DateCamera && header.idFrom != IDC_TimeCamera) return false;
    m_bTimeChanged = TRUE;
    result = 0;
    return true;
}

bool CCanonSettingDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // Every show-window notification, showing or hiding, reads the camera afresh.
    if (message == WM_SHOWWINDOW) Refresh();
    return false;
}

// ---------------------------------------------------------------------------------------------
// Refresh

void CCanonSettingDlg::Refresh() {
    BusyCursor cursor;
    // The camera of this opening, which need not be the one of the last.
    m_setting.SetSource(m_hSource);
    LoadStoredSavePath();

    char owner[kOwnerNameField + 1] = {};  // a full 32-byte name comes without a terminator
    m_setting.GetOwnerName(owner);
    SetItemText(Row(Setting::OwnerName).control, owner);
    UpdateData(FALSE);

    ShowCameraClock();
    UpdateData(FALSE);

    FillLists(GetSafeHwnd(), m_setting, setting_table::Refresh::BeforeMode);

    uint16_t mode = 0;
    m_setting.GetShootingMode(&mode);
    CheckModeButton(mode);
    OnModeButton();

    FillLists(GetSafeHwnd(), m_setting, setting_table::Refresh::AfterMode);
    RestrictCamera();

    // Last: putting the owner name into its edit raised that edit's change notification.
    ClearChangeFlags();
}

void CCanonSettingDlg::LoadStoredSavePath() {
    if (m_szIniFolder[0] == '\0' || m_szDCName[0] == '\0') return;
    char savePath[setting_keys::kValueBufferSize] = {};
    if (settings_file::ReadKey(settings_file::SetDataPath(m_szIniFolder), settings_file::SectionOf(m_szDCName),
                               KeyOf(Setting::SavePath), savePath, sizeof savePath) > 0) {
        m_strSavePath = savePath;
        UpdateData(FALSE);
    }
}

void CCanonSettingDlg::RestrictCamera() {
    // Like the stored save path, this needs the settings folder.
    if (m_szIniFolder[0] == '\0' || m_strCameraName != kRestrictedCamera) return;
    EnableItem(Row(Setting::SizeQuality).control, FALSE);
    EnableItem(Row(Setting::Macro).control, FALSE);
}

void CCanonSettingDlg::ShowCameraClock() {
    __time32_t clock = 0;
    LocalDateTime local;
    if (!m_setting.GetCameraTime(&clock) || !CalendarToLocal(static_cast<int32_t>(clock), &local)) return;
    SYSTEMTIME shown{};
    shown.wYear = static_cast<WORD>(local.year);
    shown.wMonth = static_cast<WORD>(local.month);
    shown.wDay = static_cast<WORD>(local.day);
    shown.wHour = static_cast<WORD>(local.hour);
    shown.wMinute = static_cast<WORD>(local.minute);
    shown.wSecond = static_cast<WORD>(local.second);
    for (int id : {IDC_DateCamera, IDC_TimeCamera})
        if (HWND picker = GetItem(id)) SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&shown));
}

void CCanonSettingDlg::CheckModeButton(uint16_t mode) {
    int checked = IDC_RdoProgramAE;
    for (const ModeButton& button : kModeButtons)
        if (button.mode == mode) checked = button.id;
    for (const ModeButton& button : kModeButtons) SetItemCheck(button.id, button.id == checked);
}

void CCanonSettingDlg::OnModeButton() {
    for (const ModeButton& button : kModeButtons) {
        if (!IsItemChecked(button.id)) continue;
        m_setting.SetShootingMode(button.mode);
        const SettingRow& av = Row(Setting::Av);
        const SettingRow& tv = Row(Setting::Tv);
        EnableItem(av.control, button.av);
        EnableItem(tv.control, button.tv);
        if (button.av) setting_table::FillChoices(av, m_setting, GetItem(av.control));
        if (button.tv) setting_table::FillChoices(tv, m_setting, GetItem(tv.control));
        WriteNumber(KeyOf(Setting::ShootingMode), button.mode);
        return;
    }
}

// ---------------------------------------------------------------------------------------------
// Browse and timer shooting

void CCanonSettingDlg::OnBrowse() {
    const std::string title = m_lang.Translate("Please set save folder");
    char displayName[MAX_PATH] = {};
    BROWSEINFOA browse{};
    browse.hwndOwner = GetSafeHwnd();
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title.c_str();
    ComScope com;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&browse);
    UpdateData(TRUE);
    if (!chosen) return;
    char path[MAX_PATH] = {};
    const BOOL converted = SHGetPathFromIDListA(chosen, path);
    CoTaskMemFree(chosen);
    if (!converted) return;
    path[MAX_PATH - 1] = '\0';
    m_strSavePath = path;
    UpdateData(FALSE);
    WriteSetting(KeyOf(Setting::SavePath), path);
}

void CCanonSettingDlg::OnBtnTimershoot() {
    EnableItem(IDC_BtnTimerStart, FALSE);
    UpdateData(TRUE);
    const TimerRequest request = CheckTimerRequest(m_strIntervalMin, m_strIntervalSec, m_strTotal);
    if (request.refusal)
        ShowMessage(timer_messages::kCaption, request.refusal);
    else if (m_hNotifyWnd)
        // Returns when the whole series is over.
        SendMessageA(m_hNotifyWnd, WM_CAM_TIMER_SHOOT, request.intervalSeconds, request.count);
    EnableItem(IDC_BtnTimerStart, TRUE);
}
