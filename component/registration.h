// Self-registration: the class from registry script 103, and the embedded type library.
#pragma once

#include <windows.h>

HRESULT RegisterServer();
HRESULT UnregisterServer();
