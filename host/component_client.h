// Reaching the component the way any host does: through COM, by its ProgID.
#pragma once

#include <windows.h>

#include <string>

#include "kamvio_idl.h"
#include "platform/handles.h"

HRESULT CreateKamvio(ComPtr<IOvCanonSDK>* object);
// "0x80004005" plus the system's text when it has one.
std::string HResultText(HRESULT hr);
