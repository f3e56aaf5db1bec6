// Live view: what one frame costs the window's thread, and how frames from the camera are paced
// on their way to the window.
#include <windows.h>
#include <vfw.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <mutex>

#include "bench/bench_support.h"
#include "camera/camera_messages.h"
#include "dialog/camera_dialog.h"
#include "dialog/frame_drawer.h"
#include "dialog/live_view_geometry.h"
#include "resources/resource_ids.h"
#include "sdk/sdk_loader.h"
#include "simulator/sim_api.h"

// The window's view flag, which otherwise only a running viewfinder sets, and the steps of a frame.
struct CameraDialogTestAccess {
    static void SetViewShown(CameraDialog& d, BOOL shown) { d.m_bViewShown = shown; }
    static void DrawOverlays(CameraDialog& d, HDC dc, SIZE view) { d.DrawOverlays(dc, 0, 0, view.cx, view.cy); }
    static void Repaint(CameraDialog& d) { d.Repaint(); }
};

namespace bench {
namespace {

// The steps of one frame one by one, for the 640x480 frame in the 640x480 area.
void Breakdown(CameraDialog& dialog, const std::vector<uint8_t>& frame, HDC target, SIZE view) {
    HWND window = dialog.GetSafeHwnd();
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(const_cast<uint8_t*>(&frame[sizeof(BITMAPFILEHEADER)]));
    const uint8_t* bits = &frame[sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)];
    const size_t bytes = frame.size() - (bits - frame.data());
    const int w = header->biWidth, h = header->biHeight;
    const RECT whole{0, 0, view.cx, view.cy};
    HDRAWDIB kept = DrawDibOpen();
    DrawDibBegin(kept, target, view.cx, view.cy, header, w, h, DDF_BACKGROUNDPAL);
    FrameDrawer drawer;
    MemorySurface other;
    other.Create(target, view.cx, view.cy);
    const struct {
        const char* name;
        std::function<void()> step;
    } steps[] = {
        {"copy into fresh pages (VirtualAlloc, memcpy, VirtualFree)",
         [&] {
             void* pages = VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
             memcpy(pages, bits, bytes);
             VirtualFree(pages, 0, MEM_RELEASE);
         }},
        {"copy into kept memory (memcpy), as the frame callback copies each frame",
         [&, kept = std::vector<uint8_t>(bytes)]() mutable { memcpy(kept.data(), bits, bytes); }},
        {"DrawDib Open, Begin, Realize, Draw, End, Close",
         [&] {
             HDRAWDIB dd = DrawDibOpen();
             DrawDibBegin(dd, target, view.cx, view.cy, header, w, h, DDF_BACKGROUNDPAL);
             DrawDibRealize(dd, target, FALSE);
             DrawDibDraw(dd, target, 0, 0, view.cx, view.cy, header, const_cast<uint8_t*>(bits), 0, 0, w, h, DDF_BACKGROUNDPAL);
             DrawDibEnd(dd);
             DrawDibClose(dd);
         }},
        {"DrawDibDraw on a kept handle",
         [&] { DrawDibDraw(kept, target, 0, 0, view.cx, view.cy, header, const_cast<uint8_t*>(bits), 0, 0, w, h, DDF_BACKGROUNDPAL); }},
        {"the window's frame drawer: DrawDibDraw on its kept handle",
         [&] { drawer.Draw(target, *header, bits, {0, 0, view.cx, view.cy}, {0, 0, w, h}); }},
        {"StretchDIBits",
         [&] {
             StretchDIBits(target, 0, 0, view.cx, view.cy, 0, 0, w, h, bits, reinterpret_cast<BITMAPINFO*>(header),
                           DIB_RGB_COLORS, SRCCOPY);
         }},
        {"background fill, brush created and deleted",
         [&] {
             HBRUSH grey = CreateSolidBrush(CameraDialog::kBackground);
             FillRect(target, &whole, grey);
             DeleteObject(grey);
         }},
        {"background fill, DC brush", [&] {
             SetDCBrushColor(target, CameraDialog::kBackground);
             FillRect(target, &whole, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
         }},
        {"full-area BitBlt between memory contexts",
         [&] { BitBlt(other.dc(), 0, 0, view.cx, view.cy, target, 0, 0, SRCCOPY); }},
        {"overlays: destination frame, dotted cross, four lines",
         [&] { CameraDialogTestAccess::DrawOverlays(dialog, target, view); }},
        {"dotted pen created and deleted", [&] { DeleteObject(CreatePen(PS_DOT, 1, RGB(255, 0, 0))); }},
        {"Repaint: the window's context, area lookup, BitBlt to the window",
         [&] { CameraDialogTestAccess::Repaint(dialog); }},
        {"WM_NULL sent to the window", [&] { SendMessageA(window, WM_NULL, 0, 0); }},
        {"WM_CAM_FRAME without a frame: Repaint",
         [&] { SendMessageA(window, WM_CAM_FRAME, 0, 0); }},
        {"GetDC + ReleaseDC of the window", [&] { ReleaseDC(window, GetDC(window)); }},
        {"live-view area lookup (GetWindowRect, MapWindowPoints of the view control)",
         [&, control = GetDlgItem(window, IDC_HndlCnnDlg_View)] {
             RECT r{};
             GetWindowRect(control, &r);
             MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
         }},
    };
    for (const auto& s : steps) {
        const double t = Median(s.step, 200);
        AddRow({Format("  step: %s", s.name), Format("%.0f us", t * 1e6), "", 0, ""});
    }
    DrawDibEnd(kept);
    DrawDibClose(kept);
}

}  // namespace

void FrameCost() {
    AddSection("Live-view frame: DrawFrame + Repaint (one WM_CAM_FRAME) vs one StretchDIBits of the frame, same size");
    Host host;
    const RECT fixed{0, 0, 640, 480};
    const struct {
        const char* name;
        uint32_t showControls;
        const RECT* rect;
    } areas[] = {{"template area", 1, nullptr}, {"640x480 area", 0, &fixed}};
    const uint32_t sizes[][2] = {{320, 240}, {640, 480}, {1280, 960}};
    uint32_t xLines[] = {1000, 2000, 3000}, yLines[] = {1500};
    for (const auto& area : areas) {
        CameraWindow window(host, area.showControls, area.rect);
        const SIZE view = window.Area();
        // As a host uses it: a destination frame with lines, every overlay drawn.
        window.dialog.SetDestFrameSize(4000, 3000);
        window.dialog.SetAdjustLinePos(3, xLines, 1, yLines);
        CameraDialogTestAccess::SetViewShown(window.dialog, TRUE);
        WindowDc screen(window.hwnd());
        MemorySurface surface;
        surface.Create(screen.get(), view.cx, view.cy);
        for (const auto& size : sizes) {
            const std::vector<uint8_t> frame = MakeFrame(size[0], size[1]);
            const auto* info = reinterpret_cast<const BITMAPINFO*>(&frame[sizeof(BITMAPFILEHEADER)]);
            const uint8_t* bits = &frame[sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)];
            const live_view::Box box = live_view::FitPicture(size[0], size[1], view.cx, view.cy);
            const Pair t = Compare(
                [&] { SendMessageA(window.hwnd(), WM_CAM_FRAME, WPARAM(frame.data()), LPARAM(frame.size())); },
                [&] {
                    StretchDIBits(surface.dc(), box.x, box.y, box.w, box.h, 0, 0, size[0], size[1], bits, info,
                                  DIB_RGB_COLORS, SRCCOPY);
                },
                size[0] > 640 ? 150 : 400);
            AddRow({Format("%ux%u frame, %s %ldx%ld", size[0], size[1], area.name, view.cx, view.cy),
                    Format("%.0f us", t.a * 1e6), Format("%.0f us", t.b * 1e6), t.a / t.b,
                    Format("%.2f%% of one core at 10 fps", t.a * 10 * 100)});
            if (area.rect && size[0] == 640) Breakdown(window.dialog, frame, surface.dc(), view);
        }
    }
}

