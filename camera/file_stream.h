// A stream descriptor that lets the SDK write a transfer straight into a file.
#pragma once

#include "sdk/cdsdk_contract.h"

// Fills *stream for the file at path (the file is not touched until Open). False, with
// *stream cleared, when path is null, longer than 259 characters or memory runs out.
bool BuildFileStream(cdStream* stream, const char* path);
// Frees the context and clears every field. A file the SDK left open is closed here, so a
// transfer that fails half-way leaks no handle.
void ReleaseFileStream(cdStream* stream);
