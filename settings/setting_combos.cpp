// The list fillers: each rebuilds one drop-down list from what the camera offers, keeps the
// SDK code as item data and selects the camera's current value.
#include <array>
#include <memory>
#include <new>

#include "settings/combo_list.h"
#include "settings/setting_data_internal.h"

using setting_data::CodeComboRules;
using setting_data::OnFailure;
using setting_data::ZeroCount;

BOOL CSettingData::FillCodeCombo(const CodeComboRules& rules, HWND combo) {
    std::array<uint16_t, kMaxTvValues> values{};
    static_assert(kMaxTvValues >= kMaxAvValues && kMaxTvValues >= kMaxExpCpsValues, "largest code list");
    uint32_t capacity = rules.capacity < values.size() ? rules.capacity : static_cast<uint32_t>(values.size());
    uint32_t count = 0;
    BOOL enumerated = (this->*rules.enumerate)(values.data(), &count, capacity);
    if (!enumerated && rules.failedEnumeration != OnFailure::GoOn) {
        if (rules.failedEnumeration == OnFailure::GiveUpDisabled) combo_list::Disable(combo);
        return FALSE;
    }
    if (count > capacity) count = capacity;
    if (count == 0 && rules.zeroCount == ZeroCount::GiveUpDisabled) {
        combo_list::Disable(combo);
        return FALSE;
    }

    combo_list::Clear(combo);
    if (count == 0 && rules.zeroCount == ZeroCount::GiveUpAfterEmptying) return FALSE;
    int added = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const char* label = FindLabel(rules.labels(), values[i]);
        if (*label) combo_list::Add(combo, added++, label, values[i]);
    }

    uint16_t current = 0;
    if (!(this->*rules.readCurrent)(&current) && rules.failedRead == OnFailure::GiveUp) return FALSE;
    if (added == 0 && rules.emptyList == OnFailure::GiveUp) return FALSE;
    combo_list::SelectValue(combo, current);
    return TRUE;
}

BOOL CSettingData::InitWBCombo(HWND combo) {
    static const CodeComboRules rules = {&CSettingData::EnumWBValues,    kMaxWBValues,
                                         WhiteBalanceLabels,              &CSettingData::GetWBSetting,
                                         OnFailure::GiveUpDisabled,       ZeroCount::Fill,
                                         OnFailure::GiveUp,               OnFailure::GoOn};
    return FillCodeCombo(rules, combo);
}

BOOL CSettingData::InitExpCpsCombo(HWND combo) {
    static const CodeComboRules rules = {&CSettingData::EnumExpCpsValues, kMaxExpCpsValues,
                                         ExposureCompLabels,               &CSettingData::GetExpCpsSetting,
                                         OnFailure::GiveUpDisabled,        ZeroCount::GiveUpDisabled,
                                         OnFailure::GoOn,                  OnFailure::GoOn};
    return FillCodeCombo(rules, combo);
}

// Only an empty answer gives up: a flash enumeration whose release failed still fills the list.
BOOL CSettingData::InitFlashCombo(HWND combo) {
    static const CodeComboRules rules = {&CSettingData::EnumFlashValues, kMaxFlashValues,
                                         FlashLabels,                     &CSettingData::ReadFlashMode,
                                         OnFailure::GoOn,                 ZeroCount::GiveUpDisabled,
                                         OnFailure::GoOn,                 OnFailure::GoOn};
    return FillCodeCombo(rules, combo);
}

// The aperture list is never disabled here: the settings dialog sets its state from the mode.
BOOL CSettingData::InitAvCombo(HWND combo) {
    static const CodeComboRules rules = {&CSettingData::EnumAvValues, kMaxAvValues,
                                         ApertureLabels,              &CSettingData::GetAvValue,
                                         OnFailure::GiveUp,           ZeroCount::GiveUpAfterEmptying,
                                         OnFailure::GiveUp,           OnFailure::GiveUp};
    return FillCodeCombo(rules, combo);
}

BOOL CSettingData::InitTvCombo(HWND combo) {
    static const CodeComboRules rules = {&CSettingData::EnumTvValues, kMaxTvValues,
                                         ShutterSpeedLabels,          &CSettingData::GetTvValue,
                                         OnFailure::GiveUpDisabled,   ZeroCount::GiveUpDisabled,
                                         OnFailure::GoOn,             OnFailure::GoOn};
    return FillCodeCombo(rules, combo);
}

const ImageFormatPair* CSettingData::FormatOfItem(uintptr_t itemData) const {
    const uintptr_t offset = itemData - reinterpret_cast<uintptr_t>(m_pFormats);  // wraps for lower values
    if (!m_pFormats || offset % sizeof(ImageFormatPair) != 0 || offset / sizeof(ImageFormatPair) >= kMaxImageFormats)
        return nullptr;
    return m_pFormats + offset / sizeof(ImageFormatPair);
}

