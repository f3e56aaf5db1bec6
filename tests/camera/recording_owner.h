// A message-only window that stands in for the camera dialog: it records every message it
// receives, and whether it came through the queue (posted) or was sent.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct ReceivedMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool posted = false;
    bool fromOtherThread = false;  // sent by another thread
    std::string text;              // WM_CAM_STATUS: the camera name; WM_CAM_FILE_SAVED: the path
    HCURSOR cursor = nullptr;      // the cursor while the message was handled
};

class RecordingOwner {
public:
    RecordingOwner();
    RecordingOwner(const RecordingOwner&) = delete;
    RecordingOwner& operator=(const RecordingOwner&) = delete;
    ~RecordingOwner();

    HWND Handle() const { return m_hwnd; }
    const std::vector<ReceivedMessage>& All() const { return m_received; }
    std::vector<ReceivedMessage> Of(UINT message) const;
    size_t Count(UINT message) const;
    void Clear() { m_received.clear(); }

    // Dispatches this thread's messages (marking the queued ones as posted) until done() or
    // the time is up; returns done().
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
    void PumpFor(DWORD ms);

    // Runs inside the window procedure after recording, e.g. to act like the dialog.
    std::function<void(const ReceivedMessage&)> onMessage;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Record(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    std::vector<ReceivedMessage> m_received;
    const MSG* m_dispatching = nullptr;
};
