#include "sdk/sdk_session.h"

#include <windows.h>

#include "platform/scoped_lock.h"
#include "sdk/sdk_loader.h"

namespace sdk_session {
namespace {

// Users may live on different threads (one apartment each): entering and leaving are serialised.
SRWLOCK g_lock = SRWLOCK_INIT;

int g_users = 0;
uint32_t g_session = 0;        // numbers the starts, so a late Leave cannot end a newer session
bool g_finishOwed = false;     // the last user left but the SDK would not finish

constexpr uint32_t Masked(cdError status) { return status & 0xFFFF; }

}  // namespace

bool Enter(const char* folder, cdError* status, uint32_t* session) {
    SrwGuard lock(&g_lock);
    *status = cdOK;
    if (g_users > 0) {
        ++g_users;
        *session = g_session;
        return true;
    }
    if (LoadSdk(folder) != 0) return false;
    g_finishOwed = false;
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
    *session = ++g_session;
    return true;
}

bool Leave(uint32_t session, cdError* status) {
    SrwGuard lock(&g_lock);
    *status = cdOK;
    if (session != g_session || (g_users == 0 && !g_finishOwed)) return true;
    if (g_users > 1) {
        --g_users;
        return true;
    }
    g_users = 0;
    cdError finished = g_sdk.CDFinishSDK();
    g_finishOwed = Masked(finished) != 0;
    if (g_finishOwed) {
        *status = finished;
        return false;
    }
    UnloadSdk();
    return true;
}

int Users() {
    SrwGuard lock(&g_lock);
    return g_users;
}

}  // namespace sdk_session
