// Live view: the viewfinder frame scaled into the area of control 213, with the destination
// frame, its centre cross and the adjustment lines over it. Composed in m_dcView, then copied
// to the window in one piece.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "camera/viewfinder_frame.h"
#include "dialog/camera_dialog.h"
#include "dialog/live_view_geometry.h"
#include "resources/resource_ids.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

struct FrameLayout {
    BITMAPINFOHEADER header;
    uint32_t pixelOffset;
};

// Only 24-bit uncompressed bottom-up pictures of a plausible size whose pixels lie within the
// frame's size are drawn. DrawDib sees a header of our own making, so no field of the frame's
// header (its size, a colour count) can make it read beyond what was checked.
bool ReadFrameLayout(const uint8_t* frame, size_t size, FrameLayout* layout) {
    viewfinder_frame::Layout read{};
    if (!viewfinder_frame::Read(frame, size, &read) || !live_view::PlausibleFrameSize(read.width, read.height))
        return false;
    BITMAPINFOHEADER& h = layout->header;
    h = BITMAPINFOHEADER{};
    h.biSize = sizeof h;
    h.biWidth = static_cast<LONG>(read.width);
    h.biHeight = static_cast<LONG>(read.height);
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
    h.biSizeImage = read.rowBytes * read.height;
    layout->pixelOffset = read.pixelOffset;
    return true;
}

// Solid colours come from the context's own brush and pen: nothing is created per frame.
HBRUSH DcBrush(HDC dc, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
}

// The pixel columns (or rows) of the context's visible part that already carry a line. A line
// outside them or over another one changes no pixel, so thousands of lines from a host cost
// one line per visible position and the drawing keeps up with the frames.
class LineSlots {
public:
    LineSlots(LONG from, LONG to) : m_from(from), m_used(to > from ? static_cast<size_t>(to - from) : 0, false) {}
    bool Take(int32_t at) {
        const int64_t i = static_cast<int64_t>(at) - m_from;
        if (i < 0 || i >= static_cast<int64_t>(m_used.size()) || m_used[static_cast<size_t>(i)]) return false;
        m_used[static_cast<size_t>(i)] = true;
        return true;
    }

private:
    LONG m_from;
    std::vector<bool> m_used;
};

// Fills the W x H area except `box`, which may reach beyond the area.
void FillAround(HDC dc, int32_t W, int32_t H, const live_view::Box& box, HBRUSH brush) {
    const int32_t top = std::clamp(box.y, 0, H), bottom = std::clamp(box.y + box.h, top, H);
    const int32_t left = std::clamp(box.x, 0, W), right = std::clamp(box.x + box.w, left, W);
    const RECT bands[] = {{0, 0, W, top}, {0, bottom, W, H}, {0, top, left, bottom}, {right, top, W, bottom}};
    for (const RECT& band : bands)
        if (band.left < band.right && band.top < band.bottom) FillRect(dc, &band, brush);
}

void DrawLine(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

}  // namespace

RECT CameraDialog::LiveViewArea() const {
    if (!m_staticView) return ItemClientRect(IDC_HndlCnnDlg_View);
    RECT area{};
    GetWindowRect(m_staticView, &area);
    MapWindowPoints(nullptr, GetSafeHwnd(), reinterpret_cast<POINT*>(&area), 2);
    return area;
}

BOOL CameraDialog::CreateSurfaces() {
    const RECT area = LiveViewArea();
    WindowDc dc(GetSafeHwnd());
    if (!dc) return FALSE;
    m_frameDrawer.Release();  // it holds DrawDib's palette in the old m_dcView
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (!m_dcView.Create(dc.get(), width, height)) return FALSE;
    // Grey until the first picture, which may be long in coming when the camera's frames are refused.
    const RECT whole{0, 0, width, height};
    FillRect(m_dcView.dc(), &whole, DcBrush(m_dcView.dc(), kBackground));
    return TRUE;
}

BOOL CameraDialog::PlaceLiveView(HWND parent, const RECT& rect) {
    HWND self = GetSafeHwnd();
    if (!self || !m_staticView || m_bModal || m_para.showControls) return FALSE;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return FALSE;
    if (parent && GetParent(self) != parent && !SetParent(self, parent)) return FALSE;
    MoveWindow(self, rect.left, rect.top, width, height, TRUE);
    MoveWindow(m_staticView, 0, 0, width, height, TRUE);
    // The drawing surfaces take the new size; the next frame fills them.
    CreateSurfaces();
    return Repaint();
}

