// The camera dialog's side of the stored settings, the settings dialog and the settings files.
#include "dialog/camera_dialog.h"

#include <commctrl.h>

#include <cstring>
#include <new>

#include "resources/resource_ids.h"
#include "sdk/error_report.h"
#include "settings/setting_keys.h"
#include "settings/settings_file.h"
#include "settings/stored_settings.h"

namespace {

constexpr char kAllocationFailed[] = "Allocate memory failed!";

// Applies the stored settings of `cameraName`. The zoom moves the camera and then the slider;
// the save folder is taken as stored, without checking that it exists.
void ApplyStored(const char* moduleDir, const std::string& cameraName, CSettingData& model, CameraController& camera,
                 HWND slider, stored_settings::TvAvRule rule) {
    model.SetSource(camera.GetSourceHandle());
    StoredSettingsHooks hooks;
    hooks.moveZoom = [&camera, slider](uint32_t position) {
        camera.SetZoomPos(position);
        if (slider) SendMessageA(slider, TBM_SETPOS, TRUE, static_cast<LPARAM>(position));
    };
    // Not checked for existence; a folder too long for any image name below it is left alone.
    hooks.setSaveFolder = [&camera](const char* folder) {
        if (strlen(folder) <= kMaxSaveFolder) camera.SetSaveFolder(folder);
    };
    ApplyStoredSettings(settings_file::SetDataPath(moduleDir), cameraName, model, rule, hooks);
}

}  // namespace

// The section is the connected camera's, whatever the source list selects by now.
BOOL CameraDialog::ApplyIniSettings() {
    ApplyStored(m_szModuleDir, m_strSource, m_settings, m_camera, GetItem(IDC_HndlCnnDlg_ZomSldr),
                stored_settings::TvAvRule::ByStoredMode);
    return TRUE;
}

BOOL CameraDialog::InitDCSettingByIniFile(const char* cameraName) {
    if (!cameraName) return FALSE;
    ApplyStored(m_szModuleDir, cameraName, m_settings, m_camera, GetItem(IDC_HndlCnnDlg_ZomSldr),
                stored_settings::TvAvRule::WhenPresent);
    return TRUE;
}

CCanonSettingDlg* CameraDialog::PrepareSettingDlg(const char* caption) {
    if (!m_pSettingDlg) {
        m_pSettingDlg.reset(new (std::nothrow) CCanonSettingDlg());
        if (!m_pSettingDlg) {
            ShowMessage(caption, kAllocationFailed);
            return nullptr;
        }
    }
    m_pSettingDlg->SetCameraName(m_strSource.c_str());
    m_pSettingDlg->SetIniFolder(m_szModuleDir);
    m_pSettingDlg->SetDCName(m_strSource.c_str());
    m_pSettingDlg->SetSourceHandle(m_camera.GetSourceHandle());
    m_pSettingDlg->SetNotifyWnd(GetSafeHwnd());
    return m_pSettingDlg.get();
}

BOOL CameraDialog::PopSettingDlg() {
    // Settings of a camera that went away would only reach its closed source.
    if (m_strSource.empty() || !m_camera.GetSourceHandle()) return FALSE;
    CCanonSettingDlg* settings = PrepareSettingDlg("PopCanonSettingDlg");
    if (!settings) return FALSE;
    // A modeless settings window already open is left as it is.
    if (!settings->GetSafeHwnd()) settings->DoModal(GetSafeHwnd() ? GetSafeHwnd() : m_hwndHost);
    return TRUE;
}

void CameraDialog::OnCameraSetting() {
    CCanonSettingDlg* settings = PrepareSettingDlg("OnHndlCnnDlgSetting");
    if (!settings) return;
    if (!settings->GetSafeHwnd() && !settings->Create(GetSafeHwnd())) {
        ShowMessage("OnHndlCnnDlgSetting", "Create dialog failed!");
        return;
    }
    settings->ShowWindow(SW_SHOW);
}

void CameraDialog::CloseSettingDlg() {
    if (m_pSettingDlg) m_pSettingDlg->EndDialog(IDCANCEL);
}

BOOL CameraDialog::WriteDCSetting(const char* key, const char* value) {
    // Without a window there is no settings folder yet: nothing to write into.
    if (m_szModuleDir[0] == '\0' || !key || !value) return FALSE;
    return settings_file::WriteKey(settings_file::SetDataPath(m_szModuleDir), settings_file::SectionOf(m_strSource),
                                   key, value);
}

BOOL CameraDialog::WriteFilePathIni(const char* key, const char* value) {
    if (m_szModuleDir[0] == '\0' || !key || !value) return FALSE;
    return settings_file::WriteKey(settings_file::FilePathIniPath(m_szModuleDir), setting_keys::kFinishedSection, key,
                                   value);
}
