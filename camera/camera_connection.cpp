// Connecting to a camera source, disconnecting, and the clean-up after the camera has gone.
#include <cstring>

#include "camera/busy_cursor.h"
#include "camera/camera_controller.h"
#include "camera/camera_messages.h"
#include "camera/camera_shared.h"
#include "sdk/error_report.h"
#include "sdk/sdk_loader.h"

namespace {


// An SDK that answers "next volume" forever must not hang the connect.
constexpr int kMaxVolumes = 256;

}  // namespace

BOOL CameraController::Connect(const SourceInfo* source) {
    if (m_hSource != 0 || !source) return FALSE;
    m_currentSource = *source;
    if (m_currentSource.sourceType == 0) return FALSE;
    if (!IsSdkLoaded()) return FALSE;
    BOOL result;
    {
        BusyCursor busy;
        CloseGoneSource();
        result = OpenAndPrepare();
    }
    m_bConnected = true;
    m_bCameraAlive = true;
    if (m_hOwner) SendMessageA(m_hOwner, WM_CAM_STATUS, 1, reinterpret_cast<LPARAM>(m_szCameraName));
    return result;
}

BOOL CameraController::OpenAndPrepare() {
    cdHSource source = 0;
    cdError status = g_sdk.CDOpenSource(&m_currentSource, &source);
    if (Masked(status)) {
        m_dwLastError = Masked(status);
        if (Masked(status) == cdDEVICE_BUSY)
            m_errorTexts.WarningBox("The camera is busy. Probably TWAIN or other programs are hot linking it! ", nullptr);
        else
            ReportSdkError(Masked(status), "Connect");
        return FALSE;
    }
    m_hSource = source;

    // The model name lies at offset 8 of the record; it may lack its terminator.
    const char* model = m_currentSource.modelName;
    size_t length = strnlen(model, sizeof m_currentSource.modelName);
    std::memcpy(m_szCameraName, model, length);
    m_szCameraName[length] = '\0';

    if (Masked(status = g_sdk.CDLockUI(source))) return Fail(status, "Connect");
    cdHandle registration = 0;
    status = g_sdk.CDRegisterEventCallbackFunction(source, OnSdkEvent, reinterpret_cast<cdContext>(m_hOwner),
                                                   &registration);
    if (Masked(status)) return Fail(status, "Connect");
    m_hEventRegistration = registration;
    if (!CheckStorage(source, &status)) return Fail(status, "Connect");
    if (!ReadDeviceProperties(source, &status)) return Fail(status, "Connect");
    status = g_sdk.CDEnterReleaseControl(source, OnReleaseEvent, reinterpret_cast<cdContext>(m_hOwner));
    if (Masked(status)) return Fail(status, "Connect");

    bool viewfinder = (m_dwCapability & cdCAPABILITY_PC_VIEWFINDER) != 0;
    if (m_hOwner) PostMessageA(m_hOwner, WM_CAM_VIEWFINDER_ENABLE, viewfinder ? 1 : 0, 1);
    m_bViewfinderAvailable = viewfinder;

    if (!SetReleaseState(2)) return FALSE;
    if (Masked(status = g_sdk.CDUnlockUI(source))) {
        g_sdk.CDExitReleaseControl(source);
        return Fail(status, "Connect");
    }
    return TRUE;
}

bool CameraController::CheckStorage(cdHSource source, cdError* status) {
    cdHEnum volumes = 0;
    if (Masked(*status = g_sdk.CDEnumVolumeReset(source, &volumes))) return false;
    for (int i = 0; i < kMaxVolumes; ++i) {
        cdHVolume volume = 0;
        *status = g_sdk.CDEnumVolumeNext(volumes, &volume);
        if (*status != 0) {
            if (Masked(*status) == 0 || Masked(*status) == cdENUM_NA) break;
            g_sdk.CDEnumVolumeRelease(volumes);
            return false;
        }
        cdVolumeInfo info = {};
        if (Masked(*status = g_sdk.CDGetVolumeInfo(volume, &info))) {
            g_sdk.CDEnumVolumeRelease(volumes);
            return false;
        }
        if (info.maxCapacityKB || info.freeSpaceKB) break;
    }
    g_sdk.CDEnumVolumeRelease(volumes);
    *status = cdOK;
    return true;
}

