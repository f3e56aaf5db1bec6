// Draws viewfinder pictures into a device context through DrawDib, keeping from frame to frame
// what a live view's frames share: the DrawDib handle, begun for one context, destination size
// and picture format. Begun afresh for every frame, DrawDib would build its own picture memory
// each time, and fresh memory costs far more than the drawing.
#pragma once

#include <windows.h>

#include <optional>

#include "dialog/draw_dib.h"
#include "dialog/live_view_geometry.h"

class FrameDrawer {
public:
    FrameDrawer() = default;
    FrameDrawer(const FrameDrawer&) = delete;
    FrameDrawer& operator=(const FrameDrawer&) = delete;

    // Draws `source` of the picture at `pixels` (24-bit uncompressed, header.biSizeImage bytes,
    // read during the call only) stretched into `target` of `dc`. False when nothing was drawn.
    bool Draw(HDC dc, const BITMAPINFOHEADER& header, const uint8_t* pixels, const live_view::Box& target,
              const live_view::Box& source);
    // Gives back the handle; the next Draw begins again. Must come before the
    // context drawn into is deleted, which holds DrawDib's palette until then.
    void Release();

private:
    struct Begun {
        Begun(HDC dc, const BITMAPINFOHEADER& header, const live_view::Box& target, const live_view::Box& source);
        bool Fits(HDC dc, const BITMAPINFOHEADER& header, const live_view::Box& target,
                  const live_view::Box& source) const;
        HDC dc;
        BITMAPINFOHEADER header;  // the one DrawDibDraw gets, as DrawDibBegin got it
        int32_t dxDst, dyDst, dxSrc, dySrc;
        PaletteRestore palette;  // outlives the handle
        UniqueDrawDib handle;
    };

    std::optional<Begun> m_begun;
};
