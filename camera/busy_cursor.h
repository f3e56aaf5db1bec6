// The animated busy cursor of long camera operations, put back when the scope ends.
#pragma once

#include <windows.h>

#include "platform/handles.h"

class BusyCursor {
public:
    // Loads "Nature.ani" from the current folder; without it the cursor stays as it is.
    BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    ~BusyCursor();

private:
    UniqueCursor m_busy;
    HCURSOR m_previous = nullptr;
};
