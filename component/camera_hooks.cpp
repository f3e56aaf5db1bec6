#include "component/camera_hooks.h"

#include <utility>

CameraHooks::CameraHooks(CameraHooksClient& client, HWND window, UINT message)
    : m_client(&client), m_clientThread(GetCurrentThreadId()), m_window(window), m_message(message) {}

void CameraHooks::Detach() { m_client = nullptr; }

std::vector<std::string> CameraHooks::TakeQueued() {
    std::lock_guard<std::mutex> lock(m_queueGuard);
    return std::exchange(m_queued, {});
}

void CameraHooks::OnFileSaved(const std::string& path) {
    if (m_client) m_client->OnFileSaved(path);
}

void CameraHooks::OnShotCompleted(const std::vector<std::string>& files) {
    if (m_client) m_client->OnShotCompleted(files);
}

void CameraHooks::OnDisconnectedByCamera() {
    if (m_client) m_client->OnDisconnectedByCamera();
}

void CameraHooks::OnPoweredOff() {
    if (m_client) m_client->OnPoweredOff();
}

void CameraHooks::OnViewfinderAvailable(bool available) {
    if (m_client) m_client->OnViewfinderAvailable(available);
}

void CameraHooks::OnNotice(const char*, const char* text) {
    const std::string notice = text ? text : "";
    if (GetCurrentThreadId() == m_clientThread) {
        if (!m_client) return;
        if (m_client->OnNoticeNow(notice)) return;
    }
    {
        std::lock_guard<std::mutex> lock(m_queueGuard);
        m_queued.push_back(notice);
    }
    // Raised later on the client's thread, outside the window code that raised it.
    PostMessageA(m_window, m_message, 0, 0);
}

HookedCameraDialog::HookedCameraDialog(CameraHooksClient& client, HWND window, UINT message)
    : CameraHooksHolder(client, window, message), CameraDialog(nullptr) {
    SetObserver(&hooks);
    SetNoticeSink(&hooks);
}
