// The camera's settings by name and by the label texts of their choices, as the settings window
// lists and applies them: its list fillers fill a hidden list of ours, the chosen entry's code
// goes to the camera through the same setters its OK uses, and the stored setting is written
// into SetData.ini under the same key.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/cdsdk_contract.h"

namespace setting_access {

// The names clients use ("WhiteBalance", "ISO", ...), in a fixed order.
std::vector<std::string> Names();
// True when `name` (in any case) is one of them.
bool Known(const std::string& name);

// The connected camera as the settings window sees it.
struct Camera {
    cdHSource source = 0;
    HWND listParent = nullptr;  // holds the hidden lists while a call runs
    std::string iniPath;        // SetData.ini
    std::string section;        // "<camera name>Setting"
};

enum class Outcome {
    Done,
    UnknownSetting,
    NoSuchChoice,  // the label is none of the camera's choices
    NoChoices,     // the camera lists nothing for the setting
    CameraFailed,  // the camera refused or could not be read; see status
};

struct Result {
    Outcome outcome = Outcome::Done;
    uint32_t status = 0;  // CameraFailed: the SDK's status, when it gave one
};

// The labels of the choices, in the camera's order; a text setting (OwnerName) has none.
Result Choices(const Camera& camera, const std::string& name, std::vector<std::string>* labels);
// The label of the current choice (the text for OwnerName).
Result Current(const Camera& camera, const std::string& name, std::string* label);
// Sets the choice whose label is `label` (blanks and case do not matter), or the text, and
// stores it once the camera took it.
Result Apply(const Camera& camera, const std::string& name, const std::string& label);

// Labels compare without regard to case and to runs of blanks ("+1 1/3" is "+1  1/3").
bool SameLabel(const std::string& a, const std::string& b);

}  // namespace setting_access
