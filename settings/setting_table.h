// Every camera setting kept in SetData.ini: one row each, in the order the file's keys are applied.
//
// A row is X(id, stored key, uses): the id names the setting in code, the stored key says how the
// file holds it, and `uses` (a chain of named fields, read only by the Windows side in
// setting_rows.cpp, so that this header stays portable) says how the settings window lists it,
// when its OK applies it and how a value reaches the camera. Adding an ordinary setting is one
// row here plus the label table of its codes (docs/adding-a-setting.md).
#pragma once

#include <cstddef>

// clang-format off
#define KAMVIO_SETTING_ROWS(X)                                                                                         \
    X(SizeQuality, Key("Size").PairedWith("Quality"),                                                                  \
      .Sends(Send::ImageFormat).Choices(&D::InitSizeQualityCombo).List(IDC_CmbSizeQuality).FilledBeforeMode(1)         \
          .AppliedWhenChanged().ForScripts("Image", 1))                                                                \
    X(WhiteBalance, Key("White Balence"),                                                                              \
      .Code(&D::SetWBSetting).Choices(&D::InitWBCombo).List(IDC_CmbWB).FilledBeforeMode(4)                             \
          .AppliedWhenChanged().ForScripts("WhiteBalance", 2))                                                         \
    X(ExposureCompensation, Key("Exposal Compensation"),                                                               \
      .Code(&D::SetExpCpsSetting).Choices(&D::InitExpCpsCombo).List(IDC_CmbExpComp).FilledBeforeMode(5)                \
          .AppliedWhenChanged().ForScripts("ExposureCompensation", 3))                                                 \
    X(Flash, Key("Flash"),                                                                                             \
      .Code(&D::SetFlashMode).Choices(&D::InitFlashCombo).List(IDC_CmbFlash).FilledBeforeMode(7)                       \
          .AppliedWhenChanged().ForScripts("Flash", 4))                                                                \
    /* The window sets the mode with its buttons, at once; scripts choose it from a list. */                           \
    X(ShootingMode, Key("Shooting Mode"),                                                                              \
      .Code(&D::SetShootingMode).Choices(&D::InitShootingModeCombo).ForScripts("ShootingMode", 5))                     \
    X(Tv, Key("TV"),                                                                                                   \
      .Code(&D::SetTvValue).Choices(&D::InitTvCombo).List(IDC_CmbTv).FilledByMode().AppliedByOwnRule()                 \
          .ForScripts("Tv", 7))                                                                                        \
    X(Av, Key("AV"),                                                                                                   \
      .Code(&D::SetAvValue).Choices(&D::InitAvCombo).List(IDC_CmbAv).FilledByMode().AppliedByOwnRule()                 \
          .ForScripts("Av", 6))                                                                                        \
    X(IsoSpeed, Key("ISO Speed"),                                                                                      \
      .ReleaseCamera(cdRELCAM_ISO_SPEED, 0xFFFF).List(IDC_CmbISO).FilledBeforeMode(2)                                  \
          .AppliedWhenChanged().ForScripts("ISO", 8))                                                                  \
    X(MeteringMode, Key("Metering Mode"),                                                                              \
      .ReleaseCamera(cdRELCAM_METERING_MODE, 0xFF).List(IDC_CmbMetering).FilledBeforeMode(3)                           \
          .AppliedWhenChanged().ForScripts("Metering", 9))                                                             \
    X(PhotoEffect, Key("Photo Effect"),                                                                                \
      .ReleaseCamera(cdRELCAM_PHOTO_EFFECT, 0xFFFF).List(IDC_CmbPhotoEffect).FilledBeforeMode(6)                       \
          .AppliedWhenChanged().ForScripts("PhotoEffect", 10))                                                         \
    X(OwnerName, Key("Owner Name").AsText(),                                                                           \
      .Sends(Send::Text).Edit(IDC_EdtOwnerName).AppliedByOwnRule().ForScripts("OwnerName", 14))                        \
    X(Macro, Key("Macro"),                                                                                             \
      .Macro().Choices(&D::InitMacroCombo).List(IDC_CmbMacro).FilledAfterMode(3).AppliedAtEveryOk()                    \
          .ForScripts("Macro", 13))                                                                                    \
    X(FocusingPoint, Key("Foucsing Point"),                                                                            \
      .ReleaseCamera(cdRELCAM_AF_POINT, 0xFFFF).List(IDC_CmbFocusingPoint).FilledAfterMode(1)                          \
          .AppliedAtEveryOk().ForScripts("FocusingPoint", 11))                                                         \
    X(AfLight, Key("AF Light"),                                                                                        \
      .ReleaseCamera(cdRELCAM_AF_LIGHT, 0xFFFFFFFF).List(IDC_CmbAFLight).FilledAfterMode(2)                            \
          .AppliedAtEveryOk().ForScripts("AFLight", 12))                                                               \
    /* These two belong to the camera window: the zoom slider and the save folder. */                                  \
    X(ZoomPosition, Key("Zoom Pos"), .Sends(Send::ZoomPosition))                                                       \
    X(SavePath, Key("Save Path").AsPath(), .Sends(Send::SaveFolder))
// clang-format on

namespace setting_table {

enum class Setting {
#define KAMVIO_SETTING_ID(id, key, uses) id,
    KAMVIO_SETTING_ROWS(KAMVIO_SETTING_ID)
#undef KAMVIO_SETTING_ID
};

#define KAMVIO_SETTING_ONE(id, key, uses) +1
constexpr size_t kSettingCount = 0 KAMVIO_SETTING_ROWS(KAMVIO_SETTING_ONE);
#undef KAMVIO_SETTING_ONE

enum class StoredAs {
    Number,  // decimal
    Text,
    Path,  // text; a value that fills the whole read buffer may have been cut and is not used
};

// How SetData.ini holds one setting.
struct StoredKey {
    const char* key;
    const char* pairedKey = nullptr;  // a second number read right after `key`; the two are one setting
    StoredAs as = StoredAs::Number;

    constexpr StoredKey PairedWith(const char* second) const {
        StoredKey copy = *this;
        copy.pairedKey = second;
        return copy;
    }
    constexpr StoredKey AsText() const { return As(StoredAs::Text); }
    constexpr StoredKey AsPath() const { return As(StoredAs::Path); }

private:
    constexpr StoredKey As(StoredAs kind) const {
        StoredKey copy = *this;
        copy.as = kind;
        return copy;
    }
};

constexpr StoredKey Key(const char* key) { return StoredKey{key}; }

// Indexed by Setting.
inline constexpr StoredKey kStoredKeys[] = {
#define KAMVIO_STORED_KEY(id, key, uses) key,
    KAMVIO_SETTING_ROWS(KAMVIO_STORED_KEY)
#undef KAMVIO_STORED_KEY
};
static_assert(sizeof kStoredKeys / sizeof kStoredKeys[0] == kSettingCount, "one stored key per setting");

constexpr const StoredKey& StoredKeyOf(Setting setting) { return kStoredKeys[static_cast<size_t>(setting)]; }
constexpr const char* KeyOf(Setting setting) { return StoredKeyOf(setting).key; }

}  // namespace setting_table