void CameraDialog::ReleaseLiveViewIfStopped() {
    const BOOL running = m_camera.IsViewfinderRunning();
    if (m_bViewfinderWasRunning && !running) m_frameDrawer.Release();
    m_bViewfinderWasRunning = running;
}

BOOL CameraDialog::Repaint() {
    HWND window = GetSafeHwnd();
    if (!window) return TRUE;
    WindowDc dc(window);
    if (!dc) return TRUE;
    const RECT area = LiveViewArea();
    if (m_bViewShown) {
        if (m_dcView)
            BitBlt(dc.get(), area.left, area.top, area.right - area.left, area.bottom - area.top, m_dcView.dc(), 0, 0,
                   SRCCOPY);
    } else {
        FillRect(dc.get(), &area, DcBrush(dc.get(), kBackground));
    }
    return TRUE;
}

BOOL CameraDialog::DrawFrame(const uint8_t* frame, size_t size) {
    if (!m_bViewShown || !m_dcView) return FALSE;
    const RECT area = LiveViewArea();
    const int32_t W = area.right - area.left, H = area.bottom - area.top;
    const RECT whole{0, 0, W, H};
    HDC view = m_dcView.dc();
    HBRUSH grey = DcBrush(view, kBackground);
    // A missing or refused frame leaves the view with the last picture.
    FrameLayout layout;
    if (!ReadFrameLayout(frame, size, &layout)) return FALSE;
    const auto w0 = static_cast<uint32_t>(layout.header.biWidth);
    const auto h0 = static_cast<uint32_t>(layout.header.biHeight);
    const live_view::Box box = live_view::FitPicture(w0, h0, W, H);
    // The picture covers its box: grey goes only around it, unless the picture failed.
    // Drawn straight into the view: every pixel of it is drawn afresh, so no clean copy of the
    // picture is kept for the overlays to go over.
    if (m_frameDrawer.Draw(view, layout.header, frame + layout.pixelOffset, box,
                           live_view::Box{0, 0, static_cast<int32_t>(w0), static_cast<int32_t>(h0)}))
        FillAround(view, W, H, box, grey);
    else
        FillRect(view, &whole, grey);
    // The overlay box spans the whole area's width and the drawn picture's height.
    return DrawOverlays(view, box.x, box.y, W, box.h);
}

BOOL CameraDialog::DrawOverlays(HDC dc, int32_t x, int32_t y, int32_t w, int32_t h) {
    // Frame and cross only come with at least one line in each direction.
    if (!dc || m_dwFrameWidth == 0 || m_dwFrameHeight == 0 || m_dwXLnCnts == 0 || m_dwYLnCnts == 0 || !m_pXLine ||
        !m_pYLine || w == 0 || h == 0)
        return FALSE;
    const live_view::DestinationBox fitted =
        live_view::FitDestinationFrame(m_dwFrameWidth, m_dwFrameHeight, live_view::Box{x, y, w, h});
    const live_view::Edges& e = fitted.edges;

    const RECT box{e.left, e.top, e.right, e.bottom};
    FrameRect(dc, &box, DcBrush(dc, kRed));

    UniquePen dotted(CreatePen(PS_DOT, 1, kRed));
    if (dotted) {
        SelectedObject pen(dc, dotted.get());
        const int32_t cx = live_view::Middle(e.left, e.right), cy = live_view::Middle(e.top, e.bottom);
        DrawLine(dc, cx, e.top, cx, e.bottom);
        DrawLine(dc, e.left, cy, e.right, cy);
    }

    {
        SelectedObject pen(dc, GetStockObject(DC_PEN));
        SetDCPenColor(dc, kBlue);
        RECT visible{};
        GetClipBox(dc, &visible);
        LineSlots columns(visible.left, visible.right), rows(visible.top, visible.bottom);
        for (uint32_t i = 0; i < m_dwXLnCnts; ++i) {
            const int32_t xi = live_view::LinePosition(m_pXLine[i], fitted.scale, e.left);
            if (columns.Take(xi)) DrawLine(dc, xi, e.top, xi, e.bottom);
        }
        for (uint32_t j = 0; j < m_dwYLnCnts; ++j) {
            const int32_t yj = live_view::LinePosition(m_pYLine[j], fitted.scale, e.top);
            if (rows.Take(yj)) DrawLine(dc, e.left, yj, e.right, yj);
        }
    }
    return TRUE;
}
