// Helpers of the camera-window tests: a host window that records notifications, the simulator's
// control exports, frames, settings files, resource counts, and a fixture that opens the window.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <tuple>

#include "dialog/camera_dialog.h"
#include "resources/resource_ids.h"
#include "simulator/sim_control.h"
#include "tests/common/test_support.h"

// Friend of CameraDialog: what the tests read or set that the window does not show.
struct CameraDialogTestAccess {
    static HDC Dc(const CameraDialog& d, bool view) { return view ? d.m_dcView.dc() : d.m_dcImage.dc(); }
    static std::string ViewState(const CameraDialog& d) {
        return std::string(d.m_bViewStarted ? "started" : "stopped") + (d.m_bViewShown ? " shown" : "");
    }
    static void SetViewShown(CameraDialog& d, BOOL shown) { d.m_bViewShown = shown; }
    static const std::string& Source(const CameraDialog& d) { return d.m_strSource; }
    static std::string SaveFolder(const CameraDialog& d) { return d.m_szSaveFolder; }
    static std::string ControllerFolder(CameraDialog& d) { return d.m_camera.GetSaveFolder(); }
};
using Access = CameraDialogTestAccess;

enum : UINT { kMsgFileSaved = WM_APP + 1, kMsgViewfinderEnable, kMsgStatus, kMsgPoweredOff };
// message, wParam, lParam, and the camera name (status) or path (file saved) the pointer carried
using Notification = std::tuple<UINT, WPARAM, LPARAM, std::string>;

// Stands in for the host: parent of the modeless window, receiver of its notifications, and a
// way to run code inside a modal message loop.
class HostWindow {
public:
    HostWindow();
    ~HostWindow() { DestroyWindow(m_hwnd); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND hwnd() const { return m_hwnd; }
    std::vector<Notification> Take() { return std::exchange(m_received, {}); }
    std::vector<Notification> Of(UINT message) const;
    void PostAction(std::function<void()> action);  // runs when dispatched, e.g. inside DoModal

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
    std::vector<Notification> m_received;
    std::vector<std::function<void()>> m_actions;
};

// The simulator's control exports, from the CDSDK.dll beside the test (kept loaded).
struct Sim {
#define SIM_MEMBER(ret, name, params) PFN_##name name = nullptr;
    SIM_CONTROL_EXPORTS(SIM_MEMBER)
#undef SIM_MEMBER
    std::vector<SimCall> Calls(const char* name) const;  // since the last SimLogClear
    int Count(const char* name) const { return static_cast<int>(Calls(name).size()); }
};

// A BMP file image in memory: 24-bit bottom-up rows; `pixel(x, y)` with y from the top.
std::vector<uint8_t> MakeFrame(uint32_t w, uint32_t h, const std::function<COLORREF(uint32_t, uint32_t)>& pixel);
inline std::vector<uint8_t> SolidFrame(uint32_t w, uint32_t h, COLORREF colour) {
    return MakeFrame(w, h, [colour](uint32_t, uint32_t) { return colour; });
}

inline std::string TestFile(const char* name) { return test_support::ExeFolder() + "\\" + name; }
// A value from an INI file beside the test, or with a null key the section's keys, each ending in NUL.
std::string IniText(const char* file, const char* section, const char* key);

inline bool Visible(HWND dialog, int id) { return GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE; }
inline void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
inline std::string Text(HWND dialog, int id) {
    char text[256] = {};
    return std::string(text, GetDlgItemTextA(dialog, id, text, sizeof text));
}
RECT ClientRectOf(HWND dialog, int id);
std::string Place(HWND dialog, int id);  // "%04d,%04d,%04d,%04d": left, top, width, height of ClientRectOf
// The state of every control by name: "(Name)" hidden, "Name-" disabled, e.g. "Connect Release- (OK)".
std::string Controls(HWND dialog);

// A host window, the simulator reset to its two default cameras, no settings files.
class CameraWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override {
        dialog.reset();
        Drain();
        sim().SimClearFaults();
    }
    static Sim& sim();
    void Configure(const char* ini) { ASSERT_EQ(sim().SimLoadConfigText(ini), 1u) << ini; }
    static KamvioPara Para(HWND host, uint32_t showControls, const char* folder = nullptr) {
        return {0, host, kMsgFileSaved, kMsgViewfinderEnable, 1, {}, showControls, 0, folder, kMsgStatus,
                kMsgPoweredOff, {}};
    }
    void OpenModeless(uint32_t showControls, const RECT* rect = nullptr);  // child of the host, shown
    // Selects source `index` and presses Connect, then lets posted messages arrive.
    void ConnectWithButton(int index = 0);
    HWND hwnd() const { return dialog ? dialog->GetSafeHwnd() : nullptr; }
    bool On(int id) const { return IsWindowEnabled(GetDlgItem(hwnd(), id)); }
    LRESULT Combo(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendDlgItemMessageA(hwnd(), IDC_HandleCanonDlg_SourceCmb, message, wParam, lParam);
    }
    std::string ComboText(int index) const {
        char text[300] = {};
        return std::string(text, std::max<LRESULT>(0, Combo(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text))));
    }
    bool Connected() const {
        BOOL connected = FALSE;
        return dialog && dialog->IsConnected(&connected) && connected;
    }
    static void Drain();  // dispatches what is queued now, without waiting
    COLORREF WindowPixel(int x, int y) const { return GetPixel(WindowDc(hwnd()).get(), x, y) & 0xFFFFFF; }
    COLORREF ViewCentre() const;  // of the live-view area, as the screen shows it

    HostWindow host;
    KamvioPara para{};
    std::unique_ptr<CameraDialog> dialog;
};
