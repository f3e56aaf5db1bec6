// What every benchmark shares: a clock, medians, the host window that receives the camera
// window's notifications, process resource counts and the one table that is printed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dialog/camera_dialog.h"
#include "dialog/kamvio_para.h"
#include "resources/resource_ids.h"

namespace bench {

int64_t Ticks();                  // QueryPerformanceCounter
double Seconds(int64_t ticks);    // ticks to seconds
double Percentile(std::vector<double> values, double share);  // 0.5: median
std::string Format(const char* format, ...);

// Median seconds per call of `a` and of `b`, measured in alternating batches (after a warm-up)
// so that a busy machine slows both alike.
struct Pair {
    double a, b;
};
Pair Compare(const std::function<void()>& a, const std::function<void()>& b, int runs);
double Median(const std::function<void()>& op, int runs);

// Dispatches this thread's messages until `done` or `ms` passed; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD ms);

// The host: parent of the modeless camera window and receiver of its notifications.
class Host {
public:
    enum : UINT { kFileSaved = WM_APP + 1, kViewfinderEnable, kStatus, kPoweredOff };
    Host();
    ~Host() { DestroyWindow(m_hwnd); }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
    HWND hwnd() const { return m_hwnd; }
    KamvioPara Para(uint32_t showControls, const char* folder) const;
    uint32_t filesSaved = 0;
    int64_t lastSavedAt = 0;
    std::string lastPath;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
};

// A modeless camera window of the statically linked dialog, shown in the host.
struct CameraWindow {
    CameraWindow(const Host& host, uint32_t showControls, const RECT* rect, const char* folder = nullptr)
        : dialog(host.hwnd()) {
        KamvioPara para = host.Para(showControls, folder);
        dialog.ApplyPara(&para);
        if (rect) dialog.SetWindowRect(*rect);
        dialog.Create(host.hwnd());
        dialog.ShowWindow(SW_SHOW);
        PumpUntil([] { return false; }, 100);
    }
    ~CameraWindow() { dialog.DestroyWindow(); }
    HWND hwnd() const { return dialog.GetSafeHwnd(); }
    SIZE Area() const {
        RECT r{};
        GetWindowRect(GetDlgItem(hwnd(), IDC_HndlCnnDlg_View), &r);
        return {r.right - r.left, r.bottom - r.top};
    }
    bool Connect() {
        SourceInfo source{};
        return dialog.GetSouceInfo(&source, 1) && dialog.Connect(&source);
    }
    CameraDialog dialog;
};

// What the process holds: GDI objects, windows of this thread, kernel handles, threads, and
// private bytes (MB).
struct Resources {
    long gdi, user, handles, threads;
    double privateMb;
};
Resources MeasureResources();

// A 24-bit bottom-up BMP file image of w x h with a busy pattern.
std::vector<uint8_t> MakeFrame(uint32_t w, uint32_t h);

// A folder beside the executable, created empty.
std::string ScratchFolder(const char* name);
void RemoveFolder(const std::string& folder);

// One row of the table: figure and baseline as text, ratio figure/baseline (0: none).
struct Row {
    std::string measure, figure, baseline;
    double ratio;
    std::string note;
};
void AddRow(Row row);
void AddSection(const std::string& title);
void PrintTable();

// The benchmarks, in the order they run.
void FrameCost();
void FramePacing();
void Transfer();
void StreamThroughput();
void Startup();
void LongRun();

}  // namespace bench
