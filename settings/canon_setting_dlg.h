// The settings dialog (template 202): shows the connected camera's settings, applies the
// user's changes at OK and stores each applied one in SetData.ini, switches the shooting mode
// at once, chooses the save folder and starts timer shooting. Everything runs on the thread
// that owns the camera window.
#pragma once

#include <windows.h>

#include <bitset>
#include <string>

#include "platform/dialog_base.h"
#include "sdk/cdsdk_contract.h"
#include "sdk/message_translator.h"
#include "settings/setting_data.h"
#include "settings/setting_rows.h"

class CCanonSettingDlg : public DialogBase {
public:
    // Template 202, no parent: the opener names the owner (DoModal's or Create's).
    CCanonSettingDlg();
    ~CCanonSettingDlg() override;

    // What the opener hands over, in this order, before creating or showing the window.
    void SetCameraName(const char* name);  // m_strCameraName; null gives ""
    // Copies into m_szIniFolder; 0 for null or empty (member unchanged) and for a path that does
    // not fit (member emptied, so that nothing is written to a wrong folder).
    BOOL SetIniFolder(const char* folder);
    // The same rule into m_szDCName (at most 99 characters).
    BOOL SetDCName(const char* name);
    BOOL SetSourceHandle(cdHSource source);
    void SetNotifyWnd(HWND window);

    // Writes one key into the camera's section of SetData.ini; 0 while the settings folder or
    // the camera name is unknown, or when the write fails.
    BOOL WriteSetting(const char* key, const char* value);

    static constexpr size_t kIniFolderSize = 260;
    static constexpr size_t kDCNameSize = 100;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnOK() override;

private:
    // Moves the four strings between the edits and the members (text only).
    void UpdateData(BOOL fromControls);
    void ClearChangeFlags();
    bool Changed(setting_table::Setting setting) const { return m_changed[static_cast<size_t>(setting)]; }

    // Reads the camera afresh, for the camera and source the opener handed over last.
    void Refresh();
    void LoadStoredSavePath();
    // "Canon PowerShot A640" cannot change its image format or macro from here.
    void RestrictCamera();
    void ShowCameraClock();
    void CheckModeButton(uint16_t mode);
    void OnModeButton();
    void OnBrowse();
    void OnBtnTimershoot();

    // Steps of OK (canon_setting_ok.cpp).
    void ApplyRows(setting_table::AtOk when);
    void ApplyAvTv();
    // Sends the selected entry of the row's list and stores it; nothing without a selection.
    void ApplyChoice(const setting_table::SettingRow& row);
    void ApplyOwnerName();
    void ApplyCameraClock();
    // The selected entry's item data; false when the list has no selection.
    bool SelectedData(int id, LPARAM* data) const;
    BOOL WriteNumber(const char* key, int32_t value);

    std::string m_strCameraName;
    HWND m_hNotifyWnd = nullptr;
    // A setting's control changed since the last show or OK (the settings table's change flags).
    std::bitset<setting_table::kSettingCount> m_changed;
    BOOL m_bTimeChanged = FALSE;  // the clock is not a stored setting
    // The controls are reached by their ids (settings_dialog_ids.h) rather than wrapper objects.
    std::string m_strSavePath;
    std::string m_strIntervalMin;
    std::string m_strTotal;
    std::string m_strIntervalSec;
    cdHSource m_hSource = 0;
    CSettingData m_setting;
    MessageTranslator m_lang;
    std::string m_strIniPath;
    char m_szIniFolder[kIniFolderSize] = {};
    char m_szDCName[kDCNameSize] = {};
};
