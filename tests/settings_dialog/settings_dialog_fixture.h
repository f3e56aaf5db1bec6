// The settings windows under test: a host window, the simulated camera, the camera window
// connected like a user would, SetData.ini beside the test, and the SDK calls that change
// camera settings, each written as "name value..." (data of up to 4 bytes in hex).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "camera/camera_messages.h"
#include "dialog/camera_dialog.h"
#include "resources/resource_ids.h"
#include "resources/settings_dialog_ids.h"
#include "simulator/sim_api.h"
#include "tests/common/test_support.h"

struct CameraDialogTestAccess {
    static CameraController& Camera(CameraDialog& d) { return d.m_camera; }
};

namespace settings_test {

using Strings = std::vector<std::string>;
constexpr UINT kMsgFileSaved = WM_APP + 1;

// Stands in for the host and for the camera window: records file-saved notices, save folders
// (with the text they point to) and timer requests, and calls `onMessage` while the sender waits.
struct Recorder {
    struct Message { UINT message; WPARAM wParam; LPARAM lParam; std::string text; };
    Recorder() {
        WNDCLASSA wc{0, Proc, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, nullptr, "KamvioRecorder"};
        RegisterClassA(&wc);  // fails harmlessly when registered already
        hwnd = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 800,
                               700, nullptr, nullptr, wc.hInstance, this);
    }
    ~Recorder() { DestroyWindow(hwnd); }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        auto* self = test_support::WindowObject<Recorder>(w, m, lp);
        if (!self || (m != kMsgFileSaved && m != WM_CAM_SET_SAVE_FOLDER && m != WM_CAM_TIMER_SHOOT))
            return DefWindowProcA(w, m, wp, lp);
        self->received.push_back({m, wp, lp, m != WM_CAM_TIMER_SHOOT && wp ? reinterpret_cast<const char*>(wp) : ""});
        if (self->onMessage) self->onMessage();
        return 0;
    }
    HWND hwnd = nullptr;
    std::vector<Message> received;
    std::function<void()> onMessage;
};

// The control exports of the CDSDK.dll beside the test, kept loaded.
inline SimApi& Sim() { static SimApi sim; static const bool loaded = sim.Load(); EXPECT_TRUE(loaded); return sim; }
inline uint32_t Setting(const char* key) { uint32_t v = 0xDEADBEEF; Sim().SimGetSetting(key, &v); return v; }
inline std::string Owner() { char t[256] = {}; Sim().SimGetSettingText("Owner", t, sizeof t); return t; }
inline std::string Hex(const void* data, size_t size) {  // the bytes as they lie in memory
    std::string text;
    char part[3];
    for (size_t i = 0; i < size; ++i) text += (snprintf(part, 3, "%02X", static_cast<const uint8_t*>(data)[i]), part);
    return text;
}
// The SDK calls since the last SimLogClear that change camera settings, or those named `only`.
inline Strings Calls(const char* only = nullptr) {
    static const std::set<std::string> writers = {
        "CDSetImageFormatAttribute", "CDSetWBSetting", "CDSetExposureComp", "CDSetFlashSetting", "CDSetShootingMode",
        "CDSetTvValue", "CDSetAvValue", "CDSetRelCamSettingData", "CDSetDevicePropertyData", "CDSetZoomPos"};
    Strings calls;
    for (uint32_t i = 0; i < Sim().SimLogCount(); ++i) {
        SimCall c{};
        if (!Sim().SimLogGet(i, &c) || (only ? strcmp(c.name, only) != 0 : !writers.count(c.name))) continue;
        const bool withData = strstr(c.name, "RelCam") || strstr(c.name, "DeviceProperty");
        std::string text = c.name;
        char part[16];
        for (uint32_t a = 1; a < (withData ? 2 : c.argc); ++a)
            text += (snprintf(part, sizeof part, withData ? " %08X" : " %u", static_cast<unsigned>(c.args[a])), part);
        calls.push_back(withData && c.dataSize <= 4 ? text + " " + Hex(c.data, c.dataSize) : text);
    }
    return calls;
}
inline Strings operator+(Strings a, const Strings& b) { return a.insert(a.end(), b.begin(), b.end()), a; }

inline std::string TestFile(const char* name) { return test_support::ExeFolder() + "\\" + name; }
inline std::string IniValue(const char* file, const std::string& section, const char* key) {
    char value[2048] = {};
    return GetPrivateProfileStringA(section.c_str(), key, "", value, sizeof value, TestFile(file).c_str()), value;
}
inline Strings IniKeys(const char* file, const std::string& section) {
    std::vector<char> buffer(8192, '\0');
    GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(), 8192, TestFile(file).c_str());
    Strings keys;
    for (const char* k = buffer.data(); *k; k += strlen(k) + 1) keys.emplace_back(k);
    return keys;
}

