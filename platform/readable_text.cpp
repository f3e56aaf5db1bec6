#include "platform/readable_text.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {

bool Readable(const MEMORY_BASIC_INFORMATION& region) {
    constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return region.State == MEM_COMMIT && (region.Protect & kReadable) && !(region.Protect & PAGE_GUARD);
}

}  // namespace

size_t ReadableTextLength(const char* text, size_t limit) {
    if (!text) return 0;
    size_t length = 0;
    while (length < limit) {
        const char* at = text + length;
        MEMORY_BASIC_INFORMATION region{};
        if (!VirtualQuery(at, &region, sizeof region) || !Readable(region)) return limit;
        const auto end = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
        size_t room = end - reinterpret_cast<uintptr_t>(at);
        if (room > limit - length) room = limit - length;
        const size_t found = strnlen(at, room);
        length += found;
        if (found < room) return length;
    }
    return limit;
}
