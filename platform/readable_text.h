// Length of text handed over by a host, measured without touching memory the process cannot read.
#pragma once

#include <cstddef>

// The length of the zero-terminated text at `text`, reading at most `limit` bytes and only
// committed, readable memory. `limit` when no terminator comes first (null text: 0).
size_t ReadableTextLength(const char* text, size_t limit);
