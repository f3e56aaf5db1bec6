// The shooting settings of one connected camera: what the camera offers for each setting,
// the current values, their labels, and the filling of the settings lists. Nothing is stored
// here: every read asks the camera and every write goes to it at once.
//
// Operations return 1 for success and 0 for failure. Every SDK failure is kept in the last
// error and reported once under the operation's name; nothing calls the SDK while it is not
// loaded. All operations run on the thread that owns the list controls.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

#include "sdk/cdsdk_contract.h"

// One image format as the camera lists it: size code, then quality code.
struct ImageFormatPair {
    uint16_t size;
    uint16_t quality;
};
static_assert(sizeof(ImageFormatPair) == 4, "an image format is two 16-bit codes");

namespace setting_data {
struct CodeEnumeration;
struct CodeComboRules;
}  // namespace setting_data

class CSettingData {
public:
    // Room in the enumeration arrays. A camera that reports more values than this has the
    // rest ignored: at most this many are stored and the count is cut to it.
    static constexpr uint32_t kMaxImageFormats = 20;
    static constexpr uint32_t kMaxWBValues = 12;
    static constexpr uint32_t kMaxExpCpsValues = 30;
    static constexpr uint32_t kMaxFlashValues = 10;
    static constexpr uint32_t kMaxAvValues = 60;
    static constexpr uint32_t kMaxTvValues = 80;

    static constexpr uint16_t kShootingModeMacro = cdSHOOTING_MODE_MACRO;

    CSettingData();
    CSettingData(const CSettingData&) = delete;
    CSettingData& operator=(const CSettingData&) = delete;
    virtual ~CSettingData();

    BOOL SetSource(cdHSource source);
    cdHSource GetSource() const { return m_hSource; }
    uint32_t GetLastError() const { return m_dwLastError; }
    // The image-format list whose addresses the size/quality list keeps as item data
    // (null when it could not be allocated).
    const ImageFormatPair* GetFormatList() const { return m_pFormats; }
    // The entry of that list at the address `itemData` (the size/quality list's item data); null
    // for any other value, which is then never read.
    const ImageFormatPair* FormatOfItem(uintptr_t itemData) const;

    // Image size and quality.
    BOOL EnumSizeQualityValues(ImageFormatPair* pairs, uint32_t* count, uint32_t capacity = kMaxImageFormats);
    BOOL GetSizeQualitySetting(ImageFormatPair* pair);
    BOOL SetImgSizeAndQuality(uint16_t size, uint16_t quality);
    BOOL SetSizeQualitySetting(const ImageFormatPair* pair);
    // Copy the label, cut to the buffer; 0 only for a null or empty buffer.
    static BOOL GetSizeString(uint16_t code, char* buffer, size_t bufferSize);
    static BOOL GetQualityString(uint16_t code, char* buffer, size_t bufferSize);
    BOOL InitSizeQualityCombo(HWND combo);

    // White balance.
    BOOL EnumWBValues(uint16_t* values, uint32_t* count, uint32_t capacity = kMaxWBValues);
    BOOL GetWBSetting(uint16_t* value);
    BOOL SetWBSetting(uint16_t value);
    static BOOL GetWBString(uint16_t code, std::string& text);
    BOOL InitWBCombo(HWND combo);

    // Exposure compensation.
    BOOL EnumExpCpsValues(uint16_t* values, uint32_t* count, uint32_t capacity = kMaxExpCpsValues);
    BOOL GetExpCpsSetting(uint16_t* value);
    BOOL SetExpCpsSetting(uint16_t value);
    static BOOL GetExpCpsString(uint16_t code, std::string& text);
    BOOL InitExpCpsCombo(HWND combo);

    // Flash: the mode and a second value that is passed through unchanged.
    BOOL EnumFlashValues(uint16_t* values, uint32_t* count, uint32_t capacity = kMaxFlashValues);
    BOOL GetFlashSetting(uint16_t* mode, uint32_t* second);
    BOOL SetFlashSetting(uint16_t mode, uint32_t second);
    // The mode with 255 as the second value, as the settings window sends it.
    BOOL SetFlashMode(uint16_t mode);
    static BOOL GetFlashString(uint16_t code, std::string& text);
    BOOL InitFlashCombo(HWND combo);