bool CameraController::ReadDeviceProperties(cdHSource source, cdError* status) {
    cdHEnum properties = 0;
    if (Masked(*status = g_sdk.CDEnumDevicePropertyReset(source, 0, &properties))) return false;
    uint32_t capability = 0;
    uint32_t size = sizeof capability;
    char name[32] = {};
    if (Masked(*status = g_sdk.CDGetDevicePropertyData(source, cdDEVPROP_CAPABILITY, &size, &capability, 0))) {
        g_sdk.CDEnumDevicePropertyRelease(properties);
        return false;
    }
    m_dwCapability = capability;
    size = sizeof name;
    if (Masked(*status = g_sdk.CDGetDevicePropertyData(source, cdDEVPROP_MODEL_NAME, &size, name, 0))) {
        g_sdk.CDEnumDevicePropertyRelease(properties);
        return false;
    }
    m_bEOS = std::strncmp(name, "EOS", 3) == 0;
    if (m_hOwner) SendMessageA(m_hOwner, WM_CAM_ZOOM_ENABLE, m_bEOS ? 0 : 1, 0);
    g_sdk.CDEnumDevicePropertyRelease(properties);
    return true;
}

BOOL CameraController::Disconnect() {
    if (!m_bConnected) return TRUE;
    BOOL result = TRUE;
    {
        BusyCursor busy;
        // The source must not close under a transfer that is still running.
        m_releaseThread.WaitUntilIdle();
        cdHSource source = m_hSource;
        bool sdk = IsSdkLoaded();
        if (m_bViewfinderRunning) {
            cdError status = sdk ? g_sdk.CDTermViewfinder(source) : cdOK;
            if (!sdk || Masked(status)) {
                result = sdk ? Fail(status, "Disconnect") : FALSE;
            } else {
                m_bViewfinderRunning = false;
                StopViewfinderWorker();
            }
        }
        if (result && source && !m_bBatteryLow) {
            if (!sdk) {
                result = FALSE;
            } else if (cdError status = g_sdk.CDExitReleaseControl(source); Masked(status)) {
                result = Fail(status, "Disconnect");
            } else if (m_hEventRegistration &&
                       Masked(status = g_sdk.CDUnregisterEventCallbackFunction(source, m_hEventRegistration))) {
                result = Fail(status, "Disconnect");
            } else {
                m_hEventRegistration = 0;
                if (Masked(status = g_sdk.CDCloseSource(source))) {
                    result = Fail(status, "Disconnect");
                } else {
                    m_hSource = 0;
                    // The camera may have gone while the calls above waited for its event.
                    if (m_hGoneSource == source) m_hGoneSource = m_hGoneRegistration = 0;
                }
            }
        }
    }
    m_bConnected = false;
    m_bCameraAlive = false;
    // A viewfinder that could not be stopped still has its thread: it ends now that the
    // controller is disconnected.
    StopViewfinderWorker();
    return result;
}

void CameraController::OnCameraPoweredOff() {
    m_bConnected = false;
    m_bCameraAlive = false;
    if (m_hOwner) SendMessageA(m_hOwner, WM_CAM_STATUS, 1, reinterpret_cast<LPARAM>(m_szCameraName));
    m_releaseThread.Stop();
    if (m_bViewfinderRunning) {
        cdHSource source = m_hSource;
        bool sdk = IsSdkLoaded();
        cdError status = sdk ? g_sdk.CDTermViewfinder(source) : cdNOT_CONNECTED;
        bool stopped = Masked(status) == 0;
        if (!stopped && sdk) Fail(status, "BeginViewfinder");
        // The camera is gone either way: its frames are over, and so is the viewfinder.
        m_bViewfinderRunning = false;
        StopViewfinderWorker();
        if (stopped) {
            if (Masked(status = g_sdk.CDUnlockUI(source))) Fail(status, "BeginViewfinder");
            g_sdk.CDUnlockUI(source);
        }
    }
    // Forgotten here; closed later, once the SDK's event callback has returned.
    if (m_hSource) {
        m_hGoneSource = m_hSource;
        m_hGoneRegistration = m_hEventRegistration;
    }
    m_hSource = 0;
    m_hEventRegistration = 0;
}

void CameraController::CloseGoneSource() {
    cdHSource source = m_hGoneSource;
    if (!source || !IsSdkLoaded()) return;
    // The camera is gone: these only tidy the SDK's books, and their failures change nothing.
    g_sdk.CDExitReleaseControl(source);
    if (m_hGoneRegistration) g_sdk.CDUnregisterEventCallbackFunction(source, m_hGoneRegistration);
    g_sdk.CDCloseSource(source);
    m_hGoneSource = 0;
    m_hGoneRegistration = 0;
}
