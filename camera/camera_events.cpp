// The SDK's event callbacks: they run on the SDK's threads and reach the owner window only
// through messages; their context is the owner window's handle.
#include <cstring>

#include "camera/camera_controller.h"
#include "camera/camera_messages.h"
#include "camera/camera_shared.h"
#include "sdk/error_report.h"

namespace {

void PostIfRegistered(HWND owner, UINT message, WPARAM wParam) {
    if (message) PostMessageA(owner, message, wParam, 0);
}

uint32_t FirstWord(const void* data, uint32_t size) {
    uint32_t word = 0;
    if (data) std::memcpy(&word, data, size && size < sizeof word ? size : sizeof word);
    return word;
}

}  // namespace

cdError CDAPI CameraController::OnSdkEvent(uint32_t event, const void* data, uint32_t size, cdContext context) {
    if ((event & cdEVENT_CLASS_MASK) != cdEVENT_CLASS_SHUTDOWN) return 0;
    // Posted, not sent: the window's handlers may end this very registration, and the SDK waits
    // for a running callback before it lets a registration go. The window warns the user.
    if (HWND owner = reinterpret_cast<HWND>(context)) PostMessageA(owner, WM_CAM_POWERED_OFF, kPoweredOffWarn, 0);
    return 0;
}

cdError CDAPI CameraController::OnReleaseEvent(uint32_t event, const void* data, uint32_t size, cdContext context) {
    HWND owner = reinterpret_cast<HWND>(context);
    if (!owner) {
        ReportSdkError(cdINVALID_PARAMETER, "Connect");
        return cdINVALID_PARAMETER;
    }
    switch (event) {
    case cdRELEASE_EVENT_RELEASE_COMPLETE:
        PostIfRegistered(owner, CameraMessages().releaseComplete, FirstWord(data, size));
        break;
    case cdRELEASE_EVENT_RESET_HW_ERROR: PostMessageA(owner, WM_CAM_SHUTTER_PRESSED, 0, 0); break;
    case cdRELEASE_EVENT_ABORT_PC_EVF: PostIfRegistered(owner, CameraMessages().abortPcEvf, 0); break;
    case cdRELEASE_EVENT_CHANGED_BY_UI: PostMessageA(owner, WM_CAM_DISCONNECT_REQUEST, 0, 0); break;
    case cdRELEASE_EVENT_CAM_POWER_OFF: PostMessageA(owner, WM_CAM_POWERED_OFF, 0, 0); break;
    default: break;  // 0x1C and anything else: nothing to tell
    }
    return 0;
}
