// A fuzz target's check: a broken promise stops the run where libFuzzer sees it.
#pragma once

#include <cstdlib>

inline void Require(bool condition) {
    if (!condition) abort();
}
