// The host window that the component reports to: it turns the four notifications of the
// parameter block into readable notes for a listener.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "dialog/kamvio_para.h"

struct HostNote {
    enum Kind { FileSaved, Viewfinder, Status, PoweredOff } kind;
    WPARAM flag;       // viewfinder offered / status value
    std::string text;  // saved path or camera name
    std::string Describe() const;
};

class NotificationWindow {
public:
    static constexpr UINT kMsgFileSaved = WM_APP + 11;
    static constexpr UINT kMsgViewfinder = WM_APP + 12;
    static constexpr UINT kMsgStatus = WM_APP + 13;
    static constexpr UINT kMsgPoweredOff = WM_APP + 14;

    using Listener = std::function<void(const HostNote&)>;
    // Other messages go to `fallback` when given (the interactive window's own handling).
    using Fallback = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;

    NotificationWindow(const char* title, DWORD style, Listener listener, Fallback fallback = nullptr);
    ~NotificationWindow();
    NotificationWindow(const NotificationWindow&) = delete;
    NotificationWindow& operator=(const NotificationWindow&) = delete;

    HWND hwnd() const { return m_hwnd; }
    // The block that names this window and its message numbers; `folder` must outlive its use.
    KamvioPara Para(const char* folder, bool showControls) const;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
    Listener m_listener;
    Fallback m_fallback;
};
