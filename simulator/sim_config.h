// The simulator's configuration: the cameras it offers and how they behave.
// Built from the defaults, then overridden key by key from INI text (see README.md).
#pragma once

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

namespace sim {

// A list of codes the camera offers, with the current one.
struct ListSetting {
    std::vector<uint32_t> values;
    uint32_t current = 0;
    int64_t reportedCount = -1;  // what the Count call answers; < 0: the list's length
    uint32_t elementSize = 2;    // bytes per value (release-camera settings: 1, 2 or 4)

    uint32_t ReportedCount() const {
        return reportedCount < 0 ? static_cast<uint32_t>(values.size()) : static_cast<uint32_t>(reportedCount);
    }
    bool Contains(uint32_t value) const;
};

// The lists with entry points of their own. Image-format values pack size | quality << 16.
enum class ListId { WB, ExpComp, Flash, Av, Tv, ShootingMode, ImageFormat, Count };
constexpr int kListCount = static_cast<int>(ListId::Count);
const char* ListKey(ListId id);  // "WB", "ExpComp", ... as used in the configuration

inline uint32_t PackFormat(uint32_t size, uint32_t quality) { return (size & 0xFFFF) | (quality << 16); }
inline uint16_t FormatSize(uint32_t packed) { return static_cast<uint16_t>(packed & 0xFFFF); }
inline uint16_t FormatQuality(uint32_t packed) { return static_cast<uint16_t>(packed >> 16); }

// One data item that a shot produces.
struct ItemShape {
    uint32_t kind = 0x20;
    uint32_t format = 1;  // 1 JPEG, 2 raw
    uint32_t size = 0;    // 0: a real picture (JPEG) or the default raw size; else that many bytes
};

// Ways the viewfinder misbehaves, for checking what a caller trusts (FrameFaults=, combinable).
enum FrameFault : uint32_t {
    kFrameTallHeader = 1,  // the header claims one row more than the size handed over holds
    kFrameWideHeader = 2,  // the header claims rows twice as wide
    kFrameFarPixels = 4,   // the pixel offset points at the frame's end
    kFrameShortSize = 8,   // the size handed over is one byte short of the two headers
    kFrameFreed = 16,      // each frame lies at the end of pages that are decommitted when the callback returns
    kFramePoisoned = 32,   // the frame's pixels turn magenta when the callback returns
};

struct CameraConfig {
    uint32_t sourceType = 1;
    std::string model;
    std::string propertyName;  // device property 2
    uint32_t capability = 0;   // device property 8
    uint32_t volumes = 1;
    uint32_t volumeCapacityKB = 0;
    uint32_t volumeFreeKB = 0;
    bool busy = false;
    bool lcdOutput = true;
    bool strictValues = true;  // Set calls refuse values that are not in the list
    uint32_t zoomMax = 0;
    uint32_t zoomOther = 0;
    uint32_t zoomPos = 0;
    uint32_t viewWidth = 320;
    uint32_t viewHeight = 240;
    uint32_t viewFps = 15;
    uint32_t frameFaults = 0;  // FrameFault bits
    uint32_t pictureWidth = 0;  // 0: from the image-size code
    uint32_t pictureHeight = 0;
    std::vector<ItemShape> items;
    std::string owner;
    uint32_t clock = 0;  // seconds since 1970; 0: the PC clock
    uint32_t flashSecond = 0;
    ListSetting lists[kListCount];
    std::map<uint32_t, ListSetting> relCam;  // by release-camera setting id

    ListSetting& List(ListId id) { return lists[static_cast<int>(id)]; }
    const ListSetting& List(ListId id) const { return lists[static_cast<int>(id)]; }
};

struct SimConfig {
    uint32_t chunkSize = 65536;
    uint32_t chunkDelayMs = 0;  // a slow cable: the pause after each chunk of a transfer
    int64_t deviceCount = -1;  // what CDGetDeviceCount answers; < 0: the number of cameras
    bool releaseEvents = true;  // CDRelease fires release events 0x1C and 0x1D
    uint32_t rawSize = 65536;   // bytes of a raw item configured with size 0
    std::vector<CameraConfig> cameras;
};

constexpr uint32_t kMaxCameras = 1024;
constexpr uint32_t kMaxViewPixels = 2048 * 1536;  // the frame ring holds 8 frames of this

CameraConfig DefaultCamera(uint32_t number);  // number from 1
SimConfig DefaultConfig();

// Applies INI text over the defaults. On failure `config` is untouched and `error` says why.
bool ParseConfig(const std::string& text, SimConfig* config, std::string* error);

// "123" or "0x7B"; no sign, no blanks inside, at most 32 bits.
bool ParseNumber(const std::string& text, uint32_t* value);

}  // namespace sim
