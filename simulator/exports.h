// Declarations of everything the DLL exports, so each definition is checked against them.
#pragma once

#include "simulator/sim_control.h"

extern "C" {
#define SIM_DECLARE_ENTRY(name, params) cdError CDAPI name params;
CDSDK_ENTRY_POINTS(SIM_DECLARE_ENTRY)
#undef SIM_DECLARE_ENTRY
#define SIM_DECLARE_CONTROL(ret, name, params) ret CDAPI name params;
SIM_CONTROL_EXPORTS(SIM_DECLARE_CONTROL)
#undef SIM_DECLARE_CONTROL
}
