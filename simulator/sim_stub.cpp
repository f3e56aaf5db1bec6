// Placeholder camera SDK: every entry point exists; the simulated camera replaces this file.
#include <windows.h>

#include "simulator/sim_control.h"

extern "C" {
#define SIM_STUB_ENTRY(name, params) \
    cdError CDAPI name params { return cdNOT_SUPPORTED; }
CDSDK_ENTRY_POINTS(SIM_STUB_ENTRY)
#undef SIM_STUB_ENTRY

#define SIM_STUB_CONTROL(ret, name, params) \
    ret CDAPI name params { return ret(); }
SIM_CONTROL_EXPORTS(SIM_STUB_CONTROL)
#undef SIM_STUB_CONTROL
}
