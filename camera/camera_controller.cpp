// Start-up, shut-down, sources, release state, and the controller's plain accessors.
#include "camera/camera_controller.h"

#include <cstring>

#include "camera/camera_messages.h"
#include "camera/camera_shared.h"
#include "platform/host_folder.h"
#include "sdk/error_report.h"
#include "sdk/sdk_loader.h"
#include "sdk/sdk_session.h"

namespace {

constexpr uint32_t kMaxSources = 256;

}  // namespace

CameraController::CameraController() : m_hReleaseLock(CreateMutexA(nullptr, FALSE, nullptr)) {
    OpenErrorTexts(&m_errorTexts);
}

CameraController::~CameraController() {
    // Its part of the SDK's session ends with it, or the SDK would stay started for good.
    if (m_bSdkUser) End();
    // Both threads use this object: they end before any member goes.
    m_releaseThread.Stop();
    StopViewfinderWorker();
}

BOOL CameraController::Fail(cdError status, const char* operation) {
    m_dwLastError = Masked(status);
    ReportSdkError(Masked(status), operation);
    return FALSE;
}

BOOL CameraController::Begin() {
    m_hSource = 0;
    m_bViewfinderRunning = false;
    m_hEventRegistration = 0;
    m_hGoneSource = 0;
    m_hGoneRegistration = 0;
    m_bEOS = false;
    if (!RegisterCameraMessages()) {
        ShowMessage("Begin", "API Error");
        return FALSE;
    }
    if (!m_bSdkUser) {
        cdError status = cdOK;
        if (!sdk_session::Enter(HostExecutableFolder().c_str(), &status, &m_dwSdkSession))
            return Masked(status) ? Fail(status, "Begin") : FALSE;
        m_bSdkUser = true;
    }
    if (m_hOwner) SendMessageA(m_hOwner, WM_CAM_STATUS, 1, reinterpret_cast<LPARAM>(m_szCameraName));
    return TRUE;
}

BOOL CameraController::End() {
    if (!m_bSdkUser || !IsSdkLoaded()) {
        m_releaseThread.Stop();
        StopViewfinderWorker();
        return FALSE;
    }
    cdHSource source = m_hSource;
    if (m_bViewfinderRunning) {
        cdError status = g_sdk.CDTermViewfinder(source);
        if (Masked(status))
            Fail(status, "End");
        else
            m_bViewfinderRunning = false;
    }
    // No thread of this controller may outlive its use of the SDK; a batch in progress finishes
    // while the source is still open.
    StopViewfinderWorker();
    m_releaseThread.Stop();
    if (source && Masked(g_sdk.CDExitReleaseControl(source)) == 0) {
        if (m_hEventRegistration) {
            cdError status = g_sdk.CDUnregisterEventCallbackFunction(source, m_hEventRegistration);
            if (Masked(status))
                Fail(status, "End");
            else
                m_hEventRegistration = 0;
        }
        cdError status = g_sdk.CDCloseSource(source);
        if (Masked(status))
            Fail(status, "End");
        else
            m_hSource = 0;
    }
    CloseGoneSource();
    // Another camera window of the process may still use the SDK: only the last user finishes it.
    cdError status = cdOK;
    // A finish that failed stays owed: the next End of this controller tries it again.
    if (!sdk_session::Leave(m_dwSdkSession, &status)) return Fail(status, "End");
    m_bSdkUser = false;
    // This controller's handles mean nothing any more.
    m_hSource = 0;
    m_hEventRegistration = 0;
    if (m_hOwner) SendMessageA(m_hOwner, WM_CAM_STATUS, 0, reinterpret_cast<LPARAM>(m_szCameraName));
    return TRUE;
}

BOOL CameraController::GetAllCameraSourceInfo(SourceInfo* records, uint32_t* count) {
    m_dwLastError = 0;
    if (!records || !count) return FALSE;
    if (!IsSdkLoaded()) {
        *count = 0;
        return FALSE;
    }
    cdHEnum enumeration = 0;
    cdError status = g_sdk.CDEnumDeviceReset(1, &enumeration);
    if (status != 0) return Fail(status, "GetAllCameraSourceInfo");
    uint32_t n = 0;
    status = g_sdk.CDGetDeviceCount(enumeration, &n);
    if (Masked(status) || n == 0) {
        *count = 0;
        g_sdk.CDEnumDeviceRelease(enumeration);
        return Fail(status, "GetAllCameraSourceInfo");
    }
    if (n > kMaxSources) n = kMaxSources;
    for (uint32_t i = 0; i < n; ++i) g_sdk.CDEnumDeviceNext(enumeration, &records[i]);
    g_sdk.CDEnumDeviceRelease(enumeration);
    *count = n;
    return TRUE;
}

