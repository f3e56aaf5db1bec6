// Live counts of a process's GDI objects, this thread's windows and kernel handles, for leak
// checks. Wine answers GetGuiResources and GetProcessHandleCount with 0: then its shared GDI
// handle table is read, the thread's windows are enumerated and handle values are probed.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <cstdint>

namespace resource_counts {

struct Counts {
    long gdi, user, handles;  // gdi is -1 when it cannot be counted
};

inline BOOL CALLBACK CountWindow(HWND, LPARAM count) { return ++*reinterpret_cast<long*>(count) > 0; }

inline BOOL CALLBACK CountWindowTree(HWND window, LPARAM count) {
    EnumChildWindows(window, CountWindow, count);
    return CountWindow(window, count);
}

inline Counts Measure() {
    Counts counts{static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)),
                  static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)), 0};
    if (!counts.gdi) {
        // The table hangs off the process block where Windows keeps its own: 0x10000 entries of
        // 24 bytes, the object type (0: free) at byte 14.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"  // the segment-register read of NtCurrentTeb
        const auto* peb = reinterpret_cast<const char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
#pragma GCC diagnostic pop
        const auto* table = *reinterpret_cast<const uint8_t* const*>(peb + (sizeof(void*) == 8 ? 0xF8 : 0x94));
        counts.gdi = table ? 0 : -1;
        for (size_t i = 0; table && i < 0x10000; ++i) counts.gdi += table[i * 24 + 14] ? 1 : 0;
    }
    if (!counts.user) EnumThreadWindows(GetCurrentThreadId(), CountWindowTree, reinterpret_cast<LPARAM>(&counts.user));
    DWORD handles = 0, flags = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &handles)) counts.handles = static_cast<long>(handles);
    for (uintptr_t value = 4; !handles && value < 0x4000; value += 4)
        counts.handles += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    return counts;
}

}  // namespace resource_counts
