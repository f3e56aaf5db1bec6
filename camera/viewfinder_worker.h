// The process-wide viewfinder thread slot and the frame lock between the SDK's frame
// callback and that thread. The thread's body belongs to the controller; this class owns its
// handle, its wake-ups and its pause.
#pragma once

#include <windows.h>

#include <atomic>

#include "platform/handles.h"

class ViewfinderWorker {
public:
    static ViewfinderWorker& Instance();

    ViewfinderWorker(const ViewfinderWorker&) = delete;
    ViewfinderWorker& operator=(const ViewfinderWorker&) = delete;

    // Creates the thread for `owner`; its body must call WaitForWake() before anything else, so
    // it starts working at the first wake. False when a thread of another owner lives, or
    // creation fails. A leftover thread of the same owner is stopped first.
    bool Create(const void* owner, LPTHREAD_START_ROUTINE body, void* argument);
    bool BelongsTo(const void* owner) const;
    // A frame arrived or a stop was asked for. A wake given while the thread is not waiting
    // ends its next wait at once.
    void Wake();
    // Asks the owner's thread to end, wakes it and waits for its end; then forgets it.
    void Stop(const void* owner);

    // Thread side.
    void WaitForWake();
    bool StopRequested() const { return m_stop.load(); }
    void WaitWhilePaused();

    // Frame lock (process-wide mutex).
    HANDLE FrameLock() const { return m_frameLock.get(); }

    // Holds the thread at its next pass (it keeps the frame lock while held) for the scope.
    class Pause {
    public:
        explicit Pause(const void* owner);
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;
        ~Pause();

    private:
        bool m_active;
    };

private:
    ViewfinderWorker();

    UniqueHandle m_frameLock;
    UniqueHandle m_wake;     // auto-reset
    UniqueHandle m_running;  // manual-reset: cleared while paused
    UniqueHandle m_thread;
    const void* m_owner = nullptr;
    std::atomic<bool> m_stop{false};
};
