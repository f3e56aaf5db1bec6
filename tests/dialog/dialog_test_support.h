// Helpers of the camera-window tests: frames, control states, and a fixture that opens the window
// in a host window.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <tuple>

#include "dialog/camera_dialog.h"
#include "resources/resource_ids.h"
#include "tests/common/bmp_frame.h"
#include "tests/common/host_window.h"
#include "tests/common/sim_access.h"
#include "tests/common/test_support.h"

// Friend of CameraDialog: what the tests read or set that the window does not show.
struct CameraDialogTestAccess {
    static HDC Dc(const CameraDialog& d) { return d.m_dcView.dc(); }
    static std::string ViewState(const CameraDialog& d) {
        return std::string(d.m_bViewStarted ? "started" : "stopped") + (d.m_bViewShown ? " shown" : "");
    }
    static void SetViewShown(CameraDialog& d, BOOL shown) { d.m_bViewShown = shown; }
    static std::string SaveFolder(const CameraDialog& d) { return d.m_szSaveFolder; }
    static std::string ControllerFolder(CameraDialog& d) { return d.m_camera.GetSaveFolder(); }
};
using Access = CameraDialogTestAccess;

using namespace test_support;

inline int Count(const char* entry) { return static_cast<int>(SimCalls(entry).size()); }  // since SimLogClear

inline std::vector<uint8_t> SolidFrame(uint32_t w, uint32_t h, COLORREF colour) {
    return MakeFrame(w, h, [colour](uint32_t, uint32_t) { return colour; });
}

inline RECT ClientRectOf(HWND dialog, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
// "%04d,%04d,%04d,%04d": left, top, width, height of ClientRectOf
inline std::string Place(HWND dialog, int id) {
    const RECT r = ClientRectOf(dialog, id);
    char text[64];
    snprintf(text, sizeof text, "%04d,%04d,%04d,%04d", int(r.left), int(r.top), int(r.right - r.left),
             int(r.bottom - r.top));
    return text;
}
// The state of every control by name: "(Name)" hidden, "Name-" disabled, e.g. "Connect Release- (OK)".
inline std::string Controls(HWND dialog) {
    const std::pair<int, const char*> controls[] = {
        {IDC_HandleCanonDlg_SourceCmb, "Source"}, {IDC_HandleCanonDlg_Connect, "Connect"},
        {IDC_HndlCnnDlg_Setting, "Setting"},      {IDC_HandleCanonDlg_DisCnect, "Disconnect"},
        {IDC_HandleCanonDlg_Release, "Release"},  {IDC_HndlCnnDlg_ViewFinder, "Viewfinder"},
        {IDC_HndlCnnDlg_ToLCD, "LCD"},            {IDC_HndlCnnDlg_ZomSldr, "Zoom"},
        {IDC_BtnSearch, "Search"},                {IDC_HndlCnnDlg_View, "View"},
        {IDOK, "OK"},                             {IDC_HndlCnnDlg_ZoomLabel, "ZoomLabel"},
        {IDC_HndlCnnDlg_TestShoot, "TestShoot"}};
    std::string state;
    for (const auto& [id, label] : controls) {
        HWND control = GetDlgItem(dialog, id);
        const std::string name = label + std::string(IsWindowEnabled(control) ? "" : "-");
        const bool shown = GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE;
        state += (state.empty() ? "" : " ") + (shown ? name : "(" + name + ")");
    }
    return state;
}
constexpr char kIdlePanel[] = "Source Connect Setting- Disconnect- Release- Viewfinder- LCD- Zoom- Search View (OK) "
                             "(ZoomLabel) (TestShoot-)";  // the modeless window without a camera

// A host window, the simulator reset to its two default cameras, no settings files.
class CameraWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshCamera();
        ASSERT_NE(host.hwnd(), nullptr);
    }
    void TearDown() override {
        dialog.reset();
        Drain();
        Sim().SimClearFaults();
    }
    void Configure(const char* ini) { ASSERT_EQ(Sim().SimLoadConfigText(ini), 1u) << ini; }
    // A child of the host, shown.
    void OpenModeless(uint32_t showControls, const RECT* rect = nullptr) {
        dialog = std::make_unique<CameraDialog>(host.hwnd());
        para = HostPara(host.hwnd(), showControls);
        dialog->ApplyPara(&para);
        if (rect) dialog->SetWindowRect(*rect);
        EXPECT_TRUE(dialog->Create(host.hwnd()));
        dialog->ShowWindow(SW_SHOW);
        Drain();
    }
    // Selects the first source and presses Connect, then lets posted messages arrive.
    void ConnectWithButton() {
        Combo(CB_SETCURSEL, 0);
        Click(hwnd(), IDC_HandleCanonDlg_Connect);
        Drain();
    }
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
    COLORREF WindowPixel(int x, int y) const { return GetPixel(WindowDc(hwnd()).get(), x, y) & 0xFFFFFF; }
    // The live-view area's centre as the screen shows it.
    COLORREF ViewCentre() const {
        const RECT r = ClientRectOf(hwnd(), IDC_HndlCnnDlg_View);
        return WindowPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    HostWindow host;
    KamvioPara para{};
    std::unique_ptr<CameraDialog> dialog;
};
