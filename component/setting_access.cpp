#include "component/setting_access.h"

#include <cctype>

#include "platform/dialog_base.h"
#include "settings/combo_list.h"
#include "settings/setting_data.h"
#include "settings/setting_keys.h"
#include "settings/setting_labels.h"
#include "settings/settings_file.h"
#include "settings/stored_number.h"

namespace setting_access {
namespace {

using Filler = BOOL (*)(CSettingData& model, HWND list);

template <BOOL (CSettingData::*Fill)(HWND)>
BOOL ModelFiller(CSettingData& model, HWND list) {
    return (model.*Fill)(list);
}

// The settings window's mode buttons, as a list: its texts and the modes they set.
BOOL FillShootingModes(CSettingData& model, HWND list) {
    static const LabelRow kModes[] = {
        {1, "Program AE"}, {2, "Shutter Speed Priority"}, {3, "Aperture-Priority AE"}, {4, "Manual"}};
    uint16_t mode = 0;
    if (!model.GetShootingMode(&mode)) return FALSE;
    combo_list::Clear(list);
    for (int i = 0; i < 4; ++i) combo_list::Add(list, i, kModes[i].text, kModes[i].code);
    // Any other mode shows as "Program AE", as the window's buttons show it.
    combo_list::SelectValue(list, mode);
    return TRUE;
}

// How a chosen code reaches the camera, as the settings window's OK sends it.
enum class Write { Code, Flash, RelCam, ImageFormat, Macro, OwnerName };

struct Setting {
    const char* name;
    Filler fill;  // null: a text, no list
    Write write;
    const char* key;
    BOOL (CSettingData::*setCode)(uint16_t);
    BOOL (CSettingData::*setRelCam)(const void*);
    uint32_t storedMask;  // RelCam: the bits the writer sends and the key stores
};

using namespace setting_keys;
using D = CSettingData;

const Setting kSettings[] = {
    {"Image", ModelFiller<&D::InitSizeQualityCombo>, Write::ImageFormat, kSize, nullptr, nullptr, 0},
    {"WhiteBalance", ModelFiller<&D::InitWBCombo>, Write::Code, kWhiteBalance, &D::SetWBSetting, nullptr, 0},
    {"ExposureCompensation", ModelFiller<&D::InitExpCpsCombo>, Write::Code, kExposureCompensation,
     &D::SetExpCpsSetting, nullptr, 0},
    {"Flash", ModelFiller<&D::InitFlashCombo>, Write::Flash, kFlash, nullptr, nullptr, 0},
    {"ShootingMode", FillShootingModes, Write::Code, kShootingMode, &D::SetShootingMode, nullptr, 0},
    {"Av", ModelFiller<&D::InitAvCombo>, Write::Code, kAv, &D::SetAvValue, nullptr, 0},
    {"Tv", ModelFiller<&D::InitTvCombo>, Write::Code, kTv, &D::SetTvValue, nullptr, 0},
    {"ISO", ModelFiller<&D::InitISOCombo>, Write::RelCam, kIsoSpeed, nullptr, &D::SetISOSpeed, 0xFFFF},
    {"Metering", ModelFiller<&D::InitMeteringCombo>, Write::RelCam, kMeteringMode, nullptr, &D::SetMeteringMode,
     0xFF},
    {"PhotoEffect", ModelFiller<&D::InitPhotoEffectCombo>, Write::RelCam, kPhotoEffect, nullptr, &D::SetPhotoEffect,
     0xFFFF},
    {"FocusingPoint", ModelFiller<&D::InitAFPointCombo>, Write::RelCam, kFocusingPoint, nullptr, &D::SetAFPoint,
     0xFFFF},
    {"AFLight", ModelFiller<&D::InitAFLightCombo>, Write::RelCam, kAfLight, nullptr, &D::SetAFLight, 0xFFFFFFFF},
    {"Macro", ModelFiller<&D::InitMacroCombo>, Write::Macro, kMacro, nullptr, nullptr, 0},
    {"OwnerName", nullptr, Write::OwnerName, kOwnerName, nullptr, nullptr, 0},
};

const Setting* Find(const std::string& name) {
    for (const Setting& setting : kSettings)
        if (_stricmp(setting.name, name.c_str()) == 0) return &setting;
    return nullptr;
}

std::string Normalized(const std::string& text) {
    std::string out;
    bool blank = false;
    for (unsigned char c : text) {
        if (std::isspace(c)) {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += static_cast<char>(std::tolower(c));
    }
    return out;
}

// A drop-down list that no one sees, for one call.
class HiddenList {
public:
    explicit HiddenList(HWND parent)
        : m_hwnd(parent ? CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0, 100,
                                          200, parent, nullptr, nullptr, nullptr)
                        : nullptr) {}
    HiddenList(const HiddenList&) = delete;
    HiddenList& operator=(const HiddenList&) = delete;
    ~HiddenList() {
        if (m_hwnd) DestroyWindow(m_hwnd);
    }
    HWND get() const { return m_hwnd; }

    std::string Text(int index) const { return ComboItemText(m_hwnd, index); }
    LPARAM Data(int index) const { return SendMessageA(m_hwnd, CB_GETITEMDATA, static_cast<WPARAM>(index), 0); }
    int Selection() const { return static_cast<int>(SendMessageA(m_hwnd, CB_GETCURSEL, 0, 0)); }

private:
    HWND m_hwnd;
};

// A settings model bound to the camera, with the camera's list of one setting filled.
class FilledList {
public:
    FilledList(const Camera& camera, const Setting& setting) : m_list(camera.listParent) {
        m_model.SetSource(camera.source);
        if (m_list.get()) setting.fill(m_model, m_list.get());
    }
    int Count() const { return m_list.get() ? combo_list::Count(m_list.get()) : 0; }
    const HiddenList& List() const { return m_list; }
    CSettingData& Model() { return m_model; }
    // Nothing listed: the camera's refusal, or simply no choices.
    Result Empty() const {
        return m_model.GetLastError() ? Result{Outcome::CameraFailed, m_model.GetLastError()}
                                      : Result{Outcome::NoChoices, 0};
    }

private:
    CSettingData m_model;
    HiddenList m_list;
};

BOOL Store(const Camera& camera, const char* key, const std::string& value) {
    return settings_file::WriteKey(camera.iniPath, camera.section, key, value.c_str());
}

std::string Number(uint32_t value) { return StoredNumberText(static_cast<int32_t>(value)); }

// Sends the chosen entry's item data as the settings window's OK does; the stored key follows
// only what the camera took.
bool WriteChoice(const Camera& camera, const Setting& setting, CSettingData& model, LPARAM data) {
    const auto code = static_cast<uint16_t>(data & 0xFFFF);
    switch (setting.write) {
    case Write::Code:
        if (!(model.*setting.setCode)(code)) return false;
        Store(camera, setting.key, Number(code));
        return true;
    case Write::Flash:
        if (!model.SetFlashSetting(code, 255)) return false;
        Store(camera, setting.key, Number(code));
        return true;
    case Write::RelCam: {
        const uint32_t value = static_cast<uint32_t>(data) & setting.storedMask;
        if (!(model.*setting.setRelCam)(&value)) return false;
        Store(camera, setting.key, Number(value));
        return true;
    }
    case Write::ImageFormat: {
        // The item data points into the model's own format list, which lives as long as the model.
        const auto* pair = reinterpret_cast<const ImageFormatPair*>(data);
        if (!pair || !model.SetSizeQualitySetting(pair)) return false;
        Store(camera, kSize, Number(pair->size));
        Store(camera, kQuality, Number(pair->quality));
        return true;
    }
    case Write::Macro: {
        // Always "done" for the window; a refused macro mode shows in the model's last error.
        const auto on = static_cast<uint8_t>(data & 0xFF);
        model.SetMacro(on);
        if (model.GetLastError()) return false;
        Store(camera, setting.key, Number(on));
        return true;
    }
    case Write::OwnerName:
        return false;  // a text, not a choice
    }
    return false;
}

}  // namespace

std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const Setting& setting : kSettings) names.push_back(setting.name);
    return names;
}