    // Shooting mode, aperture and shutter speed.
    BOOL SetShootingMode(uint16_t mode);
    BOOL GetShootingMode(uint16_t* mode);
    // The settings window's four mode buttons as a list (for clients without the window); any
    // other mode selects "Program AE", as the buttons show it.
    BOOL InitShootingModeCombo(HWND combo);
    BOOL EnumAvValues(uint16_t* values, uint32_t* count, uint32_t capacity = kMaxAvValues);
    BOOL GetAvValue(uint16_t* value);
    BOOL SetAvValue(uint16_t value);
    static BOOL GetAvString(uint16_t code, std::string& text);
    BOOL InitAvCombo(HWND combo);
    BOOL EnumTvValues(uint16_t* values, uint32_t* count, uint32_t capacity = kMaxTvValues);
    BOOL GetTvValue(uint16_t* value);
    BOOL SetTvValue(uint16_t value);
    static BOOL GetTvString(uint16_t code, std::string& text);
    BOOL InitTvCombo(HWND combo);

    // Release-camera settings, keyed by setting id (cdRELCAM_*).
    BOOL GetRelCamSettingData(uint32_t id, uint32_t* size, void* value);
    BOOL SetRelCamSettingData(uint32_t id, uint32_t size, const void* value);
    // values: room for the setting's capacity (GetRelCamSettingMaxCount), or for `capacity`.
    BOOL EnumRelCamSettingData(uint32_t id, uint32_t* values, uint32_t* count);
    BOOL EnumRelCamSettingData(uint32_t id, uint32_t* values, uint32_t* count, uint32_t capacity);
    static BOOL GetRelCamSettingMaxCount(uint32_t id, uint32_t* capacity);
    static BOOL GetRelCamSettingString(uint32_t id, const void* value, std::string& text);
    static BOOL GetISOString(uint16_t value, std::string& text);
    // The writers send the first 1 (metering) or 2 bytes at `value`.
    BOOL SetMeteringMode(const void* value);
    BOOL SetAFPoint(const void* value);
    BOOL SetISOSpeed(const void* value);
    BOOL SetPhotoEffect(const void* value);
    BOOL SetAFLight(const void* value);
    // Any of the five by id: the value's first bytes, as many as the setting writes.
    BOOL SetRelCamSettingOf(uint32_t id, const void* value);
    BOOL InitRelCamSettingDataCombo(uint32_t id, HWND combo);
    BOOL InitMeteringCombo(HWND combo);
    BOOL InitAFPointCombo(HWND combo);
    BOOL InitISOCombo(HWND combo);
    BOOL InitPhotoEffectCombo(HWND combo);
    BOOL InitAFLightCombo(HWND combo);

    // Device properties. Reads fail silently (last error kept, nothing reported).
    BOOL GetDevicePropertyData(uint32_t property, uint32_t* size, void* data);
    BOOL SetDevicePropertyData(uint32_t property, uint32_t* size, const void* data);
    // buffer: 32 bytes, zeroed first; a name of 32 bytes comes back without a terminator.
    BOOL GetOwnerName(char* buffer);
    // Longer texts reach the camera as their first 32 bytes.
    BOOL SetOwnerName(const char* text);
    BOOL GetCameraTime(__time32_t* time);
    BOOL SetCameraTime(const __time32_t* time);

    // Macro is shooting mode 110; switching it off writes nothing. Always 1.
    BOOL SetMacro(uint8_t on);
    BOOL InitMacroCombo(HWND combo);

private:
    // Keeps a failed status as the last error and reports it under `operation`.
    BOOL Check(cdError status, const char* operation);
    // One SDK call for `operation`; none while the SDK is not loaded (0, nothing recorded).
    template <typename Call>
    BOOL CallSdk(const char* operation, Call call);
    BOOL EnumCodes(const setting_data::CodeEnumeration& kind, uint16_t* values, uint32_t* count, uint32_t capacity);
    BOOL FillCodeCombo(const setting_data::CodeComboRules& rules, HWND combo);
    BOOL ReadFlashMode(uint16_t* mode);

    ImageFormatPair* m_pFormats;
    uint32_t m_dwLastError;
    cdHSource m_hSource;
};
