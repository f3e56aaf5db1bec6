// Puts the settings stored for one camera in SetData.ini back on the camera.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "settings/setting_data.h"
#include "settings/stored_settings_plan.h"

// What the settings model does not cover: the zoom and the save folder belong to the window.
struct StoredSettingsHooks {
    std::function<void(uint32_t position)> moveZoom;
    std::function<void(const char* folder)> setSaveFolder;
};

// Reads every key afresh from `iniPath` (section "<cameraName>Setting") and applies it through
// `model`, already bound to the camera. Failures of single settings do not stop the rest.
// Returns 1.
BOOL ApplyStoredSettings(const std::string& iniPath, const std::string& cameraName, CSettingData& model,
                         stored_settings::TvAvRule rule, const StoredSettingsHooks& hooks);
