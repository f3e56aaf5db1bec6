#include "dialog/frame_drawer.h"

#include <cstring>

FrameDrawer::Begun::Begun(HDC dc, const BITMAPINFOHEADER& header, const live_view::Box& target,
                          const live_view::Box& source)
    : dc(dc), header(header), dxDst(target.w), dyDst(target.h), dxSrc(source.w), dySrc(source.h), palette(dc),
      handle(DrawDibOpen()) {
    if (!handle) return;
    DrawDibBegin(handle.get(), dc, dxDst, dyDst, &this->header, dxSrc, dySrc, DDF_BACKGROUNDPAL);
    DrawDibRealize(handle.get(), dc, FALSE);
}

bool FrameDrawer::Begun::Fits(HDC otherDc, const BITMAPINFOHEADER& otherHeader, const live_view::Box& target,
                              const live_view::Box& source) const {
    return otherDc == dc && target.w == dxDst && target.h == dyDst && source.w == dxSrc && source.h == dySrc &&
           memcmp(&otherHeader, &header, sizeof header) == 0;
}

bool FrameDrawer::Draw(HDC dc, const BITMAPINFOHEADER& header, const uint8_t* pixels, const live_view::Box& target,
                       const live_view::Box& source) {
    if (!dc) return false;
    if (!m_begun || !m_begun->Fits(dc, header, target, source)) {
        m_begun.reset();  // the old palette goes back before the new handle realises its own
        m_begun.emplace(dc, header, target, source);
    }
    if (!m_begun->handle) {
        m_begun.reset();
        return false;
    }
    return DrawDibDraw(m_begun->handle.get(), dc, target.x, target.y, target.w, target.h, &m_begun->header,
                       const_cast<uint8_t*>(pixels), source.x, source.y, source.w, source.h, DDF_BACKGROUNDPAL) != FALSE;
}

void FrameDrawer::Release() {
    m_begun.reset();
}
