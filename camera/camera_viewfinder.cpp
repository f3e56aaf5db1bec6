// Live viewfinder with its frame hand-off thread, the camera's LCD output, and the zoom.
#include "camera/busy_cursor.h"
#include "camera/camera_controller.h"
#include "camera/camera_messages.h"
#include "camera/camera_shared.h"
#include "camera/viewfinder_frame.h"
#include "camera/viewfinder_worker.h"
#include "sdk/error_report.h"
#include "sdk/sdk_loader.h"

namespace {

constexpr DWORD kFramePeriodMs = 100;
constexpr cdError kFrameRefused = static_cast<cdError>(-1);
constexpr DWORD kWorkerEndedEarly = static_cast<DWORD>(-1);

DWORD MillisecondsOf(uint64_t seconds) {
    uint64_t ms = seconds * 1000;
    return ms >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(ms);
}

}  // namespace

BOOL CameraController::BeginViewfinder() {
    cdHSource source = m_hSource;
    if (!source || !IsSdkLoaded()) return FALSE;
    ViewfinderWorker& worker = m_viewfinder;
    BOOL result = FALSE;
    cdError status = g_sdk.CDLockUI(source);
    if (Masked(status)) {
        Fail(status, "BeginViewfinder");
    } else if (!m_bViewfinderRunning) {
        DropFramesInFlight();  // never hand on a frame of an earlier session
        m_bViewfinderRunning = true;
        if (!worker.Create(ViewfinderWorkerMain, this)) {
            m_bViewfinderRunning = false;
        } else if (Masked(status = g_sdk.CDStartViewfinder(source, cdVIEWFINDER_FORMAT_BMP, OnViewfinderFrame,
                                                            reinterpret_cast<cdContext>(this)))) {
            Fail(status, "BeginViewfinder");
        } else {
            NotifyViewfinderState(1);
            result = TRUE;
        }
    } else if (Masked(status = g_sdk.CDTermViewfinder(source))) {
        Fail(status, "BeginViewfinder");
    } else {
        m_bViewfinderRunning = false;
        StopViewfinderWorker();
        result = TRUE;
    }
    if (result && Masked(status = g_sdk.CDUnlockUI(source))) result = Fail(status, "BeginViewfinder");
    g_sdk.CDUnlockUI(source);
    return result;
}

void CameraController::StopViewfinderWorker() {
    m_viewfinder.Stop();
    DropFramesInFlight();
}

void CameraController::DropFramesInFlight() {
    // Only the owner's own thread can take its messages out of the queue (a window that is gone
    // took them with it); elsewhere the frame in flight stays until the window has drawn it.
    const DWORD ownerThread = m_hOwner ? GetWindowThreadProcessId(m_hOwner, nullptr) : 0;
    const bool dropped = ownerThread == 0 || ownerThread == GetCurrentThreadId();
    if (ownerThread && dropped) {
        MSG msg;
        while (PeekMessageA(&msg, m_hOwner, WM_CAM_FRAME, WM_CAM_FRAME, PM_REMOVE | PM_QS_POSTMESSAGE)) {
        }
    }
    MutexGuard lock(m_viewfinder.FrameLock());
    // With no message naming a frame, the next start hands on again and no memory is kept.
    if (dropped)
        m_frames.Reset();
    else
        m_frames.ForgetWaiting();
}

cdError CDAPI CameraController::OnViewfinderFrame(const void* frame, uint32_t size, uint32_t format,
                                                  cdContext context) {
    CameraController* self = reinterpret_cast<CameraController*>(context);
    if (!self || !self->m_bCameraAlive || !self->m_bConnected) return kFrameRefused;
    if (format != cdVIEWFINDER_FORMAT_BMP) return 0;
    // Nothing to copy, or more than any picture the window draws: ignored before taking memory.
    if (!frame || size == 0 || size > viewfinder_frame::kMaxBytes) return 0;
    ViewfinderWorker& worker = self->m_viewfinder;
    {
        MutexGuard lock(worker.FrameLock());
        if (!self->m_bConnected || !self->m_bCameraAlive) return kFrameRefused;
        // The SDK may reuse the frame's memory once we return: the window draws from a copy.
        if (!self->m_frames.Store(frame, size)) return 0;
    }
    worker.Wake();
    return 0;
}

