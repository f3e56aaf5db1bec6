// Scope-bound holds on the kernel's and the slim reader/writer locks.
#pragma once

#include <windows.h>

// Holds a mutex for a scope (no time limit).
class MutexGuard {
public:
    explicit MutexGuard(HANDLE mutex) : m_mutex(mutex) { WaitForSingleObject(m_mutex, INFINITE); }
    MutexGuard(const MutexGuard&) = delete;
    MutexGuard& operator=(const MutexGuard&) = delete;
    ~MutexGuard() { ReleaseMutex(m_mutex); }

private:
    HANDLE m_mutex;
};

// Holds a slim reader/writer lock for a scope, exclusively or shared.
class SrwGuard {
public:
    enum Mode { Exclusive, Shared };
    explicit SrwGuard(SRWLOCK* lock, Mode mode = Exclusive) : m_lock(lock), m_mode(mode) {
        if (m_mode == Exclusive)
            AcquireSRWLockExclusive(m_lock);
        else
            AcquireSRWLockShared(m_lock);
    }
    SrwGuard(const SrwGuard&) = delete;
    SrwGuard& operator=(const SrwGuard&) = delete;
    ~SrwGuard() {
        if (m_mode == Exclusive)
            ReleaseSRWLockExclusive(m_lock);
        else
            ReleaseSRWLockShared(m_lock);
    }

private:
    SRWLOCK* m_lock;
    Mode m_mode;
};
