// Releasing the shutter and moving the shot's data items out of the camera on the release
// thread, into files (save mode 0) or into memory (save mode 1).
#include <cstring>
#include <memory>
#include <new>

#include "camera/busy_cursor.h"
#include "camera/camera_controller.h"
#include "camera/camera_messages.h"
#include "camera/camera_shared.h"
#include "camera/file_stream.h"
#include "camera/memory_stream.h"
#include "camera/release_names.h"
#include "sdk/error_report.h"
#include "sdk/message_translator.h"
#include "sdk/notice.h"
#include "sdk/sdk_loader.h"

namespace {

constexpr DWORD kThreadEndedEarly = static_cast<DWORD>(-1);
constexpr uint32_t kTransferWithContext = 3;

std::string LocalTimeStamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return FormatTimeStamp({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond});
}

void ShowAllocationFailure() {
    MessageTranslator texts;
    OpenErrorTexts(&texts);
    texts.InformationBox("Allocate memory failed!", "ReleaseProgressFunc", nullptr);
}

// A number of the process-wide file counter, taken for one item. Only an item written without
// error keeps it; a failed one gives it back unless a later item took the next one already.
class FileNumber {
public:
    FileNumber() : m_value(CameraFileCounterValue().fetch_add(1)) {}
    FileNumber(const FileNumber&) = delete;
    FileNumber& operator=(const FileNumber&) = delete;
    ~FileNumber() {
        uint32_t next = m_value + 1;
        if (!m_kept) CameraFileCounterValue().compare_exchange_strong(next, m_value);
    }
    uint32_t Value() const { return m_value; }
    void Keep() { m_kept = true; }

private:
    uint32_t m_value;
    bool m_kept = false;
};

}  // namespace

DWORD SeriesPauseMs(uint32_t intervalSeconds) {
    uint64_t ms = intervalSeconds > 1 ? uint64_t(intervalSeconds) * 1000 - 1000 : 0;
    return ms >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(ms);
}

BOOL CameraController::Release() {
    m_dwLastError = 0;
    UseDefaultSaveFolderIfEmpty();
    cdHSource source = m_hSource;
    if (!source || !IsSdkLoaded()) return FALSE;
    cdError status = g_sdk.CDLockUI(source);
    if (Masked(status)) {
        Fail(status, "Release");
        g_sdk.CDUnlockUI(source);
        return FALSE;
    }
    if ((m_dwCapability & cdCAPABILITY_STOP_VF_BEFORE_RELEASE) && m_bViewfinderRunning) {
        if (Masked(status = g_sdk.CDTermViewfinder(source))) {
            Fail(status, "Release");
            g_sdk.CDUnlockUI(source);
            return FALSE;
        }
        m_bViewfinderRunning = false;
        StopViewfinderWorker();
    }
    BusyCursor busy;
    uint32_t items = 0;
    if (Masked(status = g_sdk.CDRelease(source, 0, nullptr, 0, 1, &items))) {
        Fail(status, "Release");
        g_sdk.CDUnlockUI(source);
        return FALSE;
    }
    m_dwReleasedCount = items;
    StartReleaseThread();
    if (Masked(status = g_sdk.CDUnlockUI(source))) {
        Fail(status, "Release");
        g_sdk.CDUnlockUI(source);
        return FALSE;
    }
    return TRUE;
}

BOOL CameraController::StartReleaseThread() {
    m_dwLastError = 0;
    if (!m_hSource) return FALSE;
    UseDefaultSaveFolderIfEmpty();
    // A thread that found the controller disconnected has ended: a new one takes its place.
    if (m_releaseThread.HasEnded()) m_releaseThread.Stop();
    if (!m_releaseThread.Exists() &&
        !m_releaseThread.Start(m_bySaveMode == 1 ? ReleaseMemoryProcedure : ReleaseFileProcedure, this))
        return FALSE;
    m_releaseThread.Resume();
    return TRUE;
}

BOOL CameraController::ShootSeries(uint32_t intervalSeconds, uint16_t count) {
    DWORD pause = SeriesPauseMs(intervalSeconds);
    for (uint16_t i = 0; i < count; ++i) {
        Sleep(pause);
        Release();
    }
    return TRUE;
}

DWORD WINAPI CameraController::ReleaseFileProcedure(LPVOID argument) {
    auto* self = static_cast<CameraController*>(argument);
    return self ? self->ReleaseThread(false) : kThreadEndedEarly;
}

DWORD WINAPI CameraController::ReleaseMemoryProcedure(LPVOID argument) {
    auto* self = static_cast<CameraController*>(argument);
    return self ? self->ReleaseThread(true) : kThreadEndedEarly;
}

