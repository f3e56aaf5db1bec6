// The state of one simulated camera: its configuration with the current setting values, and
// what changes while it is used (zoom, owner, clock, power). Lives as long as the configuration.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "simulator/sim_config.h"

namespace sim {

class CameraModel {
public:
    explicit CameraModel(const CameraConfig& config);

    CameraConfig config;  // the lists carry the current values
    uint32_t zoomPos = 0;
    uint32_t lcd = 0;  // last output chosen for the viewfinder (1 or 3); 0 before any choice
    uint32_t releaseDataKind = 0;
    uint32_t afLock = 0;
    uint32_t flashSecond = 0;
    std::string owner;
    bool poweredOff = false;
    uint32_t shots = 0;

    // Camera clock, seconds since 1970; `now` is the PC's clock. A configured clock stands still.
    uint32_t Clock(int64_t now) const;
    void SetClock(uint32_t value, int64_t now);

    // Whether a Set call may store `value` in `list`.
    bool Accepts(const ListSetting& list, uint32_t value) const {
        return !config.strictValues || list.Contains(value);
    }
    // A release-camera setting, or null for an id the camera does not know.
    ListSetting* RelCam(uint32_t id);

    // Values for the test interface by configuration key ("WB", "ZoomPos", "RelCam.0x0800000C"...).
    bool Setting(const std::string& key, int64_t now, uint32_t* value) const;
    bool Text(const std::string& key, std::string* text) const;

    // The settings as short text lines, drawn into every picture.
    std::vector<std::string> Describe(int64_t now) const;

private:
    bool pcClock_ = true;
    int64_t clock_ = 0;  // offset to the PC clock, or the fixed value
};

}  // namespace sim
