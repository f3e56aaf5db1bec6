// Names of saved images: any save folder, kind, format, counter and output size gives either a
// refusal that leaves the output untouched or a terminated path of at most 259 characters
// that fits the output exactly.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "camera/release_names.h"
#include "tests/fuzz/require.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 10) return 0;
    uint32_t kind, counter;
    memcpy(&kind, data, 4);
    memcpy(&counter, data + 4, 4);
    const uint8_t format = data[8];
    const size_t outSize = data[9] * 2u;  // 0 .. 510: on both sides of the 260-byte buffer
    const std::string folder(reinterpret_cast<const char*>(data + 10), size - 10);

    ReleaseNameParts parts = BatchStartNameParts(format);
    ReleaseNamePartsFor(kind & 0xFF, format, &parts);
    const LocalStamp stamp{static_cast<int>(counter % 10000), static_cast<int>(kind >> 8 & 0xFF), format, 23, 59, 59};
    const std::string text = FormatTimeStamp(stamp);

    // The output in a heap block of exactly outSize bytes, so that any overrun is caught.
    std::vector<char> out(outSize, '\x5A');
    const bool built = BuildReleasePath(out.data(), out.size(), folder.c_str(), parts, text, counter);
    if (!built) {
        for (char c : out) Require(c == '\x5A');
        return 0;
    }
    const size_t length = strnlen(out.data(), out.size());
    Require(length < out.size() && length <= kMaxReleasePath);
    const std::string path(out.data(), length);
    Require(path.compare(0, strlen(folder.c_str()), folder.c_str()) == 0);
    Require(path.size() >= 4 && path.compare(path.size() - 4, 4, std::string(".") + parts.extension) == 0);
    return 0;
}
