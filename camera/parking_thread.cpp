#include "camera/parking_thread.h"

#include "platform/scoped_lock.h"

void WaitHandlingSentMessages(HANDLE first, HANDLE second) {
    HANDLE handles[2] = {first, second};
    DWORD count = second ? 2 : 1;
    for (;;) {
        DWORD r = MsgWaitForMultipleObjects(count, handles, FALSE, INFINITE, QS_SENDMESSAGE);
        if (r < WAIT_OBJECT_0 + count || r == WAIT_FAILED) return;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

ParkingThread::ParkingThread()
    : m_wake(CreateEventA(nullptr, FALSE, FALSE, nullptr)), m_idle(CreateEventA(nullptr, TRUE, TRUE, nullptr)) {}

ParkingThread::~ParkingThread() { Stop(); }

bool ParkingThread::Start(LPTHREAD_START_ROUTINE procedure, void* argument) {
    if (m_thread || !m_wake || !m_idle) return false;
    {
        SrwGuard guard(&m_state);
        m_parked = true;
        m_quit = false;
        SetEvent(m_idle.get());
        ResetEvent(m_wake.get());
    }
    m_thread.reset(CreateThread(nullptr, 0, procedure, argument, 0, nullptr));
    return static_cast<bool>(m_thread);
}

bool ParkingThread::HasEnded() const { return !m_thread || WaitForSingleObject(m_thread.get(), 0) == WAIT_OBJECT_0; }

void ParkingThread::Resume() {
    SrwGuard guard(&m_state);
    if (!m_parked) return;
    m_parked = false;
    ResetEvent(m_idle.get());
    SetEvent(m_wake.get());
}

// A wait handles sent messages, and their handlers may stop this very thread and close its
// handle: each wait holds a handle of its own.
UniqueHandle ParkingThread::ThreadHandleForWait() const {
    HANDLE copy = nullptr;
    if (m_thread) DuplicateHandle(GetCurrentProcess(), m_thread.get(), GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    return UniqueHandle(copy);
}

void ParkingThread::WaitUntilIdle() {
    UniqueHandle thread = ThreadHandleForWait();
    if (thread) WaitHandlingSentMessages(m_idle.get(), thread.get());
}

void ParkingThread::Stop() {
    UniqueHandle thread = ThreadHandleForWait();
    if (!thread) return;
    {
        SrwGuard guard(&m_state);
        m_quit = true;
        SetEvent(m_wake.get());
    }
    WaitHandlingSentMessages(thread.get());
    // A handler run meanwhile may have stopped it already, or even started the next one.
    if (m_thread && GetThreadId(m_thread.get()) == GetThreadId(thread.get())) m_thread.reset();
}

bool ParkingThread::WaitUntilResumed() {
    for (;;) {
        {
            SrwGuard guard(&m_state);
            // Work asked for before the stop is still done; the stop is seen at the next park.
            if (!m_parked) return true;
            if (m_quit) return false;
            SetEvent(m_idle.get());
        }
        WaitForSingleObject(m_wake.get(), INFINITE);
    }
}

void ParkingThread::MarkParked() {
    SrwGuard guard(&m_state);
    m_parked = true;  // idle only once it waits: WaitUntilIdle still waits for what comes between
}

bool ParkingThread::Park() {
    MarkParked();
    return WaitUntilResumed();
}
