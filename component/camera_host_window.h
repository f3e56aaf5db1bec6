// The scriptable camera object's own top-level window. Hidden, it holds the camera window, so
// that the camera works for clients without any window (scripts); shown, it is the live view's
// window of its own. It also carries the object's timer and the messages posted to the object.
#pragma once

#include <windows.h>

class CameraHostWindow {
public:
    class Client {
    public:
        virtual void OnHostTimer() = 0;
        virtual void OnHostPosted() = 0;
        virtual void OnHostResized() = 0;
        // The user closed the shown window; it is hidden, not destroyed.
        virtual void OnHostClosed() = 0;

    protected:
        ~Client() = default;
    };

    static constexpr UINT kPostedMessage = WM_APP + 1;

    explicit CameraHostWindow(Client& client);
    CameraHostWindow(const CameraHostWindow&) = delete;
    CameraHostWindow& operator=(const CameraHostWindow&) = delete;
    ~CameraHostWindow();

    // Creates the hidden window; its first messages already reach the client.
    bool Create();
    HWND Handle() const { return m_hwnd; }
    void Destroy();
    // A tick every `ms` milliseconds (0: none).
    void SetTimer(UINT ms);
    void Show(bool show);
    RECT ClientArea() const;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    Client& m_client;
    HWND m_hwnd = nullptr;
    UINT m_timerMs = 0;
};
