// Run-time binding of CDSDK.dll: one process-wide table of its 82 entry points.
#pragma once

#include <windows.h>

#include "sdk/cdsdk_contract.h"

struct SdkFunctionTable {
#define CDSDK_TABLE_MEMBER(name, params) PFN_##name name;
    CDSDK_ENTRY_POINTS(CDSDK_TABLE_MEMBER)
#undef CDSDK_TABLE_MEMBER
};

// The process-wide table. Valid only between a successful LoadSdk and the next UnloadSdk.
extern SdkFunctionTable g_sdk;

// Loads folder\CDSDK.dll (else CDSDK.dll by the system's search order) and resolves all 82
// entries. 0 on success; -1 when no library loads; otherwise minus the position of the last
// missing entry. Every failure has shown a message box and left the library unloaded.
int LoadSdk(const char* folder);
void UnloadSdk();
bool IsSdkLoaded();
HMODULE SdkModule();

// Entry names in resolution order (index 0 is position 1).
const char* SdkEntryName(int index);
