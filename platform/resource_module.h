// The module whose resources hold the dialog templates: the executable unless the component
// DLL names itself at load time.
#pragma once

#include <windows.h>

HINSTANCE ResourceModule();
// Null goes back to the executable.
void SetResourceModule(HINSTANCE module);
