#include "simulator/camera_model.h"

#include <stdio.h>
#include <time.h>

#include "simulator/ini_text.h"

namespace sim {

CameraModel::CameraModel(const CameraConfig& c)
    : config(c), zoomPos(c.zoomPos), flashSecond(c.flashSecond), owner(c.owner),
      pcClock_(c.clock == 0), clock_(c.clock) {}

uint32_t CameraModel::Clock(int64_t now) const {
    return static_cast<uint32_t>(pcClock_ ? now + clock_ : clock_);
}

void CameraModel::SetClock(uint32_t value, int64_t now) {
    clock_ = pcClock_ ? static_cast<int64_t>(value) - now : value;
}

ListSetting* CameraModel::RelCam(uint32_t id) {
    auto it = config.relCam.find(id);
    return it == config.relCam.end() ? nullptr : &it->second;
}

bool CameraModel::Setting(const std::string& key, int64_t now, uint32_t* value) const {
    for (int i = 0; i < kListCount; ++i) {
        if (static_cast<ListId>(i) != ListId::ImageFormat && EqualsNoCase(key, ListKey(static_cast<ListId>(i)))) {
            *value = config.lists[i].current;
            return true;
        }
    }
    const uint32_t format = config.List(ListId::ImageFormat).current;
    const std::pair<const char*, uint32_t> scalars[] = {
        {"ImageSize", FormatSize(format)},
        {"ImageQuality", FormatQuality(format)},
        {"FlashSecond", flashSecond},
        {"ZoomPos", zoomPos},
        {"ZoomMax", config.zoomMax},
        {"Lcd", lcd},
        {"ReleaseDataKind", releaseDataKind},
        {"AFLock", afLock},
        {"Clock", Clock(now)},
        {"Capability", config.capability},
        {"PoweredOff", poweredOff ? 1u : 0u},
        {"Shots", shots},
    };
    for (const auto& scalar : scalars) {
        if (EqualsNoCase(key, scalar.first)) {
            *value = scalar.second;
            return true;
        }
    }
    if (key.size() > 7 && EqualsNoCase(key.substr(0, 7), "RelCam.")) {
        uint32_t id = 0;
        if (!ParseNumber(key.substr(7), &id)) return false;
        auto it = config.relCam.find(id);
        if (it == config.relCam.end()) return false;
        *value = it->second.current;
        return true;
    }
    return false;
}

bool CameraModel::Text(const std::string& key, std::string* text) const {
    const std::pair<const char*, const std::string*> texts[] = {
        {"Owner", &owner}, {"Model", &config.model}, {"PropertyName", &config.propertyName}};
    for (const auto& entry : texts) {
        if (EqualsNoCase(key, entry.first)) {
            *text = *entry.second;
            return true;
        }
    }
    return false;
}

std::vector<std::string> CameraModel::Describe(int64_t now) const {
    char line[160];
    std::vector<std::string> lines;
    lines.push_back(config.model + (owner.empty() ? "" : "  OWNER " + owner));
    auto current = [&](ListId id) { return static_cast<unsigned>(config.List(id).current); };
    auto relCam = [&](uint32_t id) {
        auto it = config.relCam.find(id);
        return it == config.relCam.end() ? 0u : static_cast<unsigned>(it->second.current);
    };
    snprintf(line, sizeof line, "MODE %u  AV %u  TV %u  EXP %u", current(ListId::ShootingMode), current(ListId::Av),
             current(ListId::Tv), current(ListId::ExpComp));
    lines.push_back(line);
    snprintf(line, sizeof line, "WB %u  ISO %u  FLASH %u  METER %u  AF %X", current(ListId::WB), relCam(0x0800000C),
             current(ListId::Flash), relCam(0x08000004), relCam(0x08000005));
    lines.push_back(line);
    uint32_t format = config.List(ListId::ImageFormat).current;
    snprintf(line, sizeof line, "SIZE %u  QUALITY %u  EFFECT %u  ZOOM %u/%u", FormatSize(format),
             FormatQuality(format), relCam(0x08000B00), static_cast<unsigned>(zoomPos),
             static_cast<unsigned>(config.zoomMax));
    lines.push_back(line);
    time_t clock = static_cast<time_t>(Clock(now));
    struct tm parts {};
#if defined(_WIN32)
    gmtime_s(&parts, &clock);
#else
    gmtime_r(&clock, &parts);
#endif
    snprintf(line, sizeof line, "%04d-%02d-%02d %02d:%02d:%02d UTC", parts.tm_year + 1900, parts.tm_mon + 1,
             parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
    lines.push_back(line);
    return lines;
}

}  // namespace sim
