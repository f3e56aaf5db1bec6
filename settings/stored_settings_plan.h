// Which stored settings of one camera are applied, in which order and with which values.
// Reading the file and talking to the camera are left to the caller; this is the rule book.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "settings/setting_table.h"

namespace stored_settings {

using Step = setting_table::Setting;

struct Action {
    Step step;
    int32_t number = 0;  // a number; the image format's size
    int32_t second = 0;  // the image format's quality
    std::string text;    // a text or path
};

// After the camera window's own connect, "TV" and "AV" follow the stored shooting mode; the
// host's request applies them whenever they are stored.
enum class TvAvRule { ByStoredMode, WhenPresent };

// Reads one key into `buffer` (room for `size` characters, terminator included) and returns
// the length read; 0 means absent or empty.
using KeyReader = std::function<size_t(const char* key, char* buffer, size_t size)>;

// One action per stored setting, in the file's order.
std::vector<Action> Plan(const KeyReader& read, TvAvRule rule);

}  // namespace stored_settings
