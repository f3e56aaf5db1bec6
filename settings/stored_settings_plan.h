// Which stored settings of one camera are applied, in which order and with which values.
// Reading the file and talking to the camera are left to the caller; this is the rule book.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace stored_settings {

enum class Step {
    SizeQuality,  // number = size, second = quality
    WhiteBalance,
    ExposureCompensation,
    Flash,
    ShootingMode,
    Tv,
    Av,
    IsoSpeed,
    MeteringMode,
    PhotoEffect,
    OwnerName,  // text
    Macro,
    FocusingPoint,
    AfLight,
    ZoomPosition,
    SavePath,  // text
};

struct Action {
    Step step;
    int32_t number = 0;
    int32_t second = 0;
    std::string text;
};

// After the camera window's own connect, "TV" and "AV" follow the stored shooting mode; the
// host's request applies them whenever they are stored.
enum class TvAvRule { ByStoredMode, WhenPresent };

// Reads one key into `buffer` (room for `size` characters, terminator included) and returns
// the length read; 0 means absent or empty.
using KeyReader = std::function<size_t(const char* key, char* buffer, size_t size)>;

std::vector<Action> Plan(const KeyReader& read, TvAvRule rule);

}  // namespace stored_settings