namespace {

// Stamps every frame the SDK hands over (order and time) before the controller sees it, and
// every frame message the window handles. The window draws a copy of the frame, so the frame
// carries its sequence number in the file header's reserved bytes, which nothing reads.
struct PacingProbe {
    static constexpr size_t kSequenceAt = 6;
    struct Stamp {
        uint32_t sequence;
        int64_t at;
    };
    struct Handled {
        int64_t at, deliveredAt;
        LONG posted;     // the message's time stamp: when the worker posted it (ms)
        uint32_t newer;  // frames delivered after this one when the window handles it
    };
    std::mutex lock;
    Stamp stamps[16] = {};
    uint32_t delivered = 0;
    cdViewfinderCallback controllerCallback = nullptr;
    PFN_CDStartViewfinder start = nullptr;
    WNDPROC windowProc = nullptr;
    std::vector<Handled> handled;

    static PacingProbe& Get() {
        static PacingProbe probe;
        return probe;
    }
    static cdError CDAPI OnFrame(const void* frame, uint32_t size, uint32_t format, cdContext context) {
        PacingProbe& p = Get();
        {
            std::lock_guard<std::mutex> guard(p.lock);
            const uint32_t sequence = p.delivered + 1;
            if (frame && size >= kSequenceAt + sizeof sequence)  // the simulator's frames are writable
                memcpy(static_cast<uint8_t*>(const_cast<void*>(frame)) + kSequenceAt, &sequence, sizeof sequence);
            p.stamps[p.delivered % 16] = {sequence, Ticks()};
            ++p.delivered;
        }
        return p.controllerCallback(frame, size, format, context);
    }
    static cdError CDAPI StartViewfinder(cdHSource source, uint32_t format, cdViewfinderCallback callback,
                                         cdContext context) {
        Get().controllerCallback = callback;
        return Get().start(source, format, OnFrame, context);
    }
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        PacingProbe& p = Get();
        if (message == WM_CAM_FRAME) {
            const int64_t now = Ticks();
            std::lock_guard<std::mutex> guard(p.lock);
            uint32_t sequence = 0;
            if (wParam && static_cast<size_t>(lParam) >= kSequenceAt + sizeof sequence)
                memcpy(&sequence, reinterpret_cast<const uint8_t*>(wParam) + kSequenceAt, sizeof sequence);
            const Stamp* found = nullptr;
            for (const Stamp& s : p.stamps)
                if (sequence && s.sequence == sequence) found = &s;
            if (found) p.handled.push_back({now, found->at, GetMessageTime(), p.delivered - found->sequence});
        }
        return CallWindowProcA(p.windowProc, window, message, wParam, lParam);
    }
};

}  // namespace