BOOL CameraController::GetSourceCount(uint32_t* count) {
    m_dwLastError = 0;
    if (!count || !IsSdkLoaded()) return FALSE;
    // A listing that could not even start leaves the host's variable alone.
    cdHEnum enumeration = 0;
    if (Masked(g_sdk.CDEnumDeviceReset(1, &enumeration))) return FALSE;
    uint32_t n = 0;
    cdError status = g_sdk.CDGetDeviceCount(enumeration, &n);
    g_sdk.CDEnumDeviceRelease(enumeration);
    *count = Masked(status) ? 0 : n;
    return *count != 0;
}

BOOL CameraController::GetSourceInfo(SourceInfo* records, uint32_t n) {
    m_dwLastError = 0;
    if (!records || !IsSdkLoaded()) return FALSE;
    cdHEnum enumeration = 0;
    if (Masked(g_sdk.CDEnumDeviceReset(1, &enumeration))) return FALSE;
    if (n > kMaxSources) n = kMaxSources;
    for (uint32_t i = 0; i < n; ++i) {
        cdError status = g_sdk.CDEnumDeviceNext(enumeration, &records[i]);
        if (Masked(status)) m_dwLastError = status;
    }
    g_sdk.CDEnumDeviceRelease(enumeration);
    return TRUE;
}

BOOL CameraController::SetReleaseState(int32_t kind) {
    m_dwLastError = 0;
    cdHSource source = m_hSource;
    if (!source || kind <= 0 || !IsSdkLoaded()) return FALSE;
    if (m_bEOS && (kind & 2)) kind |= 1;
    cdError status = g_sdk.CDSelectReleaseDataKind(source, static_cast<uint32_t>(kind));
    if (Masked(status)) return Fail(status, "SetReleaseState");
    return TRUE;
}

BOOL CameraController::IsConnected() const { return m_bConnected ? TRUE : FALSE; }

BOOL CameraController::IsViewfinderAvailable() const { return m_bViewfinderAvailable ? TRUE : FALSE; }

BOOL CameraController::SetSaveMode(uint8_t mode) {
    if (mode > 1) return FALSE;
    m_bySaveMode = mode;
    return TRUE;
}

void CameraController::SetOwner(HWND owner) { m_hOwner = owner; }

bool CameraController::TakeReleaseReport(ReleaseReport* report) {
    std::lock_guard<std::mutex> lock(m_reportsGuard);
    if (m_reports.empty()) return false;
    *report = std::move(m_reports.front());
    m_reports.pop_front();
    return true;
}

void CameraController::Report(ReleaseReport report) {
    if (!m_hOwner) return;
    {
        std::lock_guard<std::mutex> lock(m_reportsGuard);
        m_reports.push_back(std::move(report));
    }
    PostMessageA(m_hOwner, WM_CAM_RELEASE_REPORT, 0, 0);
}

HWND CameraController::GetOwner() const { return m_hOwner; }

cdHSource CameraController::GetSourceHandle() const { return m_hSource; }

uint32_t CameraController::GetLastError() const { return m_dwLastError; }

const char* CameraController::GetCameraName() const { return m_szCameraName; }

void CameraController::SetBatteryLow(bool low) { m_bBatteryLow = low; }

BOOL CameraController::SetSaveFolder(const char* folder) {
    if (!folder) return FALSE;
    size_t length = strnlen(folder, sizeof m_szSaveFolder);
    if (length >= sizeof m_szSaveFolder) return FALSE;
    SrwGuard guard(&m_saveFolderGuard);
    std::memcpy(m_szSaveFolder, folder, length + 1);
    return TRUE;
}

const char* CameraController::GetSaveFolder() const { return m_szSaveFolder; }

void CameraController::UseDefaultSaveFolderIfEmpty() {
    if (m_szSaveFolder[0]) return;
    SetSaveFolder("c:\\Canon");
    CreateDirectoryA(m_szSaveFolder, nullptr);  // "already there" is fine
}

void CameraController::ReadSaveFolder(char (&folder)[260]) {
    SrwGuard guard(&m_saveFolderGuard, SrwGuard::Shared);
    std::memcpy(folder, m_szSaveFolder, sizeof folder);
}
