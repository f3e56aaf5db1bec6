#include "sdk/sdk_loader.h"

#include <cstddef>
#include <cstdio>
#include <string>

#include "sdk/notice.h"

SdkFunctionTable g_sdk;

namespace {

HMODULE g_library = nullptr;

struct EntrySlot {
    const char* name;
    size_t offset;
};

const EntrySlot kEntries[] = {
#define CDSDK_ENTRY_SLOT(name, params) {#name, offsetof(SdkFunctionTable, name)},
    CDSDK_ENTRY_POINTS(CDSDK_ENTRY_SLOT)
#undef CDSDK_ENTRY_SLOT
};
static_assert(sizeof(kEntries) / sizeof(kEntries[0]) == CDSDK_ENTRY_POINT_COUNT, "82 entry points");
static_assert(sizeof(SdkFunctionTable) == CDSDK_ENTRY_POINT_COUNT * sizeof(void*), "table holds only pointers");

// The system's text for an error code (may be empty).
std::string SystemErrorText(DWORD code) {
    char* text = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                             reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = (n && text) ? std::string(text, n) : std::string();
    if (text) LocalFree(text);
    return result;
}

void ShowLoadFailure(const std::string& lead, DWORD code) {
    std::string text = lead + SystemErrorText(code);
    ShowNotice(nullptr, text.c_str(), "Kamvio", MB_OK);
}

}  // namespace

int LoadSdk(const char* folder) {
    UnloadSdk();

    std::string path = std::string(folder ? folder : "") + "\\CDSDK.dll";
    HMODULE library = LoadLibraryA(path.c_str());
    if (!library) library = LoadLibraryA("CDSDK.dll");
    if (!library) {
        ShowLoadFailure("CDSDK.dll", GetLastError());
        return -1;
    }

    int result = 0;
    DWORD lastError = ERROR_SUCCESS;
    char* table = reinterpret_cast<char*>(&g_sdk);
    for (int i = 0; i < CDSDK_ENTRY_POINT_COUNT; ++i) {
        FARPROC address = GetProcAddress(library, kEntries[i].name);
        *reinterpret_cast<FARPROC*>(table + kEntries[i].offset) = address;
        if (!address) {
            result = -(i + 1);
            lastError = GetLastError();
        }
    }
    if (result != 0) {
        char lead[128];
        std::snprintf(lead, sizeof lead, "CDSDK.dll %s or laster vesion is required:\n", "6.0");
        ShowLoadFailure(lead, lastError);
        FreeLibrary(library);
        g_sdk = SdkFunctionTable{};  // no address into the freed library survives
        return result;
    }
    g_library = library;
    return 0;
}

void UnloadSdk() {
    if (g_library) FreeLibrary(g_library);
    g_library = nullptr;
    g_sdk = SdkFunctionTable{};
}

bool IsSdkLoaded() { return g_library != nullptr; }

HMODULE SdkModule() { return g_library; }

const char* SdkEntryName(int index) {
    return (index >= 0 && index < CDSDK_ENTRY_POINT_COUNT) ? kEntries[index].name : nullptr;
}
