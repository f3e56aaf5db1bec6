#include "host/notification_window.h"

#include <cstring>

std::string HostNote::Describe() const {
    switch (kind) {
    case FileSaved: return text.empty() ? "image received into memory" : "file saved: " + text;
    case Viewfinder: return flag ? "viewfinder available" : "viewfinder not available";
    case Status: return std::string(flag ? "camera status: " : "camera control ended: ") + (text.empty() ? "(no name)" : text);
    case PoweredOff: return "camera switched off";
    }
    return "?";
}

NotificationWindow::NotificationWindow(const char* title, DWORD style, Listener listener, Fallback fallback)
    : m_listener(std::move(listener)), m_fallback(std::move(fallback)) {
    static const char kClass[] = "KamvioDemoHost";
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    m_hwnd = CreateWindowExA(0, kClass, title, style | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 900, 560, nullptr,
                             nullptr, wc.hInstance, this);
}

NotificationWindow::~NotificationWindow() {
    if (m_hwnd) DestroyWindow(m_hwnd);
}

KamvioPara NotificationWindow::Para(const char* folder, bool showControls) const {
    KamvioPara para;
    std::memset(&para, 0, sizeof para);
    para.hwndHost = m_hwnd;
    para.msgFileSaved = kMsgFileSaved;
    para.msgViewfinderEnable = kMsgViewfinder;
    para.saveMode = 1;  // files
    para.showControls = showControls ? 1 : 0;
    para.pszSaveFolder = folder;
    para.msgStatus = kMsgStatus;
    para.msgPoweredOff = kMsgPoweredOff;
    return para;
}

LRESULT CALLBACK NotificationWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<NotificationWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message >= kMsgFileSaved && message <= kMsgPoweredOff) {
        HostNote note{static_cast<HostNote::Kind>(message - kMsgFileSaved), wParam, {}};
        // The texts live only during the call: copy them now.
        if (message == kMsgFileSaved && wParam) note.text = reinterpret_cast<const char*>(wParam);
        if (message == kMsgStatus && lParam) note.text = reinterpret_cast<const char*>(lParam);
        if (self->m_listener) self->m_listener(note);
        return 0;
    }
    if (message == WM_NCDESTROY) self->m_hwnd = nullptr;
    LRESULT result = 0;
    if (self->m_fallback && self->m_fallback(hwnd, message, wParam, lParam, result)) return result;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
