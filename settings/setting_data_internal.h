// Shared by the settings-model sources only.
#pragma once

#include "sdk/error_report.h"
#include "sdk/sdk_loader.h"
#include "settings/setting_data.h"
#include "settings/setting_labels.h"

namespace setting_data {

constexpr const char* kAllocationFailed = "Allocate memory failed!";

// A single-code enumeration: Reset, Next, Count and Release of one setting.
struct CodeEnumeration {
    const char* name;
    PFN_CDEnumWBSettingReset SdkFunctionTable::*reset;
    PFN_CDEnumWBSettingNext SdkFunctionTable::*next;
    PFN_CDGetWBSettingCount SdkFunctionTable::*count;
    PFN_CDEnumWBSettingRelease SdkFunctionTable::*release;
};

// What a list of single codes does when the camera's answers fall short.
enum class ZeroCount {
    Fill,                // empty the list, go on
    GiveUpDisabled,      // disable the control, return 0, list untouched
    GiveUpAfterEmptying  // empty the list, return 0, control left enabled
};

// What a filler does when one of its steps fails.
enum class OnFailure {
    GoOn,
    GiveUp,          // return 0; the list stays as it is by then
    GiveUpDisabled,  // disable the control, return 0
};

// Each rule is named by its field; the fillers list them in this order.
struct CodeComboRules {
    BOOL (CSettingData::*enumerate)(uint16_t* values, uint32_t* count, uint32_t capacity);
    uint32_t capacity;
    const LabelTable& (*labels)();
    BOOL (CSettingData::*readCurrent)(uint16_t* value);  // into a value preset to 0
    OnFailure failedEnumeration;
    ZeroCount zeroCount;
    OnFailure failedRead;  // GiveUp: return 0 with nothing selected
    OnFailure emptyList;   // nothing the camera listed has a label; GiveUp: return 0, nothing selected
};

}  // namespace setting_data

template <typename Call>
BOOL CSettingData::CallSdk(const char* operation, Call call) {
    if (!IsSdkLoaded()) return FALSE;
    return Check(call(), operation);
}
