// Owners for DrawDib: a handle, ended and closed once, and the palette DrawDibRealize leaves
// selected in a context.
#pragma once

#include <windows.h>
#include <vfw.h>

#include "platform/handles.h"

struct DrawDibTraits {
    static HDRAWDIB Invalid() { return nullptr; }
    static bool IsValid(HDRAWDIB h) { return h != nullptr; }
    static void Close(HDRAWDIB h) {
        DrawDibEnd(h);
        DrawDibClose(h);
    }
};
using UniqueDrawDib = UniqueResource<HDRAWDIB, DrawDibTraits>;

// DrawDibRealize selects a palette of DrawDib's own into our context and DrawDib never takes it
// back; some implementations never free it either. The context gets its palette back once the
// DrawDib handle is closed, and a palette left over then is deleted.
class PaletteRestore {
public:
    explicit PaletteRestore(HDC dc) : m_dc(dc), m_previous(static_cast<HPALETTE>(GetCurrentObject(dc, OBJ_PAL))) {}
    PaletteRestore(const PaletteRestore&) = delete;
    PaletteRestore& operator=(const PaletteRestore&) = delete;
    ~PaletteRestore() {
        if (!m_previous) return;
        HPALETTE used = SelectPalette(m_dc, m_previous, FALSE);
        if (used && used != m_previous && used != GetStockObject(DEFAULT_PALETTE) && GetObjectType(used) == OBJ_PAL)
            DeleteObject(used);
    }

private:
    HDC m_dc;
    HPALETTE m_previous;
};
