// A controller's viewfinder thread slot and the frame lock between the SDK's frame callback
// and that thread. The thread's body belongs to the controller; this class owns its handle, its
// wake-ups and its pause. Each controller has its own, so two camera windows of one process
// (the modal one beside the embedded one) never stop or freeze each other's live view.
#pragma once

#include <windows.h>

#include <atomic>

#include "platform/handles.h"

class ViewfinderWorker {
public:
    ViewfinderWorker();
    ViewfinderWorker(const ViewfinderWorker&) = delete;
    ViewfinderWorker& operator=(const ViewfinderWorker&) = delete;
    ~ViewfinderWorker() { Stop(); }

    // Creates the thread; its body must call WaitForWake() before anything else, so it starts
    // working at the first wake. A leftover thread is stopped first. False when creation fails.
    bool Create(LPTHREAD_START_ROUTINE body, void* argument);
    bool Exists() const { return static_cast<bool>(m_thread); }
    // A frame arrived or a stop was asked for. A wake given while the thread is not waiting
    // ends its next wait at once.
    void Wake();
    // Asks the thread to end, wakes it and waits for its end; then forgets it.
    void Stop();

    // Thread side.
    void WaitForWake();
    bool StopRequested() const { return m_stop.load(); }
    void WaitWhilePaused();

    HANDLE FrameLock() const { return m_frameLock.get(); }

    // Holds the thread at its next pass (it keeps the frame lock while held) for the scope.
    class Pause {
    public:
        explicit Pause(ViewfinderWorker& worker);
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;
        ~Pause();

    private:
        ViewfinderWorker& m_worker;
        bool m_active;
    };

private:
    UniqueHandle m_frameLock;
    UniqueHandle m_wake;     // auto-reset
    UniqueHandle m_running;  // manual-reset: cleared while paused
    UniqueHandle m_thread;
    std::atomic<bool> m_stop{false};
};
