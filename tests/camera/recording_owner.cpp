#include "tests/camera/recording_owner.h"

#include "camera/camera_messages.h"

namespace {

const char kClassName[] = "KamvioRecordingOwner";

}  // namespace

RecordingOwner::RecordingOwner() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);  // fails harmlessly when already registered
    m_hwnd = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
}

RecordingOwner::~RecordingOwner() {
    if (m_hwnd) DestroyWindow(m_hwnd);
}

LRESULT CALLBACK RecordingOwner::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<RecordingOwner*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && message >= WM_USER) {
        self->Record(message, wParam, lParam);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RecordingOwner::Record(UINT message, WPARAM wParam, LPARAM lParam) {
    ReceivedMessage r;
    r.message = message;
    r.wParam = wParam;
    r.lParam = lParam;
    if (m_dispatching && m_dispatching->message == message && m_dispatching->wParam == wParam &&
        m_dispatching->lParam == lParam) {
        r.posted = true;
        m_dispatching = nullptr;
    }
    r.fromOtherThread = InSendMessage() != FALSE;
    if (message == WM_CAM_STATUS && lParam) r.text = reinterpret_cast<const char*>(lParam);
    if (message == WM_CAM_FILE_SAVED && wParam) r.text = reinterpret_cast<const char*>(wParam);
    r.cursor = GetCursor();
    m_received.push_back(r);
    if (onMessage) onMessage(m_received.back());
}

std::vector<ReceivedMessage> RecordingOwner::Of(UINT message) const {
    std::vector<ReceivedMessage> result;
    for (const auto& r : m_received)
        if (r.message == message) result.push_back(r);
    return result;
}

size_t RecordingOwner::Count(UINT message) const { return Of(message).size(); }

bool RecordingOwner::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            const MSG* outer = m_dispatching;
            m_dispatching = msg.hwnd == m_hwnd ? &msg : nullptr;
            DispatchMessageA(&msg);
            m_dispatching = outer;
        }
        if (done()) return true;
        if (GetTickCount() - start > timeoutMs) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void RecordingOwner::PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}