DWORD CameraController::ReleaseThread(bool memory) {
    NoticeScope notices(m_pNoticeSink);
    if (!m_releaseThread.WaitUntilResumed()) return 0;
    if (!m_bConnected) return kThreadEndedEarly;
    for (;;) {
        ReleaseReport batch;
        batch.memory = memory;
        bool connected;
        {
            MutexGuard lock(m_hReleaseLock.get());
            if (m_hOwner) PostMessageA(m_hOwner, WM_CAM_VIEWFINDER_ENABLE, 0, 0);
            connected = memory ? TransferBatchToMemory() : TransferBatchToFiles(&batch);
        }
        if (!connected) return kThreadEndedEarly;
        // The batch is over before the owner hears of it: a host that shoots again as soon as
        // it learns of the file must start the next batch, not be ignored as if this one ran.
        m_releaseThread.MarkParked();
        if (m_hOwner) PostMessageA(m_hOwner, WM_CAM_VIEWFINDER_ENABLE, m_bViewfinderAvailable ? 1 : 0, 0);
        Report(std::move(batch));
        if (!m_releaseThread.WaitUntilResumed()) return 0;
    }
}

bool CameraController::TransferBatchToFiles(ReleaseReport* batch) {
    ReleaseNameParts parts = {nullptr, nullptr};
    for (uint32_t n = m_dwReleasedCount; n > 0 && IsSdkLoaded(); --n) {
        if (!m_bConnected) return false;
        cdHSource source = m_hSource;
        cdReleaseImageInfo info = {};
        if (g_sdk.CDGetReleasedData(source, nullptr, 0, 0, &info, nullptr) != 0) break;
        if (!ReleaseNamePartsFor(info.dataType, info.format, &parts) && !parts.prefix)
            parts = BatchStartNameParts(info.format);
        info.format = 2;
        char folder[260];
        ReadSaveFolder(folder);
        char path[260];
        // The number is taken before the transfer: another camera window's transfer may build
        // its name meanwhile, and two files of one second must not share a name.
        FileNumber number;
        // A path that does not fit ends the batch before anything is written.
        if (!BuildReleasePath(path, sizeof path, folder, parts, LocalTimeStamp(), number.Value())) break;
        batch->path = path;
        cdStream stream;
        if (!BuildFileStream(&stream, path)) {
            ShowAllocationFailure();
            break;
        }
        if (!m_bConnected) {
            ReleaseFileStream(&stream);
            return false;
        }
        cdStgMedium medium = {cdSTG_TYPE_STREAM, &stream};
        cdError status = g_sdk.CDGetReleasedData(source, nullptr, reinterpret_cast<cdContext>(this),
                                                 kTransferWithContext, &info, &medium);
        m_dwLastError = status;
        ReleaseFileStream(&stream);
        if (Masked(status)) {
            ReportSdkError(status, "ReleaseProgressFunc");
            break;
        }
        number.Keep();
        batch->files.push_back(path);
        ReleaseReport item;
        item.kind = ReleaseReport::ItemSaved;
        item.path = path;
        Report(std::move(item));
    }
    return true;
}

bool CameraController::TransferBatchToMemory() {
    for (uint32_t n = m_dwReleasedCount; n > 0 && IsSdkLoaded(); --n) {
        if (!m_bConnected) return false;
        cdHSource source = m_hSource;
        cdReleaseImageInfo info = {};
        if (g_sdk.CDGetReleasedData(source, nullptr, 0, 0, &info, nullptr) != 0) break;
        uint32_t size = info.dataSize;
        info.format = 2;
        cdStream stream;
        // Without a built descriptor there is nothing the SDK could write to: the batch ends.
        if (!BuildMemoryStream(&stream, size, m_memoryAllocate)) {
            ShowAllocationFailure();
            break;
        }
        if (!m_bConnected) {
            ReleaseMemoryStream(&stream);
            return false;
        }
        cdStgMedium medium = {cdSTG_TYPE_STREAM, &stream};
        cdError status = g_sdk.CDGetReleasedData(source, nullptr, reinterpret_cast<cdContext>(this),
                                                 kTransferWithContext, &info, &medium);
        m_dwLastError = status;
        std::unique_ptr<uint8_t[]> copy(new (std::nothrow) uint8_t[size ? size : 1]);
        if (copy && CopyOutMemoryStream(&stream, copy.get(), size)) {
            ReleaseReport item;
            item.kind = ReleaseReport::MemoryItem;
            Report(std::move(item));
        }
        ReleaseMemoryStream(&stream);
        if (Masked(status)) break;
    }
    return true;
}
