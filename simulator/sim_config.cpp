#include "simulator/sim_config.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>

#include "simulator/ini_text.h"

namespace sim {

namespace {

const char* const kListKeys[kListCount] = {"WB", "ExpComp", "Flash", "Av", "Tv", "ShootingMode", "ImageFormat"};

ListSetting MakeList(std::vector<uint32_t> values, uint32_t current, uint32_t elementSize = 2) {
    ListSetting list;
    list.values = std::move(values);
    list.current = current;
    list.elementSize = elementSize;
    return list;
}

// Shutter speeds a compact camera offers: 15 s to 1/2500 s.
const std::vector<uint32_t> kCompactTv = {24,  27,  29,  32,  35,  37,  40,  43,  45,  48,  51,  56,  59,  61,  64,
                                          67,  69,  72,  75,  77,  80,  83,  85,  88,  93,  96,  99,  101, 104, 107,
                                          109, 112, 115, 117, 120, 123, 125, 128, 131, 133, 136, 139, 141, 144, 147};
// Bulb and 30 s to 1/4000 s.
const std::vector<uint32_t> kEosTv = {4,   16,  19,  21,  24,  27,  29,  32,  35,  37,  40,  43,  45,  48,
                                      51,  56,  59,  61,  64,  67,  69,  72,  75,  77,  80,  83,  85,  88,
                                      93,  96,  99,  101, 104, 107, 109, 112, 115, 117, 120, 123, 125, 128,
                                      131, 133, 136, 139, 141, 144, 147, 149, 152};
// +2 to -2 in thirds of a stop.
const std::vector<uint32_t> kExpComp = {8, 11, 13, 16, 19, 21, 24, 27, 29, 32, 35, 37, 40};

void SetCompactLists(CameraConfig& c) {
    c.List(ListId::WB) = MakeList({0, 1, 2, 3, 4, 5, 6}, 0);
    c.List(ListId::ExpComp) = MakeList(kExpComp, 24);
    c.List(ListId::Flash) = MakeList({0, 1, 2, 3, 4, 5, 6}, 1);
    c.List(ListId::Av) = MakeList({32, 35, 37, 40, 43, 45, 48, 51, 53, 56}, 32);
    c.List(ListId::Tv) = MakeList(kCompactTv, 104);
    c.List(ListId::ShootingMode) = MakeList({1, 2, 3, 4, 110}, 1);
    c.List(ListId::ImageFormat) =
        MakeList({PackFormat(0, 5), PackFormat(0, 3), PackFormat(0, 2), PackFormat(1, 3), PackFormat(1, 2),
                  PackFormat(5, 3), PackFormat(6, 3), PackFormat(2, 3), PackFormat(2, 2)},
                 PackFormat(0, 3));
    c.relCam[0x08000004] = MakeList({3, 1, 0}, 3, 1);
    c.relCam[0x08000005] = MakeList({0x3001, 0x3002, 0x3003, 0x3004}, 0x3001);
    c.relCam[0x0800000C] = MakeList({0, 64, 72, 80, 88}, 0);
    c.relCam[0x08000B00] = MakeList({0, 1, 2, 3, 4, 5, 6}, 0);
    c.relCam[0x08000C00] = MakeList({0, 1}, 1);
}

void SetEosLists(CameraConfig& c) {
    c.List(ListId::WB) = MakeList({0, 1, 2, 3, 4, 5, 6}, 0);
    c.List(ListId::ExpComp) = MakeList(kExpComp, 24);
    c.List(ListId::Flash) = MakeList({0, 1, 2, 3}, 0);
    c.List(ListId::Av) = MakeList({37, 40, 43, 45, 48, 51, 53, 56, 59, 61, 64, 67, 69, 72, 75, 77, 80}, 48);
    c.List(ListId::Tv) = MakeList(kEosTv, 112);
    c.List(ListId::ShootingMode) = MakeList({1, 2, 3, 4}, 1);
    c.List(ListId::ImageFormat) =
        MakeList({PackFormat(0, 3), PackFormat(0, 2), PackFormat(1, 3), PackFormat(1, 2), PackFormat(2, 3),
                  PackFormat(2, 2), PackFormat(0, 4)},
                 PackFormat(0, 3));
    c.relCam[0x08000004] = MakeList({3, 4, 5}, 3, 1);
    c.relCam[0x08000005] = MakeList({0x3001, 0x3002, 0x3003, 0x3004}, 0x3001);
    c.relCam[0x0800000C] = MakeList({72, 80, 88, 96, 104}, 72);
    c.relCam[0x08000B00] = MakeList({0, 1, 2, 3, 4, 5, 6}, 0);
    c.relCam[0x08000C00] = MakeList({0, 1}, 0);
}

std::string Lower(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

bool Split(const std::string& text, char separator, std::vector<std::string>* parts) {
    parts->clear();
    if (Trim(text).empty()) return true;  // an empty list
    size_t pos = 0;
    for (;;) {
        size_t next = text.find(separator, pos);
        parts->push_back(Trim(text.substr(pos, next == std::string::npos ? std::string::npos : next - pos)));
        if (next == std::string::npos) break;
        pos = next + 1;
    }
    return true;
}

// The value of one key, read into the field it configures; each reader says what is wrong.
class ValueReader {
public:
    explicit ValueReader(std::string* error) : error_(error) {}

    bool Number(const std::string& text, uint32_t* out, uint32_t maximum = 0xFFFFFFFFu) {
        uint32_t value = 0;
        if (!ParseNumber(text, &value)) return Fail("'" + text + "' is not a number");
        if (value > maximum) return Fail(text + " is above " + std::to_string(maximum));
        *out = value;
        return true;
    }
    bool Flag(const std::string& text, bool* out) {
        uint32_t value = 0;
        if (!Number(text, &value, 1)) return false;
        *out = value != 0;
        return true;
    }
    bool Count(const std::string& text, int64_t* out) {
        if (Trim(text).empty()) {  // an empty override means: no override
            *out = -1;
            return true;
        }
        uint32_t value = 0;
        if (!Number(text, &value)) return false;
        *out = value;
        return true;
    }
    bool Text(const std::string& text, std::string* out, size_t maximum) {
        if (text.size() > maximum) return Fail("text longer than " + std::to_string(maximum) + " characters");
        *out = text;
        return true;
    }
    bool Codes(const std::string& text, std::vector<uint32_t>* out, uint32_t maximum) {
        std::vector<std::string> parts;
        Split(text, ',', &parts);
        std::vector<uint32_t> values;
        for (const std::string& part : parts) {
            uint32_t value = 0;
            if (!Number(part, &value, maximum)) return false;
            values.push_back(value);
        }
        *out = std::move(values);
        return true;
    }
    bool Format(const std::string& text, uint32_t* out) {
        std::vector<std::string> parts;
        Split(text, ':', &parts);
        uint32_t size = 0, quality = 0;
        if (parts.size() != 2) return Fail("'" + text + "' is not size:quality");
        if (!Number(parts[0], &size, 0xFFFF) || !Number(parts[1], &quality, 0xFFFF)) return false;
        *out = PackFormat(size, quality);
        return true;
    }
    bool Formats(const std::string& text, std::vector<uint32_t>* out) {
        std::vector<std::string> parts;
        Split(text, ',', &parts);
        std::vector<uint32_t> values;
        for (const std::string& part : parts) {
            uint32_t packed = 0;
            if (!Format(part, &packed)) return false;
            values.push_back(packed);
        }
        *out = std::move(values);
        return true;
    }
    bool Pair(const std::string& text, uint32_t* first, uint32_t* second) {
        std::vector<std::string> parts;
        Split(text, ',', &parts);
        if (parts.size() != 2) return Fail("'" + text + "' is not two numbers");
        return Number(parts[0], first) && Number(parts[1], second);
    }
    bool Items(const std::string& text, std::vector<ItemShape>* out) {
        std::vector<std::string> parts;
        Split(text, ',', &parts);
        std::vector<ItemShape> items;
        for (const std::string& part : parts) {
            std::vector<std::string> fields;
            Split(part, ':', &fields);
            ItemShape item;
            if (fields.size() != 3) return Fail("'" + part + "' is not kind:format:size");
            if (!Number(fields[0], &item.kind) || !Number(fields[1], &item.format, 0xFF) ||
                !Number(fields[2], &item.size, 256u * 1024 * 1024))
                return false;
            items.push_back(item);
        }
        if (items.size() > 64) return Fail("more than 64 items per shot");
        *out = std::move(items);
        return true;
    }
    bool FrameFaults(const std::string& text, uint32_t* out) {
        static const std::pair<const char*, uint32_t> kNames[] = {
            {"TallHeader", kFrameTallHeader}, {"WideHeader", kFrameWideHeader}, {"FarPixels", kFrameFarPixels},
            {"ShortSize", kFrameShortSize},   {"Freed", kFrameFreed},           {"Poisoned", kFramePoisoned}};
        std::vector<std::string> parts;
        Split(text, ',', &parts);
        uint32_t faults = 0;
        for (const std::string& part : parts) {
            auto named = std::find_if(std::begin(kNames), std::end(kNames),
                                      [&](const auto& n) { return EqualsNoCase(part, n.first); });
            if (named == std::end(kNames)) return Fail("'" + part + "' is no frame fault");
            faults |= named->second;
        }
        *out = faults;
        return true;
    }
    bool Fail(const std::string& why) {
        *error_ = why;
        return false;
    }

private:
    std::string* error_;
};

uint32_t MaxForSize(uint32_t elementSize) {
    return elementSize >= 4 ? 0xFFFFFFFFu : (1u << (8 * elementSize)) - 1;
}

// "WB.List" -> list key "WB", suffix "List". Returns false for a key that names no list.
bool SplitListKey(const std::string& key, std::string* name, std::string* suffix) {
    size_t dot = key.rfind('.');
    std::string head = dot == std::string::npos ? key : key.substr(0, dot);
    std::string tail = dot == std::string::npos ? "" : key.substr(dot + 1);
    if (!tail.empty() && !EqualsNoCase(tail, "List") && !EqualsNoCase(tail, "Count") && !EqualsNoCase(tail, "Size")) {
        head = key;  // "RelCam.0x08000004" has no suffix
        tail.clear();
    }
    *name = head;
    *suffix = Lower(tail);
    return true;
}

bool ApplyListKey(ListSetting& list, bool isFormat, bool isRelCam, const std::string& suffix, const std::string& value,
                  ValueReader& read) {
    if (suffix == "list") {
        // Release-camera values are checked against their element size once all keys are read.
        return isFormat ? read.Formats(value, &list.values) : read.Codes(value, &list.values, isRelCam ? 0xFFFFFFFFu : 0xFFFFu);
    }
    if (suffix == "count") return read.Count(value, &list.reportedCount);
    if (suffix == "size") {
        if (!isRelCam) return read.Fail("only release-camera settings have an element size");
        uint32_t size = 0;
        if (!read.Number(value, &size, 4)) return false;
        if (size != 1 && size != 2 && size != 4) return read.Fail("element size must be 1, 2 or 4");
        list.elementSize = size;
        return true;
    }
    return isFormat ? read.Format(value, &list.current) : read.Number(value, &list.current, isRelCam ? 0xFFFFFFFFu : 0xFFFFu);
}

bool ApplyCameraKey(CameraConfig& c, const std::string& key, const std::string& value, ValueReader& read) {
    using Setter = std::function<bool()>;
    const std::pair<const char*, Setter> scalars[] = {
        {"SourceType", [&] { return read.Number(value, &c.sourceType); }},
        {"Model", [&] { return read.Text(value, &c.model, 255); }},
        {"PropertyName", [&] { return read.Text(value, &c.propertyName, 31); }},
        {"Capability", [&] { return read.Number(value, &c.capability); }},
        {"Volumes", [&] { return read.Number(value, &c.volumes, 64); }},
        {"VolumeSpace", [&] { return read.Pair(value, &c.volumeCapacityKB, &c.volumeFreeKB); }},
        {"Busy", [&] { return read.Flag(value, &c.busy); }},
        {"LcdOutput", [&] { return read.Flag(value, &c.lcdOutput); }},
        {"StrictValues", [&] { return read.Flag(value, &c.strictValues); }},
        {"ZoomMax", [&] { return read.Number(value, &c.zoomMax); }},
        {"ZoomOther", [&] { return read.Number(value, &c.zoomOther); }},
        {"ZoomPos", [&] { return read.Number(value, &c.zoomPos); }},
        {"ViewWidth", [&] { return read.Number(value, &c.viewWidth, 4096); }},
        {"ViewHeight", [&] { return read.Number(value, &c.viewHeight, 4096); }},
        {"ViewFps", [&] { return read.Number(value, &c.viewFps, 100); }},
        {"FrameFaults", [&] { return read.FrameFaults(value, &c.frameFaults); }},
        {"PictureWidth", [&] { return read.Number(value, &c.pictureWidth, 4096); }},
        {"PictureHeight", [&] { return read.Number(value, &c.pictureHeight, 4096); }},
        {"Items", [&] { return read.Items(value, &c.items); }},
        {"Owner", [&] { return read.Text(value, &c.owner, 31); }},
        {"Clock", [&] { return read.Number(value, &c.clock); }},
        {"FlashSecond", [&] { return read.Number(value, &c.flashSecond); }},
    };
    for (const auto& scalar : scalars) {
        if (EqualsNoCase(key, scalar.first)) return scalar.second();
    }
    std::string name, suffix;
    SplitListKey(key, &name, &suffix);
    for (int i = 0; i < kListCount; ++i) {
        if (EqualsNoCase(name, kListKeys[i])) {
            return ApplyListKey(c.lists[i], static_cast<ListId>(i) == ListId::ImageFormat, false, suffix, value, read);
        }
    }
    if (name.size() > 7 && EqualsNoCase(name.substr(0, 7), "RelCam.")) {
        uint32_t id = 0;
        if (!ParseNumber(name.substr(7), &id)) return read.Fail("'" + name.substr(7) + "' is not a setting id");
        ListSetting& list = c.relCam[id];  // a new id starts empty, 2 bytes per value
        return ApplyListKey(list, false, true, suffix, value, read);
    }
    return read.Fail("unknown key");
}

bool ApplySimulatorKey(SimConfig& s, const std::string& key, const std::string& value, ValueReader& read) {
    if (EqualsNoCase(key, "Cameras")) return true;  // read first, see ParseConfig
    if (EqualsNoCase(key, "ChunkSize")) {
        if (!read.Number(value, &s.chunkSize, 64u * 1024 * 1024)) return false;
        return s.chunkSize > 0 || read.Fail("ChunkSize must be at least 1");
    }
    if (EqualsNoCase(key, "ChunkDelayMs")) return read.Number(value, &s.chunkDelayMs, 10000u);
    if (EqualsNoCase(key, "DeviceCount")) return read.Count(value, &s.deviceCount);
    if (EqualsNoCase(key, "ReleaseEvents")) return read.Flag(value, &s.releaseEvents);
    if (EqualsNoCase(key, "RawSize")) return read.Number(value, &s.rawSize, 256u * 1024 * 1024);
    return read.Fail("unknown key");
}

// "Camera12" -> 12; 0 for anything else.
uint32_t CameraSectionNumber(const std::string& section) {
    if (section.size() < 7 || !EqualsNoCase(section.substr(0, 6), "Camera")) return 0;
    uint32_t number = 0;
    if (!ParseNumber(section.substr(6), &number)) return 0;
    return number;
}

}  // namespace

bool ListSetting::Contains(uint32_t value) const {
    return std::find(values.begin(), values.end(), value) != values.end();
}

const char* ListKey(ListId id) { return kListKeys[static_cast<int>(id)]; }

bool ParseNumber(const std::string& text, uint32_t* value) {
    if (text.empty()) return false;
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    size_t i = hex ? 2 : 0;
    uint64_t result = 0;
    for (; i < text.size(); ++i) {
        int digit;
        char ch = text[i];
        if (ch >= '0' && ch <= '9') digit = ch - '0';
        else if (hex && ch >= 'a' && ch <= 'f') digit = ch - 'a' + 10;
        else if (hex && ch >= 'A' && ch <= 'F') digit = ch - 'A' + 10;
        else return false;
        result = result * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
        if (result > 0xFFFFFFFFull) return false;
    }
    *value = static_cast<uint32_t>(result);
    return true;
}

CameraConfig DefaultCamera(uint32_t number) {
    CameraConfig c;
    c.owner = "Kamvio";
    if (number == 2) {
        // A reflex camera: no zoom control, viewfinder that must be stopped for a shot, picture plus raw.
        c.model = "SimCam EOS 400D";
        c.propertyName = "EOS 400D";
        c.capability = 4 | 8;
        c.volumeCapacityKB = 3952000;
        c.volumeFreeKB = 3120000;
        c.items = {{0x20, 1, 0}, {0x20, 2, 0}};
        SetEosLists(c);
        return c;
    }
    c.model = number == 1 ? "SimCam Compact Z10" : "SimCam Compact Z10 #" + std::to_string(number);
    c.propertyName = "SimCam Z10";
    c.capability = 4;
    c.volumeCapacityKB = 1000000;
    c.volumeFreeKB = 750000;
    c.zoomMax = 9;
    c.zoomOther = 4;
    c.items = {{0x20, 1, 0}, {0x10, 1, 0}};
    SetCompactLists(c);
    return c;
}

SimConfig DefaultConfig() {
    SimConfig config;
    config.cameras = {DefaultCamera(1), DefaultCamera(2)};
    return config;
}

bool ParseConfig(const std::string& text, SimConfig* config, std::string* error) {
    std::vector<IniEntry> entries;
    std::string why;
    if (!ParseIni(text, &entries, &why)) {
        if (error) *error = why;
        return false;
    }
    SimConfig result = DefaultConfig();
    ValueReader read(&why);
    auto fail = [&](const IniEntry& e) {
        if (error) *error = "line " + std::to_string(e.line) + ": [" + e.section + "] " + e.key + ": " + why;
        return false;
    };
    uint32_t cameras = static_cast<uint32_t>(result.cameras.size());
    for (const IniEntry& e : entries) {
        if (EqualsNoCase(e.section, "Simulator") && EqualsNoCase(e.key, "Cameras")) {
            if (!read.Number(e.value, &cameras, kMaxCameras)) return fail(e);
        }
    }
    result.cameras.clear();
    for (uint32_t n = 1; n <= cameras; ++n) result.cameras.push_back(DefaultCamera(n));

    for (const IniEntry& e : entries) {
        if (EqualsNoCase(e.section, "Simulator")) {
            if (!ApplySimulatorKey(result, e.key, e.value, read)) return fail(e);
            continue;
        }
        uint32_t number = CameraSectionNumber(e.section);
        if (number == 0) {
            why = "unknown section";
            return fail(e);
        }
        if (number > cameras) continue;  // a camera that this configuration leaves out
        if (!ApplyCameraKey(result.cameras[number - 1], e.key, e.value, read)) return fail(e);
    }
    for (size_t i = 0; i < result.cameras.size(); ++i) {
        const CameraConfig& c = result.cameras[i];
        if (c.viewWidth == 0 || c.viewHeight == 0 || c.viewWidth * c.viewHeight > kMaxViewPixels) {
            if (error) *error = "[Camera" + std::to_string(i + 1) + "] viewfinder size out of range";
            return false;
        }
        if (c.viewFps == 0) {
            if (error) *error = "[Camera" + std::to_string(i + 1) + "] ViewFps must be at least 1";
            return false;
        }
        for (const auto& relCam : c.relCam) {
            const ListSetting& list = relCam.second;
            uint32_t maximum = MaxForSize(list.elementSize);
            bool fits = list.current <= maximum;
            for (uint32_t v : list.values) fits = fits && v <= maximum;
            if (!fits) {
                char id[16];
                std::snprintf(id, sizeof id, "0x%08X", static_cast<unsigned>(relCam.first));
                if (error) *error = "[Camera" + std::to_string(i + 1) + "] a value of RelCam." + id +
                                    " does not fit its element size";
                return false;
            }
        }
    }
    *config = std::move(result);
    return true;
}

}  // namespace sim
