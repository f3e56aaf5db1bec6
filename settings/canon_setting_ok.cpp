// The OK handler of the settings dialog: applies the changed lists (and always macro, focusing
// point and AF-assist light), stores every applied setting and hands the save folder over.
#include "settings/canon_setting_dlg.h"

#include <commctrl.h>

#include "camera/busy_cursor.h"
#include "camera/camera_messages.h"
#include "resources/settings_dialog_ids.h"
#include "settings/camera_clock.h"
#include "settings/setting_keys.h"

using namespace setting_keys;

void CCanonSettingDlg::OnOK() {
    {
        BusyCursor cursor;
        ApplyAvTv();
        ApplyImageFormat();
        ApplyCodeList(m_bWBChanged, IDC_CmbWB, &CSettingData::SetWBSetting, kWhiteBalance);
        ApplyCodeList(m_bExpCompChanged, IDC_CmbExpComp, &CSettingData::SetExpCpsSetting, kExposureCompensation);
        ApplyFlash();
        ApplyRelCamList(m_bISOChanged, IDC_CmbISO, &CSettingData::SetISOSpeed, kIsoSpeed, 0xFFFF);
        ApplyRelCamList(m_bMeteringChanged, IDC_CmbMetering, &CSettingData::SetMeteringMode, kMeteringMode, 0xFF);
        ApplyRelCamList(m_bPhotoEffectChanged, IDC_CmbPhotoEffect, &CSettingData::SetPhotoEffect, kPhotoEffect,
                        0xFFFF);
        // The remaining steps work on what the controls show now, the typed save path included.
        UpdateData(TRUE);
        ApplyOwnerName();
        ApplyCameraClock();
        ApplyMacro();
        ApplyRelCamList(TRUE, IDC_CmbFocusingPoint, &CSettingData::SetAFPoint, kFocusingPoint, 0xFFFF);
        ApplyRelCamList(TRUE, IDC_CmbAFLight, &CSettingData::SetAFLight, kAfLight, 0xFFFFFFFF);
        ClearChangeFlags();
        // The camera window takes the folder only if it exists; the text lives during the call.
        if (m_hNotifyWnd)
            SendMessageA(m_hNotifyWnd, WM_CAM_SET_SAVE_FOLDER, reinterpret_cast<WPARAM>(m_strSavePath.c_str()), 0);
    }
    UpdateData(TRUE);
    EndDialog(IDOK);
}

bool CCanonSettingDlg::SelectedData(int id, LPARAM* data) const {
    const int selection = ComboGetSel(id);
    if (selection == CB_ERR) return false;
    *data = ComboGetData(id, selection);
    return *data != CB_ERR;
}

void CCanonSettingDlg::ApplyAvTv() {
    if (!m_bAvTvChanged) return;
    LPARAM data = 0;
    if (IsWindowEnabled(GetItem(IDC_CmbTv)) && SelectedData(IDC_CmbTv, &data)) {
        m_setting.SetTvValue(static_cast<uint16_t>(data & 0xFFFF));
        WriteNumber(kTv, static_cast<int32_t>(data & 0xFFFF));
    }
    if (IsWindowEnabled(GetItem(IDC_CmbAv)) && SelectedData(IDC_CmbAv, &data)) {
        m_setting.SetAvValue(static_cast<uint16_t>(data & 0xFFFF));
        WriteNumber(kAv, static_cast<int32_t>(data & 0xFFFF));
    }
}

void CCanonSettingDlg::ApplyImageFormat() {
    LPARAM data = 0;
    if (!m_bImageFormatChanged || !SelectedData(IDC_CmbSizeQuality, &data)) return;
    // The item data points into the model's own format list; anything else is not a format.
    const ImageFormatPair* formats = m_setting.GetFormatList();
    const uintptr_t offset = static_cast<uintptr_t>(data) - reinterpret_cast<uintptr_t>(formats);
    if (!formats || offset % sizeof(ImageFormatPair) != 0 ||
        offset / sizeof(ImageFormatPair) >= CSettingData::kMaxImageFormats)
        return;
    const ImageFormatPair* pair = formats + offset / sizeof(ImageFormatPair);
    m_setting.SetSizeQualitySetting(pair);
    WriteNumber(kSize, pair->size);
    WriteNumber(kQuality, pair->quality);
}

void CCanonSettingDlg::ApplyCodeList(BOOL changed, int id, BOOL (CSettingData::*set)(uint16_t), const char* key) {
    LPARAM data = 0;
    if (!changed || !SelectedData(id, &data)) return;
    const auto code = static_cast<uint16_t>(data & 0xFFFF);
    (m_setting.*set)(code);
    WriteNumber(key, code);
}

void CCanonSettingDlg::ApplyFlash() {
    LPARAM data = 0;
    if (!m_bFlashChanged || !SelectedData(IDC_CmbFlash, &data)) return;
    const auto code = static_cast<uint16_t>(data & 0xFFFF);
    m_setting.SetFlashSetting(code, 255);
    WriteNumber(kFlash, code);
}

void CCanonSettingDlg::ApplyRelCamList(BOOL changed, int id, BOOL (CSettingData::*set)(const void*), const char* key,
                                       uint32_t storedMask) {
    LPARAM data = 0;
    if (!changed || !SelectedData(id, &data)) return;
    // The writers send the first one or two bytes at the address: the low bytes of the value.
    const uint32_t value = static_cast<uint32_t>(data) & storedMask;
    (m_setting.*set)(&value);
    WriteNumber(key, static_cast<int32_t>(value));
}

void CCanonSettingDlg::ApplyOwnerName() {
    if (!m_bOwnerNameChanged) return;
    const std::string owner = GetItemText(IDC_EdtOwnerName);
    m_setting.SetOwnerName(owner.c_str());  // the camera keeps the first 32 bytes
    WriteSetting(kOwnerName, owner.c_str());
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

void CCanonSettingDlg::ApplyMacro() {
    LPARAM data = 0;
    if (!SelectedData(IDC_CmbMacro, &data)) return;
    const auto on = static_cast<uint8_t>(data & 0xFF);
    m_setting.SetMacro(on);
    WriteNumber(kMacro, on);
}
