// The SDK's process-wide session: loaded and started for the first camera window of the process,
// finished and unloaded with the last one. A second window (the modal one beside the embedded one)
// joins the running session instead of reloading the library under the first one's open source.
#pragma once

#include <cstdint>

#include "sdk/cdsdk_contract.h"

namespace sdk_session {

// Loads `folder`\CDSDK.dll and starts it for the first user; later users join. True when the
// caller is a user now, of the session numbered *session. False with *status 0 when the library
// did not load (the loader showed why), or with the failed start's status (the library is
// unloaded again).
bool Enter(const char* folder, cdError* status, uint32_t* session);

// The caller stops being a user of `session`; the last one finishes the SDK and unloads it. False
// with the status when that finish failed: the library then stays loaded, a later Leave of the
// same session tries the finish again, and the next Enter loads and starts afresh.
bool Leave(uint32_t session, cdError* status);

// Users of the running session (0 when none).
int Users();

}  // namespace sdk_session
