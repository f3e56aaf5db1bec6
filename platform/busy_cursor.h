// The animated busy cursor from "Nature.ani" (current folder) while an object of this class
// lives; the previous cursor comes back when it ends. A file that cannot be loaded shows no
// cursor meanwhile.
#pragma once

#include "platform/handles.h"

class BusyCursor {
public:
    BusyCursor() : m_cursor(LoadCursorFromFileA("Nature.ani")), m_previous(SetCursor(m_cursor.get())) {}
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    // The previous cursor is back before the loaded one is destroyed.
    ~BusyCursor() { SetCursor(m_previous); }

private:
    UniqueCursor m_cursor;
    HCURSOR m_previous;
};