DWORD WINAPI CameraController::ViewfinderWorkerMain(LPVOID argument) {
    CameraController* self = static_cast<CameraController*>(argument);
    if (!self) return kWorkerEndedEarly;
    ViewfinderWorker& worker = self->m_viewfinder;
    worker.WaitForWake();  // created idle: the first frame (or a stop) sets it going
    if (!self->m_bCameraAlive || !self->m_bConnected) return kWorkerEndedEarly;
    auto keepGoing = [&] { return self->m_bViewfinderRunning && self->m_bConnected && !worker.StopRequested(); };
    while (keepGoing()) {
        {
            MutexGuard lock(worker.FrameLock());
            worker.WaitWhilePaused();
            if (!self->m_bCameraAlive) return kWorkerEndedEarly;
            Sleep(kFramePeriodMs);
            // A stop that came during the sleep wins over the frame.
            if (!keepGoing()) break;
            // Handed only once the window has drawn the previous frame, whose copy this one replaces.
            const uint8_t* frame = nullptr;
            size_t size = 0;
            if (self->m_hOwner && self->m_frames.Hand(&frame, &size) &&
                !PostMessageA(self->m_hOwner, WM_CAM_FRAME, reinterpret_cast<WPARAM>(frame), static_cast<LPARAM>(size)))
                self->m_frames.Drawn(frame);  // never arrives: the next frame may take its place
        }
        if (!self->m_bCameraAlive) return kWorkerEndedEarly;
        if (!keepGoing()) break;
        worker.WaitForWake();
    }
    return 0;
}

void CameraController::FrameDrawn(const void* frame) {
    // A frame that waited for this goes out with the worker's next pass.
    if (m_frames.Drawn(frame)) m_viewfinder.Wake();
}

BOOL CameraController::NotifyViewfinderState(uint32_t value) {
    if (m_hOwner) SendMessageA(m_hOwner, WM_CAM_LCD_ENABLE, m_bViewfinderRunning ? value : 0, 0);
    return TRUE;
}

BOOL CameraController::ViewToLCD(BOOL on) {
    cdHSource source = m_hSource;
    if (!source) return FALSE;
    m_dwLastError = 0;
    if (!IsSdkLoaded()) return FALSE;
    cdError status = g_sdk.CDSelectViewFinderCameraOutput(source, on ? cdVF_OUTPUT_LCD_ON : cdVF_OUTPUT_LCD_OFF);
    if (Masked(status) == 0) return TRUE;
    if (Masked(status) == cdNOT_SUPPORTED) ShowMessage("ViewToLCD", "ViewToLCD UNSupport this function");
    return FALSE;
}

BOOL CameraController::PauseViewfinder(uint32_t seconds) {
    if (m_bViewfinderRunning) {
        ViewfinderWorker::Pause pause(m_viewfinder);
        Sleep(MillisecondsOf(seconds));
    }
    return TRUE;
}

BOOL CameraController::GetMaxZoomPos(uint32_t* first, uint32_t* second) {
    cdHSource source = m_hSource;
    if (!source || !IsSdkLoaded()) return FALSE;
    cdError status = g_sdk.CDLockUI(source);
    BOOL result = TRUE;
    if (Masked(status)) {
        result = Fail(status, "GetMaxZoomPos");
    } else {
        uint32_t maximum = 0, other = 0;
        if (Masked(status = g_sdk.CDGetMaximumZoomPos(source, &maximum, &other))) {
            Fail(status, "GetMaxZoomPos");
        } else {
            if (first) *first = maximum;
            if (second) *second = other;
        }
    }
    g_sdk.CDUnlockUI(source);
    return result;
}

BOOL CameraController::SetZoomPos(uint32_t position) {
    cdHSource source = m_hSource;
    if (!source || !IsSdkLoaded()) return FALSE;
    BusyCursor busy;
    cdError status = g_sdk.CDLockUI(source);
    if (Masked(status)) {
        Fail(status, "SetZoomPos");
        g_sdk.CDUnlockUI(source);
        return FALSE;
    }
    BOOL result = FALSE;
    uint32_t maximum = 0, other = 0;
    if (Masked(status = g_sdk.CDGetMaximumZoomPos(source, &maximum, &other))) {
        Fail(status, "SetZoomPos");
    } else if (position <= maximum) {
        if (Masked(status = g_sdk.CDSetZoomPos(source, position))) Fail(status, "SetZoomPos");
        result = TRUE;
    }
    g_sdk.CDUnlockUI(source);
    return result;
}

BOOL CameraController::GetCurrentZoomPos(uint32_t* position) {
    cdHSource source = m_hSource;
    if (!source || !IsSdkLoaded()) return FALSE;
    cdError status = g_sdk.CDLockUI(source);
    BOOL result = TRUE;
    if (Masked(status)) {
        result = Fail(status, "GetCurrentZoomPos");
    } else {
        uint32_t value = 0;
        if (Masked(status = g_sdk.CDGetZoomPos(source, &value)))
            Fail(status, "GetCurrentZoomPos");
        else if (position)
            *position = value;
    }
    g_sdk.CDUnlockUI(source);
    return result;
}
