#include "component/camera_host_window.h"

#include "component/module.h"

namespace {

constexpr char kClassName[] = "KamvioCameraWindow";
constexpr UINT_PTR kTimerId = 1;
constexpr int kClientWidth = 480, kClientHeight = 360;

// The class goes with its last window, so that a library loaded again at another address
// registers its own window procedure.
bool RegisterWindowClass(WNDPROC procedure) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = KamvioModule::Instance().Handle();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassExA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

CameraHostWindow::CameraHostWindow(Client& client) : m_client(client) {}

bool CameraHostWindow::Create() {
    if (m_hwnd) return true;
    if (!RegisterWindowClass(WindowProc)) return false;
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    // Set by WM_NCCREATE already: the window's first messages reach the client.
    HWND window = CreateWindowExA(0, kClassName, "Kamvio", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                             CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                             KamvioModule::Instance().Handle(), this);
    m_hwnd = window;
    return m_hwnd != nullptr;
}

CameraHostWindow::~CameraHostWindow() { Destroy(); }

void CameraHostWindow::Destroy() {
    if (!m_hwnd) return;
    HWND window = m_hwnd;
    m_hwnd = nullptr;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    UnregisterClassA(kClassName, KamvioModule::Instance().Handle());  // refused while others use it
}

void CameraHostWindow::SetTimer(UINT ms) {
    if (!m_hwnd || ms == m_timerMs) return;
    m_timerMs = ms;
    if (ms)
        ::SetTimer(m_hwnd, kTimerId, ms, nullptr);
    else
        KillTimer(m_hwnd, kTimerId);
}

void CameraHostWindow::Show(bool show) {
    if (m_hwnd) ShowWindow(m_hwnd, show ? SW_SHOW : SW_HIDE);
}

RECT CameraHostWindow::ClientArea() const {
    RECT area = {0, 0, 0, 0};
    if (m_hwnd) GetClientRect(m_hwnd, &area);
    return area;
}

LRESULT CALLBACK CameraHostWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        reinterpret_cast<CameraHostWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams)->m_hwnd = window;
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<CameraHostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self) {
        switch (message) {
        case WM_TIMER:
            if (wParam == kTimerId) self->m_client.OnHostTimer();
            return 0;
        case kPostedMessage:
            self->m_client.OnHostPosted();
            return 0;
        case WM_SIZE:
            self->m_client.OnHostResized();
            return 0;
        case WM_CLOSE:
            ShowWindow(window, SW_HIDE);
            self->m_client.OnHostClosed();
            return 0;
        default:
            break;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
