// Conversion of automation strings to the narrow text of the camera code.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

// The BSTR in the local code page. A null BSTR gives false; the text ends at the first
// embedded null character, as the narrow APIs it is handed to would read it.
bool BstrToAnsi(BSTR text, std::string* out);
