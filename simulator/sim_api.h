// Typed access to the control exports of the simulated CDSDK.dll, for tests and tools:
//     SimApi sim;
//     if (sim.Load()) sim.SimLoadConfigText("[Simulator]\nCameras=1\n");
#pragma once

#include <windows.h>

#include "simulator/sim_control.h"

struct SimApi {
#define SIM_API_MEMBER(ret, name, params) PFN_##name name = nullptr;
    SIM_CONTROL_EXPORTS(SIM_API_MEMBER)
#undef SIM_API_MEMBER

    // Resolves every control export of `module`, by default the CDSDK.dll already loaded in the
    // process (else the one the system's search finds, loaded and kept). True when all were found.
    bool Load(HMODULE module = nullptr) {
        if (!module) module = GetModuleHandleA("CDSDK.dll");
        if (!module) module = LoadLibraryA("CDSDK.dll");
        if (!module) return false;
        bool all = true;
#define SIM_API_RESOLVE(ret, name, params)                                                  \
    name = reinterpret_cast<PFN_##name>(reinterpret_cast<void*>(GetProcAddress(module, #name))); \
    all = all && name != nullptr;
        SIM_CONTROL_EXPORTS(SIM_API_RESOLVE)
#undef SIM_API_RESOLVE
        return all;
    }
};
