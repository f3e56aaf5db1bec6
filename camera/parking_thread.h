// A thread that parks itself between jobs, like a thread that suspends itself and is resumed.
// A resume has an effect only while the thread is parked (or not yet started): given while
// it works, it is ignored, as resuming a thread that is not suspended would be.
#pragma once

#include <windows.h>

#include "platform/handles.h"

class ParkingThread {
public:
    ParkingThread();
    ParkingThread(const ParkingThread&) = delete;
    ParkingThread& operator=(const ParkingThread&) = delete;
    ~ParkingThread();  // Stop()

    // Creates the thread; it must call WaitUntilResumed() first and stays there until Resume().
    bool Start(LPTHREAD_START_ROUTINE procedure, void* argument);
    bool Exists() const { return static_cast<bool>(m_thread); }
    bool HasEnded() const;
    void Resume();
    // Waits (on this caller's thread) until the thread is parked or has ended. Messages sent
    // to this thread's windows are handled meanwhile, so the worker can send to them.
    void WaitUntilIdle();
    // Asks the thread to end at its next park (a job already resumed is still done), wakes it,
    // waits for its end (handling sent messages as above) and forgets it. Harmless when there
    // is none.
    void Stop();

    // Thread side. Both return false when the thread is asked to end.
    bool WaitUntilResumed();
    bool Park();  // MarkParked, then WaitUntilResumed
    // The job is done: from here on a Resume starts the next one, even before the thread waits
    // (it counts as idle only from its wait on).
    void MarkParked();

private:
    UniqueHandle ThreadHandleForWait() const;

    UniqueHandle m_thread;
    UniqueHandle m_wake;  // auto-reset: a wake given before the wait is not lost
    UniqueHandle m_idle;  // manual-reset: set while parked
    SRWLOCK m_state = SRWLOCK_INIT;
    bool m_parked = true;
    bool m_quit = false;
};

// Waits for one handle; messages sent to the caller's windows by other threads are handled.
void WaitHandlingSentMessages(HANDLE first, HANDLE second = nullptr);
