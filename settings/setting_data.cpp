#include "settings/setting_data.h"

#include <cstring>
#include <new>

#include "settings/setting_data_internal.h"
#include "settings/setting_labels.h"

using setting_data::CodeEnumeration;

namespace setting_data {

const CodeEnumeration kWBValues = {"EnumWBValues", &SdkFunctionTable::CDEnumWBSettingReset,
                                   &SdkFunctionTable::CDEnumWBSettingNext, &SdkFunctionTable::CDGetWBSettingCount,
                                   &SdkFunctionTable::CDEnumWBSettingRelease};
const CodeEnumeration kExpCpsValues = {"EnumExpCpsValues", &SdkFunctionTable::CDEnumExposureCompReset,
                                       &SdkFunctionTable::CDEnumExposureCompNext,
                                       &SdkFunctionTable::CDGetExposureCompCount,
                                       &SdkFunctionTable::CDEnumExposureCompRelease};
const CodeEnumeration kFlashValues = {"EnumFlashValues", &SdkFunctionTable::CDEnumFlashSettingReset,
                                      &SdkFunctionTable::CDEnumFlashSettingNext,
                                      &SdkFunctionTable::CDGetFlashSettingCount,
                                      &SdkFunctionTable::CDEnumFlashSettingRelease};
const CodeEnumeration kAvValues = {"EnumAvValues", &SdkFunctionTable::CDEnumAvValueReset,
                                   &SdkFunctionTable::CDEnumAvValueNext, &SdkFunctionTable::CDGetAvValueCount,
                                   &SdkFunctionTable::CDEnumAvValueRelease};
const CodeEnumeration kTvValues = {"EnumTvValues", &SdkFunctionTable::CDEnumTvValueReset,
                                   &SdkFunctionTable::CDEnumTvValueNext, &SdkFunctionTable::CDGetTvValueCount,
                                   &SdkFunctionTable::CDEnumTvValueRelease};

}  // namespace setting_data

CSettingData::CSettingData()
    : m_pFormats(new (std::nothrow) ImageFormatPair[kMaxImageFormats]()), m_dwLastError(0), m_hSource(0) {
    if (!m_pFormats) ShowMessage("CSettingData", setting_data::kAllocationFailed);
}

CSettingData::~CSettingData() { delete[] m_pFormats; }

BOOL CSettingData::SetSource(cdHSource source) {
    m_hSource = source;
    return TRUE;
}

BOOL CSettingData::Check(cdError status, const char* operation) {
    status &= 0xFFFF;
    if (status == 0) return TRUE;
    m_dwLastError = status;
    ReportSdkError(status, operation);
    return FALSE;
}

// The handle lives on the stack: there is no allocation that could fail.
BOOL CSettingData::EnumCodes(const CodeEnumeration& kind, uint16_t* values, uint32_t* count, uint32_t capacity) {
    if (!values || !count) return FALSE;
    *count = 0;
    if (!IsSdkLoaded()) return FALSE;

    cdHEnum handle = 0;
    cdError status = (g_sdk.*kind.reset)(m_hSource, &handle);
    if (!cdSucceeded(status)) return Check(status, kind.name);

    // Past the capacity Next is not called again, so an endless enumeration ends too.
    uint16_t value = 0;
    for (uint32_t stored = 0; stored < capacity && cdSucceeded((g_sdk.*kind.next)(handle, &value)); ++stored)
        values[stored] = value;

    status = (g_sdk.*kind.count)(handle, count);
    if (!cdSucceeded(status)) {
        *count = 0;
        return Check(status, kind.name);
    }
    if (*count > capacity) *count = capacity;
    return Check((g_sdk.*kind.release)(handle), kind.name);
}

BOOL CSettingData::EnumWBValues(uint16_t* values, uint32_t* count, uint32_t capacity) {
    return EnumCodes(setting_data::kWBValues, values, count, capacity);
}
BOOL CSettingData::EnumExpCpsValues(uint16_t* values, uint32_t* count, uint32_t capacity) {
    return EnumCodes(setting_data::kExpCpsValues, values, count, capacity);
}
BOOL CSettingData::EnumFlashValues(uint16_t* values, uint32_t* count, uint32_t capacity) {
    return EnumCodes(setting_data::kFlashValues, values, count, capacity);
}
BOOL CSettingData::EnumAvValues(uint16_t* values, uint32_t* count, uint32_t capacity) {
    return EnumCodes(setting_data::kAvValues, values, count, capacity);
}
BOOL CSettingData::EnumTvValues(uint16_t* values, uint32_t* count, uint32_t capacity) {
    return EnumCodes(setting_data::kTvValues, values, count, capacity);
}

// ---- image format: the SDK takes and gives quality before size

BOOL CSettingData::EnumSizeQualityValues(ImageFormatPair* pairs, uint32_t* count, uint32_t capacity) {
    if (!count) return FALSE;
    *count = 0;
    if (!pairs || !m_pFormats || !IsSdkLoaded()) return FALSE;

    cdHEnum handle = 0;
    cdError status = g_sdk.CDEnumImageFormatAttributeReset(m_hSource, &handle);
    if (!cdSucceeded(status)) return Check(status, "EnumSizeQualityValues");

    uint16_t quality = 0, size = 0;
    for (uint32_t stored = 0;
         stored < capacity && cdSucceeded(g_sdk.CDEnumImageFormatAttributeNext(handle, &quality, &size)); ++stored)
        pairs[stored] = ImageFormatPair{size, quality};

    status = g_sdk.CDGetImageFormatAttributeCount(handle, count);
    if (!cdSucceeded(status)) {
        *count = 0;
        return Check(status, "EnumSizeQualityValues");
    }
    if (*count > capacity) *count = capacity;
    g_sdk.CDEnumImageFormatAttributeRelease(handle);
    return TRUE;
}