inline bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
inline bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
inline std::string Text(HWND w, int id = 0) {
    char t[1024] = {};
    return GetWindowTextA(id ? GetDlgItem(w, id) : w, t, sizeof t), t;
}
inline void Type(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }
inline void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
inline LRESULT Combo(HWND d, int id, UINT message, WPARAM w = 0) { return SendDlgItemMessageA(d, id, message, w, 0); }
inline int Selection(HWND dialog, int id) { return static_cast<int>(Combo(dialog, id, CB_GETCURSEL)); }
inline uint32_t ItemData(HWND d, int id) { return static_cast<uint32_t>(Combo(d, id, CB_GETITEMDATA, Selection(d, id))); }
// A user's choice: the selection, then the list's change notice. Returns the item data.
inline uint32_t Select(HWND dialog, int id, int index) {
    Combo(dialog, id, CB_SETCURSEL, index);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    return ItemData(dialog, id);
}
inline void Drain() {  // dispatches what is queued now
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) DispatchMessageA(&msg);
}

// The window of this thread for which `match` holds, visible ones only if `visible`.
using Match = std::function<bool(HWND)>;
inline BOOL CALLBACK FindMatching(HWND w, LPARAM search) {
    auto* s = reinterpret_cast<std::pair<const Match*, HWND>*>(search);
    return (*s->first)(w) ? (s->second = w, FALSE) : TRUE;
}
inline HWND FindWindowOfThread(const Match& match, bool visible = false) {
    const Match both = [&](HWND w) { return (!visible || IsWindowVisible(w)) && match(w); };
    std::pair<const Match*, HWND> search{&both, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindMatching, reinterpret_cast<LPARAM>(&search));
    return search.second;
}
inline bool IsSettingsWindow(HWND w) { return GetDlgItem(w, IDC_BtnTimerStart) != nullptr; }
// Calls `step` from a timer, inside whatever modal loop runs then, until it returns true.
inline std::function<bool()> g_step;
inline void CALLBACK RunStep(HWND, UINT, UINT_PTR timer, DWORD) {
    if (!g_step || g_step()) g_step = nullptr, KillTimer(nullptr, timer);
}
inline void Meanwhile(std::function<bool()> step) { g_step = std::move(step), SetTimer(nullptr, 0, 20, RunStep); }

}  // namespace settings_test

using namespace settings_test;

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"KamvioPos.ini", "SetData.ini", "FilePath.ini", "KamvioML.ini"})
            DeleteFileA(TestFile(name).c_str());
        Sim().SimReset(), test_support::ClearMessageBoxes();
    }
    void TearDown() override { g_step = nullptr, dialog.reset(), Drain(), Sim().SimClearFaults(); }
    // The modeless camera window with its panel, child of the host, shown.
    void OpenModeless() {
        dialog = std::make_unique<CameraDialog>(host.hwnd);
        KamvioPara para{};
        para.hwndHost = host.hwnd, para.msgFileSaved = kMsgFileSaved, para.saveMode = 1, para.showControls = 1;
        ASSERT_TRUE(dialog->ApplyPara(&para) && dialog->Create(host.hwnd));
        dialog->ShowWindow(SW_SHOW), Drain();
    }
    void ConnectWithButton(int camera = 0) {
        Combo(hwnd(), IDC_HandleCanonDlg_SourceCmb, CB_SETCURSEL, camera);
        Click(hwnd(), IDC_HandleCanonDlg_Connect), Drain();
    }
    // Both, for camera 0 (the compact one with zoom); then the log is cleared and the settings
    // window opened.
    void OpenConnected() {
        OpenModeless();
        ConnectWithButton(), Sim().SimLogClear();
        ASSERT_NE(settings = OpenSettings(), nullptr);
    }
    // Clicks "Camera Setting" and returns the settings window (null when there is none).
    HWND OpenSettings() { return Click(hwnd(), IDC_HndlCnnDlg_Setting), Drain(), FindWindowOfThread(IsSettingsWindow); }
    Strings Ok() { return Sim().SimLogClear(), Click(settings, IDOK), Calls(); }  // the calls OK made
    HWND hwnd() const { return dialog ? dialog->GetSafeHwnd() : nullptr; }
    CameraController& Camera() { return CameraDialogTestAccess::Camera(*dialog); }
    std::string CameraName(int camera = 0) const {
        char text[300] = {};
        return SendDlgItemMessageA(hwnd(), IDC_HandleCanonDlg_SourceCmb, CB_GETLBTEXT, camera, LPARAM(text)), text;
    }
    void Store(const char* key, const char* value, int camera = 0) const {
        WritePrivateProfileStringA((CameraName(camera) + "Setting").c_str(), key, value, TestFile("SetData.ini").c_str());
    }
    std::string Stored(const char* key) const { return IniValue("SetData.ini", CameraName() + "Setting", key); }
    Strings StoredKeys() const { return IniKeys("SetData.ini", CameraName() + "Setting"); }

    Recorder host;
    std::unique_ptr<CameraDialog> dialog;
    HWND settings = nullptr;
};
