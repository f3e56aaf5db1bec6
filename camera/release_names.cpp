#include "camera/release_names.h"

#include <cstdio>

bool ReleaseNamePartsFor(uint32_t kind, uint8_t format, ReleaseNameParts* parts) {
    if (!parts) return false;
    switch (kind) {
    case 0x10:
        *parts = {"TH", "JPG"};
        return true;
    case 0x20:
        *parts = {"FV", format == 1 ? "JPG" : "CRW"};
        return true;
    case 0x50:
        *parts = {"FP", "JPG"};
        return true;
    default:
        return false;
    }
}

ReleaseNameParts BatchStartNameParts(uint8_t format) { return {"", format == 1 ? "JPG" : "CRW"}; }

std::string FormatTimeStamp(const LocalStamp& s) {
    char text[96];
    int n = std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", s.year, s.month, s.day, s.hour, s.minute,
                          s.second);
    return n > 0 ? std::string(text, static_cast<size_t>(n) < sizeof text ? n : sizeof text - 1) : std::string();
}

bool BuildReleasePath(char* out, size_t outSize, const char* folder, const ReleaseNameParts& parts,
                      const std::string& stamp, uint32_t counter) {
    if (!out || !folder || !parts.prefix || !parts.extension) return false;
    const char* format = "%s\\%s%s%06u.%s";
    int length = std::snprintf(nullptr, 0, format, folder, parts.prefix, stamp.c_str(), counter, parts.extension);
    if (length < 0 || static_cast<size_t>(length) > kMaxReleasePath || static_cast<size_t>(length) >= outSize)
        return false;
    std::snprintf(out, outSize, format, folder, parts.prefix, stamp.c_str(), counter, parts.extension);
    return true;
}