void FramePacing() {
    AddSection("Frame pacing: simulator at N fps for 10 s, 640x480 frames, template window");
    SimApi sim;
    if (!sim.Load()) return AddRow({"simulator control exports missing", "", "", 0, ""});
    Host host;
    for (uint32_t fps : {15u, 30u, 60u}) {
        sim.SimLoadConfigText(Format("[Simulator]\nCameras=1\n[Camera1]\nViewWidth=640\nViewHeight=480\nViewFps=%u\n", fps).c_str());
        CameraWindow window(host, 1, nullptr);
        SourceInfo source{};
        window.dialog.GetSouceInfo(&source, 1);
        window.dialog.Connect(&source);
        PacingProbe& probe = PacingProbe::Get();
        probe.start = g_sdk.CDStartViewfinder;
        g_sdk.CDStartViewfinder = PacingProbe::StartViewfinder;
        probe.windowProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PacingProbe::WindowProc)));
        const uint32_t deliveredBefore = sim.SimFramesDelivered();
        window.dialog.OpenViewFinder(TRUE);
        const int64_t start = Ticks();
        PumpUntil([] { return false; }, 10000);
        const double seconds = Seconds(Ticks() - start);
        window.dialog.Disconnect();
        const double delivered = (sim.SimFramesDelivered() - deliveredBefore) / seconds;
        g_sdk.CDStartViewfinder = probe.start;
        std::vector<PacingProbe::Handled> handled;
        {
            std::lock_guard<std::mutex> guard(probe.lock);
            handled.swap(probe.handled);
            probe.delivered = 0;
            for (auto& s : probe.stamps) s = {};
        }
        SetWindowLongPtrA(window.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(probe.windowProc));
        size_t newest = 0, busiest = 0, busiestPosted = 0;
        uint32_t newer = 0;
        double gap = 1e9;
        LONG postedGap = LONG_MAX;
        std::vector<double> delays;
        for (size_t i = 0; i < handled.size(); ++i) {
            newest += handled[i].newer == 0 ? 1 : 0;
            newer = std::max(newer, handled[i].newer);
            if (i > 0) gap = std::min(gap, Seconds(handled[i].at - handled[i - 1].at) * 1000);
            if (i > 0) postedGap = std::min(postedGap, handled[i].posted - handled[i - 1].posted);
            size_t k = i;
            while (k < handled.size() && handled[k].posted - handled[i].posted < 1000) ++k;
            busiestPosted = std::max(busiestPosted, k - i);
            delays.push_back(Seconds(handled[i].at - handled[i].deliveredAt) * 1000);
            size_t j = i;
            while (j < handled.size() && Seconds(handled[j].at - handled[i].at) < 1.0) ++j;
            busiest = std::max(busiest, j - i);
        }
        const double perSecond = handled.size() / seconds;
        AddRow({Format("%u fps: frame messages per second (most in any 1 s: posted, handled)", fps),
                Format("%.1f (%zu, %zu)", perSecond, busiestPosted, busiest), Format("%.1f delivered/s", delivered), 0,
                Format("shortest gap: posted %ld ms, handled %.0f ms", postedGap, gap)});
        AddRow({Format("%u fps: messages carrying the newest delivered frame", fps),
                Format("%.0f%%", handled.empty() ? 0.0 : 100.0 * newest / handled.size()), "", 0,
                Format("%zu messages; at most %u newer frame(s) delivered by handling time", handled.size(), newer)});
        AddRow({Format("%u fps: delivery to handling, median / 99th percentile", fps),
                Format("%.0f / %.0f ms", Percentile(delays, 0.5), Percentile(delays, 0.99)), "", 0, ""});
    }
    sim.SimReset();
}

}  // namespace bench
