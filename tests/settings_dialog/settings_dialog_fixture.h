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
#include "tests/common/host_window.h"
#include "tests/common/sim_access.h"

struct CameraDialogTestAccess {
    static CameraController& Camera(CameraDialog& d) { return d.m_camera; }
};

namespace settings_test {

using namespace test_support;

using Strings = std::vector<std::string>;
using Recorder = test_support::HostWindow;  // the host, or the camera window the settings window tells

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
    for (const SimCall& c : SimCalls()) {
        if (only ? strcmp(c.name, only) != 0 : !writers.count(c.name)) continue;
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

inline Strings IniKeys(const char* file, const std::string& section) {
    const std::string all = IniText(file, section, nullptr);
    Strings keys;
    for (const char* k = all.c_str(); *k; k += strlen(k) + 1) keys.emplace_back(k);
    return keys;
}

inline bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
inline bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
inline void Type(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }
inline LRESULT Combo(HWND d, int id, UINT message, WPARAM w = 0) { return SendDlgItemMessageA(d, id, message, w, 0); }
inline int Selection(HWND dialog, int id) { return static_cast<int>(Combo(dialog, id, CB_GETCURSEL)); }
inline uint32_t ItemData(HWND d, int id) { return static_cast<uint32_t>(Combo(d, id, CB_GETITEMDATA, Selection(d, id))); }
// A user's choice: the selection, then the list's change notice. Returns the item data.
inline uint32_t Select(HWND dialog, int id, int index) {
    Combo(dialog, id, CB_SETCURSEL, index);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    return ItemData(dialog, id);
}
// The window of this thread for which `match` holds, visible ones only if `visible`.
using Match = std::function<bool(HWND)>;
inline HWND FindWindowOfThread(const Match& match, bool visible = false) {
    return FindThreadWindow([&](HWND w) { return (!visible || IsWindowVisible(w)) && match(w); });
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
    void SetUp() override { FreshCamera(); }
    void TearDown() override { g_step = nullptr, dialog.reset(), Drain(), Sim().SimClearFaults(); }
    // The modeless camera window with its panel, child of the host, shown.
    void OpenModeless() {
        dialog = std::make_unique<CameraDialog>(host.hwnd());
        KamvioPara para{};
        para.hwndHost = host.hwnd(), para.msgFileSaved = kMsgFileSaved, para.saveMode = 1, para.showControls = 1;
        ASSERT_TRUE(dialog->ApplyPara(&para));
        ASSERT_TRUE(dialog->Create(host.hwnd()));
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
    std::string Stored(const char* key) const { return IniText("SetData.ini", CameraName() + "Setting", key); }
    Strings StoredKeys() const { return IniKeys("SetData.ini", CameraName() + "Setting"); }

    Recorder host;
    std::unique_ptr<CameraDialog> dialog;
    HWND settings = nullptr;
};