namespace {

struct FormatMatch {
    const CSettingData* model;
    ImageFormatPair wanted;
};

bool MatchesFormat(uintptr_t itemData, const void* wanted) {
    const FormatMatch& match = *static_cast<const FormatMatch*>(wanted);
    const ImageFormatPair* pair = match.model->FormatOfItem(itemData);
    return pair && pair->size == match.wanted.size && pair->quality == match.wanted.quality;
}

}  // namespace

BOOL CSettingData::InitSizeQualityCombo(HWND combo) {
    if (!combo) return FALSE;
    if (!m_pFormats) return FALSE;
    uint32_t count = 0;
    if (!EnumSizeQualityValues(m_pFormats, &count, kMaxImageFormats)) {
        combo_list::Disable(combo);
        return FALSE;
    }
    combo_list::Clear(combo);
    int added = 0;
    for (uint32_t i = 0; i < count && i < kMaxImageFormats; ++i) {
        std::string label = SizeQualityLabel(m_pFormats[i].size, m_pFormats[i].quality);
        if (!label.empty()) combo_list::Add(combo, added++, label.c_str(), reinterpret_cast<uintptr_t>(&m_pFormats[i]));
    }
    FormatMatch match = {this, ImageFormatPair{0, 0}};
    GetSizeQualitySetting(&match.wanted);
    combo_list::SelectFirst(combo, MatchesFormat, &match);
    return TRUE;
}

BOOL CSettingData::InitRelCamSettingDataCombo(uint32_t id, HWND combo) {
    uint32_t capacity = 0;
    GetRelCamSettingMaxCount(id, &capacity);
    if (capacity == 0) {
        combo_list::Disable(combo);
        return FALSE;
    }
    std::unique_ptr<uint32_t[]> values(new (std::nothrow) uint32_t[capacity]());
    if (!values) {
        ShowMessage("InitRelCamSettingDataCombo", setting_data::kAllocationFailed);
        return FALSE;
    }
    uint32_t count = 0;
    if (!EnumRelCamSettingData(id, values.get(), &count, capacity)) {
        combo_list::Disable(combo);
        return FALSE;
    }
    if (count > capacity) count = capacity;
    if (count == 0) return FALSE;

    combo_list::Clear(combo);
    int added = 0;
    std::string label;
    for (uint32_t i = 0; i < count; ++i) {
        label.clear();
        GetRelCamSettingString(id, &values[i], label);
        if (!label.empty()) combo_list::Add(combo, added++, label.c_str(), values[i]);
    }
    // A size word of 0 with a 4-byte buffer: the camera writes at most 4 bytes.
    uint32_t size = 0;
    uint32_t current = 0;
    GetRelCamSettingData(id, &size, &current);
    combo_list::SelectValue(combo, current);
    return TRUE;
}

BOOL CSettingData::InitMeteringCombo(HWND combo) { return InitRelCamSettingDataCombo(cdRELCAM_METERING_MODE, combo); }
BOOL CSettingData::InitAFPointCombo(HWND combo) { return InitRelCamSettingDataCombo(cdRELCAM_AF_POINT, combo); }
BOOL CSettingData::InitISOCombo(HWND combo) { return InitRelCamSettingDataCombo(cdRELCAM_ISO_SPEED, combo); }
BOOL CSettingData::InitPhotoEffectCombo(HWND combo) {
    return InitRelCamSettingDataCombo(cdRELCAM_PHOTO_EFFECT, combo);
}
BOOL CSettingData::InitAFLightCombo(HWND combo) { return InitRelCamSettingDataCombo(cdRELCAM_AF_LIGHT, combo); }

namespace {

// A fixed list: every entry of `entries`, with `selected`'s entry chosen.
void FillFixed(HWND combo, const LabelTable& entries, uint32_t selected) {
    combo_list::Clear(combo);
    for (size_t i = 0; i < entries.count; ++i)
        combo_list::Add(combo, static_cast<int>(i), entries.rows[i].text, entries.rows[i].code);
    combo_list::SelectValue(combo, selected);
}

}  // namespace

BOOL CSettingData::InitMacroCombo(HWND combo) {
    uint16_t mode = 0;
    if (!GetShootingMode(&mode)) {
        combo_list::Disable(combo);
        return FALSE;
    }
    FillFixed(combo, MacroLabels(), mode == kShootingModeMacro ? 1 : 0);
    return TRUE;
}

BOOL CSettingData::InitShootingModeCombo(HWND combo) {
    uint16_t mode = 0;
    if (!GetShootingMode(&mode)) return FALSE;
    FillFixed(combo, ShootingModeLabels(), mode);
    return TRUE;
}
