// The camera window of a scriptable camera object, with what it tells that object: the
// observer's moments and the notices that would be message boxes. The hooks live as long as the
// window's code can call them (its destruction may be deferred past the object's), and reach
// the object only while it is attached.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "dialog/camera_dialog.h"
#include "dialog/camera_dialog_observer.h"
#include "sdk/notice.h"

class CameraHooksClient {
public:
    virtual void OnFileSaved(const std::string& path) = 0;
    virtual void OnShotCompleted(const std::vector<std::string>& files) = 0;
    virtual void OnDisconnectedByCamera() = 0;
    virtual void OnPoweredOff() = 0;
    virtual void OnViewfinderAvailable(bool available) = 0;
    // A notice raised on the client's own thread; true when the client took it (a call of its
    // is in progress), false to have it queued and posted like the other threads' notices.
    virtual bool OnNoticeNow(const std::string& text) = 0;

protected:
    ~CameraHooksClient() = default;
};

class CameraHooks final : public CameraDialogObserver, public NoticeSink {
public:
    // Notices the client does not take at once are queued and announced to `window` with
    // `message`; the client takes them from its thread (TakeQueued).
    CameraHooks(CameraHooksClient& client, HWND window, UINT message);
    CameraHooks(const CameraHooks&) = delete;
    CameraHooks& operator=(const CameraHooks&) = delete;

    // The client is going: nothing reaches it any more. On the client's thread.
    void Detach();
    std::vector<std::string> TakeQueued();

    void OnFileSaved(const std::string& path) override;
    void OnShotCompleted(const std::vector<std::string>& files) override;
    void OnDisconnectedByCamera() override;
    void OnPoweredOff() override;
    void OnViewfinderAvailable(bool available) override;
    // Any thread (the camera's threads route theirs here too).
    void OnNotice(const char* caption, const char* text) override;

private:
    CameraHooksClient* m_client;  // written on the client's thread only
    const DWORD m_clientThread;
    HWND m_window;
    UINT m_message;
    std::mutex m_queueGuard;
    std::vector<std::string> m_queued;
};

// Hooks first: they are built before the window code and go after it.
struct CameraHooksHolder {
    CameraHooksHolder(CameraHooksClient& client, HWND window, UINT message) : hooks(client, window, message) {}
    CameraHooks hooks;
};

// A live-view-only camera window that saves files and reports to its hooks, never in a box.
class HookedCameraDialog final : private CameraHooksHolder, public CameraDialog {
public:
    HookedCameraDialog(CameraHooksClient& client, HWND window, UINT message);
    CameraHooks& Hooks() { return hooks; }
};
