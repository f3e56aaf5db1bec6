// The simulated CDSDK.dll's control exports, from the copy beside the test program. The
// module is kept loaded for the whole run, so the controller's LoadSdk finds the same one.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "simulator/sim_control.h"

struct SimAccess {
#define SIM_ACCESS_MEMBER(ret, name, params) PFN_##name name = nullptr;
    SIM_CONTROL_EXPORTS(SIM_ACCESS_MEMBER)
#undef SIM_ACCESS_MEMBER
    bool loaded = false;
};

SimAccess& Sim();

std::vector<SimCall> SimCalls();
std::vector<std::string> SimCallNames();
std::vector<std::string> SimViolations();
// Call names of the log joined by blanks, for readable failure output.
std::string Joined(const std::vector<std::string>& names);
