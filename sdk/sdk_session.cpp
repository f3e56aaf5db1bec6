#include "sdk/sdk_session.h"

#include <windows.h>

#include "sdk/sdk_loader.h"

namespace sdk_session {
namespace {

// Users may live on different threads (one apartment each): entering and leaving are serialised.
class SessionLock {
public:
    SessionLock() { AcquireSRWLockExclusive(&s_lock); }
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;
    ~SessionLock() { ReleaseSRWLockExclusive(&s_lock); }

private:
    static SRWLOCK s_lock;
};
SRWLOCK SessionLock::s_lock = SRWLOCK_INIT;

int g_users = 0;

constexpr uint32_t Masked(cdError status) { return status & 0xFFFF; }

}  // namespace

bool Enter(const char* folder, cdError* status) {
    SessionLock lock;
    *status = cdOK;
    if (g_users > 0) {
        ++g_users;
        return true;
    }
    if (LoadSdk(folder) != 0) return false;
    cdVersionInfo version = {};
    version.size = sizeof version;
    version.major = 6;
    version.minor = 0;
    cdError started = g_sdk.CDStartSDK(&version, 0);
    if (Masked(started)) {
        // An SDK that did not start takes no calls: unloaded, so every later operation fails
        // without calling it, and nobody finishes what never started.
        UnloadSdk();
        *status = started;
        return false;
    }
    g_users = 1;
    return true;
}

bool Leave(cdError* status) {
    SessionLock lock;
    *status = cdOK;
    if (g_users == 0) return true;
    if (--g_users > 0) return true;
    cdError finished = g_sdk.CDFinishSDK();
    if (Masked(finished)) {
        // Still started: the caller stays its user and may try again.
        g_users = 1;
        *status = finished;
        return false;
    }
    UnloadSdk();
    return true;
}

int Users() {
    SessionLock lock;
    return g_users;
}

}  // namespace sdk_session
