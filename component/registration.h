// Self-registration: each class from its registry script (103, 104), and the embedded type library.
#pragma once

#include <windows.h>

HRESULT RegisterServer();
HRESULT UnregisterServer();
