#include "camera/viewfinder_worker.h"

ViewfinderWorker::ViewfinderWorker()
    : m_frameLock(CreateMutexA(nullptr, FALSE, nullptr)),
      m_wake(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      m_running(CreateEventA(nullptr, TRUE, TRUE, nullptr)) {}

bool ViewfinderWorker::Create(LPTHREAD_START_ROUTINE body, void* argument) {
    Stop();
    // Wakes meant for an earlier thread must not start this one before its first frame.
    ResetEvent(m_wake.get());
    m_stop = false;
    m_thread.reset(CreateThread(nullptr, 0, body, argument, 0, nullptr));
    return static_cast<bool>(m_thread);
}

void ViewfinderWorker::Wake() { SetEvent(m_wake.get()); }

void ViewfinderWorker::Stop() {
    if (!m_thread) return;
    m_stop = true;
    Wake();
    WaitForSingleObject(m_thread.get(), INFINITE);
    m_thread.reset();
}

void ViewfinderWorker::WaitForWake() { WaitForSingleObject(m_wake.get(), INFINITE); }

void ViewfinderWorker::WaitWhilePaused() { WaitForSingleObject(m_running.get(), INFINITE); }

ViewfinderWorker::Pause::Pause(ViewfinderWorker& worker) : m_worker(worker), m_active(worker.Exists()) {
    if (m_active) ResetEvent(m_worker.m_running.get());
}

ViewfinderWorker::Pause::~Pause() {
    if (m_active) SetEvent(m_worker.m_running.get());
}
