// The headless demo: list the cameras, connect to the first, start the viewfinder, take the
// photos, report each saved file, disconnect. Exit code 0 only when every step worked.
#pragma once

#include "host/host_options.h"

int RunScriptedShoot(const HostOptions& options);
