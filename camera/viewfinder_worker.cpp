#include "camera/viewfinder_worker.h"

ViewfinderWorker& ViewfinderWorker::Instance() {
    static ViewfinderWorker worker;
    return worker;
}

ViewfinderWorker::ViewfinderWorker()
    : m_frameLock(CreateMutexA(nullptr, FALSE, nullptr)),
      m_wake(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      m_running(CreateEventA(nullptr, TRUE, TRUE, nullptr)) {}

bool ViewfinderWorker::Create(const void* owner, LPTHREAD_START_ROUTINE body, void* argument) {
    if (m_thread && m_owner != owner) return false;
    Stop(owner);
    // Wakes meant for an earlier thread must not start this one before its first frame.
    ResetEvent(m_wake.get());
    m_stop = false;
    m_owner = owner;
    m_thread.reset(CreateThread(nullptr, 0, body, argument, 0, nullptr));
    if (!m_thread) m_owner = nullptr;
    return static_cast<bool>(m_thread);
}

bool ViewfinderWorker::BelongsTo(const void* owner) const { return m_thread && m_owner == owner; }

void ViewfinderWorker::Wake() { SetEvent(m_wake.get()); }

void ViewfinderWorker::Stop(const void* owner) {
    if (!BelongsTo(owner)) return;
    m_stop = true;
    Wake();
    WaitForSingleObject(m_thread.get(), INFINITE);
    m_thread.reset();
    m_owner = nullptr;
}

void ViewfinderWorker::WaitForWake() { WaitForSingleObject(m_wake.get(), INFINITE); }

void ViewfinderWorker::WaitWhilePaused() { WaitForSingleObject(m_running.get(), INFINITE); }

ViewfinderWorker::Pause::Pause(const void* owner) : m_active(Instance().BelongsTo(owner)) {
    if (m_active) ResetEvent(Instance().m_running.get());
}

ViewfinderWorker::Pause::~Pause() {
    if (m_active) SetEvent(Instance().m_running.get());
}
