#include "settings/stored_settings.h"

#include "settings/setting_rows.h"
#include "settings/settings_file.h"

namespace {

using setting_table::Send;

void Apply(const stored_settings::Action& a, CSettingData& model, const StoredSettingsHooks& hooks) {
    const setting_table::SettingRow& row = setting_table::Row(a.step);
    switch (row.send) {
    case Send::Text: model.SetOwnerName(a.text.c_str()); break;
    case Send::ZoomPosition:
        if (hooks.moveZoom) hooks.moveZoom(static_cast<uint32_t>(a.number));
        break;
    case Send::SaveFolder:
        if (hooks.setSaveFolder) hooks.setSaveFolder(a.text.c_str());
        break;
    default: setting_table::SendStored(row, model, a.number, a.second); break;
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
    for (const stored_settings::Action& action : stored_settings::Plan(read, rule)) Apply(action, model, hooks);
    return TRUE;
}
