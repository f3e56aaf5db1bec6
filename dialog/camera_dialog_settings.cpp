// The camera dialog's side of the stored settings, the settings dialog and the settings files.
#include "dialog/camera_dialog.h"

#include "platform/profile_file.h"

// ---------------------------------------------------------------------------------------------
// Minimal versions: the settings work (settings model, SetData.ini applying, settings dialog)
// completes ApplyIniSettings, InitDCSettingByIniFile, PopSettingDlg and OnCameraSetting.

BOOL CameraDialog::ApplyIniSettings() { return TRUE; }

BOOL CameraDialog::InitDCSettingByIniFile(const char* cameraName) { return cameraName ? TRUE : FALSE; }

BOOL CameraDialog::PopSettingDlg() { return m_strSource.empty() ? FALSE : TRUE; }

void CameraDialog::OnCameraSetting() {}

// ---------------------------------------------------------------------------------------------

BOOL CameraDialog::WriteDCSetting(const char* key, const char* value) {
    // Without a window there is no settings folder yet: nothing to write into.
    if (m_szModuleDir[0] == '\0' || !key || !value) return FALSE;
    return WriteProfileText(ProfilePath(m_szModuleDir, "SetData.ini"), m_strSource + "Setting", key, value);
}

BOOL CameraDialog::WriteFilePathIni(const char* key, const char* value) {
    if (m_szModuleDir[0] == '\0' || !key || !value) return FALSE;
    return WriteProfileText(ProfilePath(m_szModuleDir, "FilePath.ini"), "FINISHED", key, value);
}
