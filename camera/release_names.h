// File names of released data items: "<folder>\<prefix><time stamp><counter>.<extension>".
// Plain C++: no Windows API, so the rules are checked natively as well.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Longest full path a saved item may have (a 260-byte buffer with its terminator).
constexpr size_t kMaxReleasePath = 259;

struct ReleaseNameParts {
    const char* prefix;
    const char* extension;
};

// Parts for a data kind: 0x10 "TH"/"JPG", 0x20 "FV" with "JPG" (format 1) or "CRW", 0x50 "FP"/"JPG".
// False, with *parts untouched, for any other kind (the batch then keeps the previous item's parts).
bool ReleaseNamePartsFor(uint32_t kind, uint8_t format, ReleaseNameParts* parts);

// Parts a batch starts with, used when its first item has a kind of no name of its own:
// no prefix, and the extension a picture of that format would get.
ReleaseNameParts BatchStartNameParts(uint8_t format);

struct LocalStamp {
    int year, month, day, hour, minute, second;
};

// "%04d%02d%02d%02d%02d%02d": 20070305140809.
std::string FormatTimeStamp(const LocalStamp& stamp);

// Writes "%s\%s%s%06u.%s" into out (outSize bytes). Refuses (false, out untouched) when the
// path would be longer than kMaxReleasePath or than out can hold, or when an argument is null.
bool BuildReleasePath(char* out, size_t outSize, const char* folder, const ReleaseNameParts& parts,
                      const std::string& stamp, uint32_t counter);
