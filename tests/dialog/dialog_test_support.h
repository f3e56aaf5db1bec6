// Helpers of the camera-window tests: a host window that records notifications, the simulator's
// control exports, viewfinder frames, INI reading, resource counts, and a look inside the dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dialog/camera_dialog.h"
#include "simulator/sim_control.h"

// Friend of CameraDialog: what the tests read or set that the window does not show.
struct CameraDialogTestAccess {
    static HDC ViewDc(const CameraDialog& d) { return d.m_dcView.dc(); }
    static HDC ImageDc(const CameraDialog& d) { return d.m_dcImage.dc(); }
    static HBITMAP ViewBitmap(const CameraDialog& d) { return d.m_dcView.bitmap(); }
    static HBITMAP ImageBitmap(const CameraDialog& d) { return d.m_dcImage.bitmap(); }
    static HFONT Font(const CameraDialog& d) { return d.m_font.get(); }
    static BOOL ViewStarted(const CameraDialog& d) { return d.m_bViewStarted; }
    static BOOL ViewShown(const CameraDialog& d) { return d.m_bViewShown; }
    static void SetViewShown(CameraDialog& d, BOOL shown) { d.m_bViewShown = shown; }
    static const std::string& Source(const CameraDialog& d) { return d.m_strSource; }
    static std::string SaveFolder(const CameraDialog& d) { return d.m_szSaveFolder; }
    static std::string ModuleDir(const CameraDialog& d) { return d.m_szModuleDir; }
    static CameraController& Camera(CameraDialog& d) { return d.m_camera; }
    static uint32_t XCount(const CameraDialog& d) { return d.m_dwXLnCnts; }
    static uint32_t YCount(const CameraDialog& d) { return d.m_dwYLnCnts; }
    static const uint32_t* XLines(const CameraDialog& d) { return d.m_pXLine.get(); }
    static const uint32_t* YLines(const CameraDialog& d) { return d.m_pYLine.get(); }
    static uint32_t FrameWidth(const CameraDialog& d) { return d.m_dwFrameWidth; }
    static const KamvioPara& Para(const CameraDialog& d) { return d.m_para; }
};

namespace dialog_test {

// Host notification numbers used by every test.
enum : UINT {
    kMsgFileSaved = WM_APP + 1,
    kMsgViewfinderEnable = WM_APP + 2,
    kMsgStatus = WM_APP + 3,
    kMsgPoweredOff = WM_APP + 4,
};

struct Notification {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string text;  // the camera name (status) or the path (file saved) the pointer carried
};

// A top-level window standing in for the host: parent of the modeless camera window, receiver
// of its notifications, and a way to run code inside a modal message loop.
class HostWindow {
public:
    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND hwnd() const { return m_hwnd; }
    std::vector<Notification> Take();             // and forget
    std::vector<Notification> Of(UINT message) const;
    void Clear() { m_received.clear(); }
    // Runs `action` when the posted request is dispatched (for example inside DoModal's loop).
    void PostAction(std::function<void()> action);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
    std::vector<Notification> m_received;
    std::vector<std::function<void()>> m_actions;
};

// Parameter block naming the host window and the four notification numbers.
KamvioPara MakePara(HWND host, uint32_t showControls, uint8_t saveMode = 1, const char* folder = nullptr);

// The simulator's control exports, from the CDSDK.dll beside the test (kept loaded).
struct Sim {
#define SIM_MEMBER(ret, name, params) PFN_##name name = nullptr;
    SIM_CONTROL_EXPORTS(SIM_MEMBER)
#undef SIM_MEMBER
    bool Load();
    // Calls of `name` in the log since the last SimLogClear.
    int Count(const char* name) const;
    std::vector<SimCall> Calls(const char* name) const;
    uint32_t Setting(const char* key) const;
};
Sim& Simulator();

// A BMP file image in memory: w x h, 24-bit bottom-up rows; `pixel(x, y)` with y from the top.
std::vector<uint8_t> MakeFrame(uint32_t w, uint32_t h, const std::function<COLORREF(uint32_t, uint32_t)>& pixel);
std::vector<uint8_t> SolidFrame(uint32_t w, uint32_t h, COLORREF colour);

// Colour of a pixel of a memory DC's bitmap (0xBBGGRR, like GetPixel).
COLORREF PixelAt(HDC dc, int x, int y);

std::string IniValue(const std::string& file, const char* section, const char* key);
std::vector<std::string> IniKeys(const std::string& file, const char* section);
std::string TestFolder();                      // the test executable's folder
std::string TestFile(const char* name);        // TestFolder() + "\" + name
void RemoveSettingsFiles();                    // KamvioPos.ini, SetData.ini, FilePath.ini, KamvioML.ini

// Live counts of this process's GDI objects, user objects (windows of this thread) and kernel
// handles; falls back to Wine's shared GDI table and to probing when the counters are stubs.
struct ResourceCounts {
    long gdi;
    long user;
    long handles;
};
ResourceCounts MeasureResources();

// Controls of the window.
bool Visible(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
std::string Text(HWND dialog, int id);
void Click(HWND dialog, int id);
RECT ClientRectOf(HWND dialog, int id);  // a control's rectangle in the dialog's client coordinates

}  // namespace dialog_test
