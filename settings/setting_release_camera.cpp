// Release-camera settings, device properties (owner name, clock) and the macro switch.
#include <cstring>

#include "settings/setting_data_internal.h"

BOOL CSettingData::GetRelCamSettingData(uint32_t id, uint32_t* size, void* value) {
    if (!size || !value) return FALSE;
    return CallSdk("GetRelCamSettingData", [&] { return g_sdk.CDGetRelCamSettingData(m_hSource, id, size, value); });
}

BOOL CSettingData::SetRelCamSettingData(uint32_t id, uint32_t size, const void* value) {
    if (!value) return FALSE;
    return CallSdk("SetRelCamSettingData", [&] { return g_sdk.CDSetRelCamSettingData(m_hSource, id, size, value); });
}

BOOL CSettingData::SetRelCamSettingOf(uint32_t id, const void* value) {
    const RelCamSetting* setting = FindRelCamSetting(id);
    if (!value || !setting) return FALSE;
    return SetRelCamSettingData(id, setting->writeSize, value);
}

BOOL CSettingData::SetMeteringMode(const void* value) { return SetRelCamSettingOf(cdRELCAM_METERING_MODE, value); }
BOOL CSettingData::SetAFPoint(const void* value) { return SetRelCamSettingOf(cdRELCAM_AF_POINT, value); }
BOOL CSettingData::SetISOSpeed(const void* value) { return SetRelCamSettingOf(cdRELCAM_ISO_SPEED, value); }
BOOL CSettingData::SetPhotoEffect(const void* value) { return SetRelCamSettingOf(cdRELCAM_PHOTO_EFFECT, value); }
BOOL CSettingData::SetAFLight(const void* value) { return SetRelCamSettingOf(cdRELCAM_AF_LIGHT, value); }

BOOL CSettingData::GetRelCamSettingMaxCount(uint32_t id, uint32_t* capacity) {
    if (!capacity) return FALSE;
    *capacity = RelCamCapacity(id);
    return *capacity != 0;
}

BOOL CSettingData::GetRelCamSettingString(uint32_t id, const void* value, std::string& text) {
    if (!value) return FALSE;
    text = RelCamLabelAt(id, value);
    return TRUE;
}

BOOL CSettingData::GetISOString(uint16_t value, std::string& text) {
    text = FindLabel(ISOLabels(), value);
    return TRUE;
}

BOOL CSettingData::EnumRelCamSettingData(uint32_t id, uint32_t* values, uint32_t* count) {
    return EnumRelCamSettingData(id, values, count, RelCamCapacity(id));
}

BOOL CSettingData::EnumRelCamSettingData(uint32_t id, uint32_t* values, uint32_t* count, uint32_t capacity) {
    const char* const operation = "EnumRelCamSettingData";
    if (!values || !count) return FALSE;
    *count = 0;
    if (!IsSdkLoaded()) return FALSE;

    // Handle and element size live on the stack: nothing here can fail to be allocated.
    cdHEnum handle = 0;
    uint32_t elementSize = 0;
    cdError status = g_sdk.CDEnumRelCamSettingDataReset(m_hSource, id, &handle, &elementSize);
    if (!cdSucceeded(status)) return Check(status, operation);

    // Next writes elementSize bytes into a 4-byte buffer: a wider element would overrun it, so
    // such an enumeration is given up before its first value.
    if (elementSize == 0 || elementSize > sizeof(uint32_t)) {
        g_sdk.CDEnumRelCamSettingDataRelease(handle);
        return FALSE;
    }
    uint32_t value = 0;
    for (uint32_t stored = 0;
         stored < capacity && cdSucceeded(g_sdk.CDEnumRelCamSettingDataNext(handle, elementSize, &value)); ++stored)
        values[stored] = elementSize == 1 ? (value & 0xFFu) : elementSize == 2 ? (value & 0xFFFFu) : value;

    // A failed count is kept but, unlike the other steps, not reported.
    status = g_sdk.CDGetRelCamSettingDataCount(handle, count);
    if (!cdSucceeded(status)) {
        *count = 0;
        m_dwLastError = status & 0xFFFF;
        return FALSE;
    }
    if (*count > capacity) *count = capacity;
    return Check(g_sdk.CDEnumRelCamSettingDataRelease(handle), operation);
}

// ---- device properties: separate ids from the release-camera settings

BOOL CSettingData::GetDevicePropertyData(uint32_t property, uint32_t* size, void* data) {
    if (!size || !data || !IsSdkLoaded()) return FALSE;
    cdError status = g_sdk.CDGetDevicePropertyData(m_hSource, property, size, data, 0);
    if (cdSucceeded(status)) return TRUE;
    m_dwLastError = status & 0xFFFF;
    return FALSE;
}

BOOL CSettingData::SetDevicePropertyData(uint32_t property, uint32_t* size, const void* data) {
    if (!size || !data) return FALSE;
    return CallSdk("SetDevicePropertyData",
                   [&] { return g_sdk.CDSetDevicePropertyData(m_hSource, property, size, data); });
}

BOOL CSettingData::GetOwnerName(char* buffer) {
    if (!buffer) return FALSE;
    std::memset(buffer, 0, kOwnerNameFieldSize);
    uint32_t size = kOwnerNameFieldSize;
    return GetDevicePropertyData(cdDEVPROP_OWNER_NAME, &size, buffer);
}

BOOL CSettingData::SetOwnerName(const char* text) {
    if (!text) return FALSE;
    uint8_t field[kOwnerNameFieldSize];
    BuildOwnerNameField(text, field);
    uint32_t size = kOwnerNameFieldSize;
    return SetDevicePropertyData(cdDEVPROP_OWNER_NAME, &size, field);
}

BOOL CSettingData::GetCameraTime(__time32_t* time) {
    if (!time) return FALSE;
    uint32_t size = sizeof(*time);
    return GetDevicePropertyData(cdDEVPROP_TIME, &size, time);
}

BOOL CSettingData::SetCameraTime(const __time32_t* time) {
    if (!time) return FALSE;
    uint32_t size = sizeof(*time);
    return SetDevicePropertyData(cdDEVPROP_TIME, &size, time);
}

BOOL CSettingData::SetMacro(uint8_t on) {
    if (on == 1) SetShootingMode(kShootingModeMacro);
    return TRUE;
}
