// A host's window for the camera window: its parent and the receiver of its notifications (and
// of the settings window's requests). Records them with the text their pointer carries, runs
// `onMessage` while the sender waits, and runs posted actions (inside a modal loop, say).
#pragma once

#include <windows.h>

#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "camera/camera_messages.h"
#include "dialog/kamvio_para.h"
#include "tests/common/test_support.h"

namespace test_support {

enum : UINT { kMsgFileSaved = WM_APP + 1, kMsgViewfinderEnable, kMsgStatus, kMsgPoweredOff };

struct Notification {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string text;  // the path of a file-saved notice, the camera name of a status notice
    bool operator==(const Notification& o) const {
        return std::tie(message, wParam, lParam, text) == std::tie(o.message, o.wParam, o.lParam, o.text);
    }
};
inline std::ostream& operator<<(std::ostream& out, const Notification& n) {
    return out << "{" << n.message << ", " << n.wParam << ", " << n.lParam << ", \"" << n.text << "\"}";
}

// Every notification to `host`; the save folder as given, else none.
inline KamvioPara HostPara(HWND host, uint32_t showControls = 1, const char* folder = nullptr) {
    return {0, host, kMsgFileSaved, kMsgViewfinderEnable, 1, {}, showControls, 0, folder, kMsgStatus, kMsgPoweredOff, {}};
}

class HostWindow {
public:
    HostWindow() {
        m_hwnd = test_support::ClassWindow("KamvioTestHost", "Host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                                           800, 700, Proc, nullptr, nullptr, this);
    }
    ~HostWindow() { DestroyWindow(m_hwnd); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND hwnd() const { return m_hwnd; }
    std::vector<Notification> Take() { return std::exchange(received, {}); }
    std::vector<Notification> Of(UINT message) const {
        std::vector<Notification> found;
        for (const Notification& n : received)
            if (n.message == message) found.push_back(n);
        return found;
    }
    void PostAction(std::function<void()> action) {  // one at a time
        m_action = std::move(action);
        PostMessageA(m_hwnd, kRunAction, 0, 0);
    }

    std::vector<Notification> received;
    std::function<void()> onMessage;

private:
    static constexpr UINT kRunAction = WM_APP + 50;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = WindowObject<HostWindow>(window, message, lParam);
        if (self && message == kRunAction && self->m_action) {
            std::exchange(self->m_action, nullptr)();
            return 0;
        }
        if (!self || !((message >= kMsgFileSaved && message <= kMsgPoweredOff) || message == WM_CAM_TIMER_SHOOT ||
                       message == WM_CAM_SET_SAVE_FOLDER))
            return DefWindowProcA(window, message, wParam, lParam);
        // Up to 300 characters: a name or path that ran past its buffer would show.
        const auto* text = reinterpret_cast<const char*>(message == kMsgFileSaved ? wParam
                                                         : message == kMsgStatus  ? static_cast<WPARAM>(lParam)
                                                                                  : 0);
        self->received.push_back({message, wParam, lParam, text ? std::string(text, strnlen(text, 300)) : ""});
        if (self->onMessage) self->onMessage();
        return 0;
    }
    HWND m_hwnd = nullptr;
    std::function<void()> m_action;
};

}  // namespace test_support
