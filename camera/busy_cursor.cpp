#include "camera/busy_cursor.h"

BusyCursor::BusyCursor() : m_busy(LoadCursorFromFileA("Nature.ani")) {
    if (m_busy) m_previous = SetCursor(m_busy.get());
}

BusyCursor::~BusyCursor() {
    // The previous cursor goes back before the loaded one is destroyed.
    if (m_busy) SetCursor(m_previous);
}
