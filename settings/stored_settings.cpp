#include "settings/stored_settings.h"

#include "settings/settings_file.h"

namespace {

using stored_settings::Action;
using stored_settings::Step;

// The release-camera writers take the value by address: 32 bits, or one byte for metering.
void ApplyRelCam(BOOL (CSettingData::*set)(const void*), CSettingData& model, int32_t number) {
    const auto value = static_cast<uint32_t>(number);
    (model.*set)(&value);
}

void Apply(const Action& a, CSettingData& model, const StoredSettingsHooks& hooks) {
    const auto code = static_cast<uint16_t>(a.number & 0xFFFF);
    switch (a.step) {
    case Step::SizeQuality: {
        const ImageFormatPair pair{code, static_cast<uint16_t>(a.second & 0xFFFF)};
        model.SetSizeQualitySetting(&pair);
        break;
    }
    case Step::WhiteBalance: model.SetWBSetting(code); break;
    case Step::ExposureCompensation: model.SetExpCpsSetting(code); break;
    case Step::Flash: model.SetFlashSetting(code, 255); break;
    case Step::ShootingMode: model.SetShootingMode(code); break;
    case Step::Tv: model.SetTvValue(code); break;
    case Step::Av: model.SetAvValue(code); break;
    case Step::IsoSpeed: ApplyRelCam(&CSettingData::SetISOSpeed, model, a.number); break;
    case Step::MeteringMode: {
        const auto metering = static_cast<uint8_t>(a.number & 0xFF);
        model.SetMeteringMode(&metering);
        break;
    }
    case Step::PhotoEffect: ApplyRelCam(&CSettingData::SetPhotoEffect, model, a.number); break;
    case Step::OwnerName: model.SetOwnerName(a.text.c_str()); break;
    case Step::Macro: model.SetMacro(static_cast<uint8_t>(a.number & 0xFF)); break;
    case Step::FocusingPoint: ApplyRelCam(&CSettingData::SetAFPoint, model, a.number); break;
    case Step::AfLight: ApplyRelCam(&CSettingData::SetAFLight, model, a.number); break;
    case Step::ZoomPosition:
        if (hooks.moveZoom) hooks.moveZoom(static_cast<uint32_t>(a.number));
        break;
    case Step::SavePath:
        if (hooks.setSaveFolder) hooks.setSaveFolder(a.text.c_str());
        break;
    }
}

}  // namespace

BOOL ApplyStoredSettings(const std::string& iniPath, const std::string& cameraName, CSettingData& model,
                         stored_settings::TvAvRule rule, const StoredSettingsHooks& hooks) {
    if (iniPath.empty()) return TRUE;  // no settings folder: nothing is stored
    const std::string section = settings_file::SectionOf(cameraName);
    auto read = [&](const char* key, char* buffer, size_t size) {
        return settings_file::ReadKey(iniPath, section, key, buffer, size);
    };
    for (const Action& action : stored_settings::Plan(read, rule)) Apply(action, model, hooks);
    return TRUE;
}
