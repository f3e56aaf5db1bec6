// The interactive demo: a host window with the embedded camera window, a menu that calls every
// interface method, and a log of what the component reports.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "host/component_client.h"
#include "host/host_options.h"
#include "host/notification_window.h"

class DemoWindow {
public:
    DemoWindow() = default;
    DemoWindow(const DemoWindow&) = delete;
    DemoWindow& operator=(const DemoWindow&) = delete;
    ~DemoWindow();

    // Creates the component, the window, and embeds the camera window; false with a message.
    // liveOnly: the camera window shows the live view alone.
    bool Open(bool liveOnly, std::string* error);
    // Starts in the pose the switches ask for (--view, --settings, --print-window).
    void Pose(const HostOptions& options);
    int RunMessageLoop();

private:
    struct Command;
    static const Command kCommands[];

    bool OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnNote(const HostNote& note);
    void Log(const std::string& line);
    void Report(const char* method, HRESULT hr);
    HMENU BuildMenu() const;
    void Layout();

    // Menu actions.
    void ConnectFirst();
    void ShowZoom();
    void Zoom(int where);  // 0 wide, 1 middle, 2 tele
    void Frame(ULONG width, ULONG height);
    void Guides(int kind);  // 0 none, 1 thirds, 2 centre cross lines
    void ApplyStoredSettings();
    void RunModal();

    // The simulated camera SDK's control exports, from the CDSDK.dll the component loaded.
    template <typename F>
    F SimulatorExport(const char* name) {
        HMODULE sdk = GetModuleHandleA("CDSDK.dll");
        F f = sdk ? reinterpret_cast<F>(GetProcAddress(sdk, name)) : nullptr;
        if (!f) Log(std::string(name) + ": not available (no camera window, or a real camera SDK)");
        return f;
    }
    void Simulate(const char* name);  // a control export without arguments
    void InjectFault(const char* entry);

    HWND CameraWindow() const;
    // Presses a button of the camera window, as a user would.
    void Press(int id);
    void PrintPosedWindow();

    std::string m_folder;
    ComPtr<IOvCanonSDK> m_kamvio;
    std::unique_ptr<NotificationWindow> m_window;
    HWND m_log = nullptr;
    std::string m_camera;  // the name of the last camera the component reported
    ULONG m_frameWidth = 1600, m_frameHeight = 1200;
    bool m_printSettings = false;  // --print-window names the settings dialog
};