bool Known(const std::string& name) { return Find(name) != nullptr; }

bool SameLabel(const std::string& a, const std::string& b) { return Normalized(a) == Normalized(b); }

Result Choices(const Camera& camera, const std::string& name, std::vector<std::string>* labels) {
    const Setting* setting = Find(name);
    if (!setting) return {Outcome::UnknownSetting, 0};
    labels->clear();
    if (!setting->fill) return {};
    FilledList filled(camera, *setting);
    for (int i = 0; i < filled.Count(); ++i) labels->push_back(filled.List().Text(i));
    return labels->empty() ? filled.Empty() : Result{};
}

Result Current(const Camera& camera, const std::string& name, std::string* label) {
    const Setting* setting = Find(name);
    if (!setting) return {Outcome::UnknownSetting, 0};
    if (!setting->fill) {
        CSettingData model;
        model.SetSource(camera.source);
        char field[kOwnerNameFieldSize] = {};
        if (!model.GetOwnerName(field)) return {Outcome::CameraFailed, model.GetLastError()};
        *label = OwnerNameFromField(reinterpret_cast<const uint8_t*>(field));
        return {};
    }
    FilledList filled(camera, *setting);
    if (filled.Count() == 0) return filled.Empty();
    const int selected = filled.List().Selection();
    // Listed, but the current value could not be read.
    if (selected == CB_ERR) return {Outcome::CameraFailed, filled.Model().GetLastError()};
    *label = filled.List().Text(selected);
    return {};
}

Result Apply(const Camera& camera, const std::string& name, const std::string& label) {
    const Setting* setting = Find(name);
    if (!setting) return {Outcome::UnknownSetting, 0};
    if (!setting->fill) {
        CSettingData model;
        model.SetSource(camera.source);
        if (!model.SetOwnerName(label.c_str())) return {Outcome::CameraFailed, model.GetLastError()};
        Store(camera, setting->key, label);
        return {};
    }
    FilledList filled(camera, *setting);
    if (filled.Count() == 0) return filled.Empty();
    for (int i = 0; i < filled.Count(); ++i) {
        if (!SameLabel(filled.List().Text(i), label)) continue;
        if (!WriteChoice(camera, *setting, filled.Model(), filled.List().Data(i)))
            return {Outcome::CameraFailed, filled.Model().GetLastError()};
        return {};
    }
    return {Outcome::NoSuchChoice, 0};
}

}  // namespace setting_access