BOOL CSettingData::GetSizeQualitySetting(ImageFormatPair* pair) {
    if (!pair) return FALSE;
    uint16_t quality = pair->quality, size = pair->size;
    BOOL ok = CallSdk("GetSizeQualitySetting",
                      [&] { return g_sdk.CDGetImageFormatAttribute(m_hSource, &quality, &size); });
    if (ok) *pair = ImageFormatPair{size, quality};
    return ok;
}

BOOL CSettingData::SetImgSizeAndQuality(uint16_t size, uint16_t quality) {
    return CallSdk("SetImgSizeAndQuality", [&] { return g_sdk.CDSetImageFormatAttribute(m_hSource, quality, size); });
}

BOOL CSettingData::SetSizeQualitySetting(const ImageFormatPair* pair) {
    if (!pair) return FALSE;
    return SetImgSizeAndQuality(pair->size, pair->quality);
}

namespace {
BOOL CopyLabel(const char* label, char* buffer, size_t bufferSize) {
    if (!buffer || bufferSize == 0) return FALSE;
    size_t length = std::strlen(label);
    if (length >= bufferSize) length = bufferSize - 1;
    std::memcpy(buffer, label, length);
    buffer[length] = '\0';
    return TRUE;
}

BOOL SetLabel(const LabelTable& table, uint32_t code, std::string& text) {
    text = FindLabel(table, code);
    return TRUE;
}
}  // namespace

BOOL CSettingData::GetSizeString(uint16_t code, char* buffer, size_t bufferSize) {
    return CopyLabel(FindLabel(ImageSizeLabels(), code), buffer, bufferSize);
}
BOOL CSettingData::GetQualityString(uint16_t code, char* buffer, size_t bufferSize) {
    return CopyLabel(FindLabel(QualityLabels(), code), buffer, bufferSize);
}

// ---- white balance, exposure compensation, flash

BOOL CSettingData::GetWBSetting(uint16_t* value) {
    if (!value) return FALSE;
    return CallSdk("GetWBSetting", [&] { return g_sdk.CDGetWBSetting(m_hSource, value); });
}
BOOL CSettingData::SetWBSetting(uint16_t value) {
    return CallSdk("SetWBSetting", [&] { return g_sdk.CDSetWBSetting(m_hSource, value); });
}
BOOL CSettingData::GetWBString(uint16_t code, std::string& text) { return SetLabel(WhiteBalanceLabels(), code, text); }

BOOL CSettingData::GetExpCpsSetting(uint16_t* value) {
    if (!value) return FALSE;
    return CallSdk("GetExpCpsSetting", [&] { return g_sdk.CDGetExposureComp(m_hSource, value); });
}
BOOL CSettingData::SetExpCpsSetting(uint16_t value) {
    return CallSdk("SetExpCpsSetting", [&] { return g_sdk.CDSetExposureComp(m_hSource, value); });
}
BOOL CSettingData::GetExpCpsString(uint16_t code, std::string& text) {
    return SetLabel(ExposureCompLabels(), code, text);
}

BOOL CSettingData::GetFlashSetting(uint16_t* mode, uint32_t* second) {
    if (!mode || !second) return FALSE;
    return CallSdk("GetFlashSetting", [&] { return g_sdk.CDGetFlashSetting(m_hSource, mode, second); });
}
BOOL CSettingData::SetFlashSetting(uint16_t mode, uint32_t second) {
    return CallSdk("SetFlashSetting", [&] { return g_sdk.CDSetFlashSetting(m_hSource, mode, second); });
}
BOOL CSettingData::SetFlashMode(uint16_t mode) { return SetFlashSetting(mode, 255); }
BOOL CSettingData::GetFlashString(uint16_t code, std::string& text) { return SetLabel(FlashLabels(), code, text); }

BOOL CSettingData::ReadFlashMode(uint16_t* mode) {
    uint32_t second = 0;
    return GetFlashSetting(mode, &second);
}

// ---- shooting mode, aperture, shutter speed

BOOL CSettingData::SetShootingMode(uint16_t mode) {
    return CallSdk("SetShootingMode", [&] { return g_sdk.CDSetShootingMode(m_hSource, mode); });
}
BOOL CSettingData::GetShootingMode(uint16_t* mode) {
    if (!mode) return FALSE;
    return CallSdk("GetShootingMode", [&] { return g_sdk.CDGetShootingMode(m_hSource, mode); });
}
BOOL CSettingData::GetAvValue(uint16_t* value) {
    if (!value) return FALSE;
    return CallSdk("GetAvValue", [&] { return g_sdk.CDGetAvValue(m_hSource, value); });
}
BOOL CSettingData::SetAvValue(uint16_t value) {
    return CallSdk("SetAvValue", [&] { return g_sdk.CDSetAvValue(m_hSource, value); });
}
BOOL CSettingData::GetAvString(uint16_t code, std::string& text) { return SetLabel(ApertureLabels(), code, text); }
BOOL CSettingData::GetTvValue(uint16_t* value) {
    if (!value) return FALSE;
    return CallSdk("GetTvValue", [&] { return g_sdk.CDGetTvValue(m_hSource, value); });
}
BOOL CSettingData::SetTvValue(uint16_t value) {
    return CallSdk("SetTvValue", [&] { return g_sdk.CDSetTvValue(m_hSource, value); });
}
BOOL CSettingData::GetTvString(uint16_t code, std::string& text) {
    return SetLabel(ShutterSpeedLabels(), code, text);
}
