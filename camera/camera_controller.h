// The one object that talks to the camera: start-up, sources, connection, events,
// release with saving, viewfinder and zoom. All operations run on the owner window's thread
// unless noted; threads and SDK callbacks reach the owner only through window messages.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "camera/frame_hand_off.h"
#include "camera/memory_stream.h"
#include "camera/parking_thread.h"
#include "camera/viewfinder_worker.h"
#include "platform/handles.h"
#include "sdk/cdsdk_contract.h"
#include "sdk/message_translator.h"

class NoticeSink;

// What the release thread tells the owner window, in order; posted as WM_CAM_RELEASE_REPORT and
// taken on the window's thread, so that the thread never waits for the window (whose handlers may
// call anything, a disconnect or the window's destruction included).
struct ReleaseReport {
    enum Kind { ItemSaved, MemoryItem, BatchDone };
    Kind kind = BatchDone;
    std::string path;                // ItemSaved: the file; BatchDone: the path built last, "" when none
    std::vector<std::string> files;  // BatchDone: every file the batch wrote, in order
    bool memory = false;             // BatchDone: the items went into memory
};

class CameraController {
public:
    CameraController();
    CameraController(const CameraController&) = delete;
    CameraController& operator=(const CameraController&) = delete;
    virtual ~CameraController();

    virtual BOOL Connect(const SourceInfo* source);
    virtual BOOL Disconnect();
    virtual BOOL Release();
    virtual BOOL SetReleaseState(int32_t kind);
    // records: room for 256 SourceInfo; never written past the 256th.
    virtual BOOL GetAllCameraSourceInfo(SourceInfo* records, uint32_t* count);
    virtual BOOL Begin();
    virtual BOOL End();
    virtual BOOL BeginViewfinder();

    BOOL GetSourceCount(uint32_t* count);
    BOOL GetSourceInfo(SourceInfo* records, uint32_t n);
    BOOL IsConnected() const;
    BOOL IsViewfinderAvailable() const;
    BOOL IsViewfinderRunning() const { return m_bViewfinderRunning ? TRUE : FALSE; }
    BOOL SetSaveMode(uint8_t mode);  // 0 files, 1 memory; others refused with 0
    void OnCameraPoweredOff();
    BOOL IsCameraAlive() const { return m_bCameraAlive ? TRUE : FALSE; }

    BOOL StartReleaseThread();
    BOOL ShootSeries(uint32_t intervalSeconds, uint16_t count);

    BOOL NotifyViewfinderState(uint32_t value);
    // The owner is done with the frame a WM_CAM_FRAME carried (call it for each one, drawn or
    // not): its memory may be rewritten and the next frame handed on.
    void FrameDrawn(const void* frame);
    BOOL ViewToLCD(BOOL on);
    BOOL PauseViewfinder(uint32_t seconds);
    BOOL GetMaxZoomPos(uint32_t* first, uint32_t* second);
    BOOL SetZoomPos(uint32_t position);
    BOOL GetCurrentZoomPos(uint32_t* position);

    // The oldest report of the release thread not yet taken; false when there is none.
    bool TakeReleaseReport(ReleaseReport* report);
    // Where the notices of this controller's own threads go (null: message boxes). The sink must
    // outlive the controller.
    void SetNoticeSink(NoticeSink* sink) { m_pNoticeSink = sink; }

    // The owner window receives every WM_CAM_* message; null sends nothing.
    void SetOwner(HWND owner);
    HWND GetOwner() const;
    cdHSource GetSourceHandle() const;
    uint32_t GetLastError() const;
    const char* GetCameraName() const;  // the 260-byte buffer whose address WM_CAM_STATUS carries
    void SetBatteryLow(bool low);
    // Save folder: at most 259 characters, no trailing backslash; longer input is refused (0).
    BOOL SetSaveFolder(const char* folder);
    const char* GetSaveFolder() const;

    // SDK callbacks (standard calling convention, called on the SDK's threads).
    static cdError CDAPI OnSdkEvent(uint32_t event, const void* data, uint32_t size, cdContext context);
    static cdError CDAPI OnReleaseEvent(uint32_t event, const void* data, uint32_t size, cdContext context);
    static cdError CDAPI OnViewfinderFrame(const void* frame, uint32_t size, uint32_t format, cdContext context);

private:
    friend class CameraControllerProbe;  // lets tests wait for and look at the threads

    // Stores the masked status as last error, reports it under `operation`; returns FALSE.
    BOOL Fail(cdError status, const char* operation);
    BOOL OpenAndPrepare();
    bool CheckStorage(cdHSource source, cdError* status);
    bool ReadDeviceProperties(cdHSource source, cdError* status);
    void StopViewfinderWorker();
    // Drops frame messages still queued for the owner and, when none can be left, the frames.
    void DropFramesInFlight();
    // Closes the source of a camera that went away, kept since then (see OnCameraPoweredOff).
    void CloseGoneSource();
    void UseDefaultSaveFolderIfEmpty();
    void ReadSaveFolder(char (&folder)[260]);

    static DWORD WINAPI ViewfinderWorkerMain(LPVOID argument);
    static DWORD WINAPI ReleaseFileProcedure(LPVOID argument);
    static DWORD WINAPI ReleaseMemoryProcedure(LPVOID argument);
    // The release thread's life: a batch per resumption, parked in between.
    DWORD ReleaseThread(bool memory);
    // One batch; false when the controller was found disconnected (the thread then ends).
    bool TransferBatchToFiles(ReleaseReport* batch);
    bool TransferBatchToMemory();
    void Report(ReleaseReport report);

    HWND m_hOwner = nullptr;
    std::atomic<cdHSource> m_hSource{0};
    std::atomic<uint32_t> m_dwLastError{0};
    std::atomic<uint32_t> m_dwReleasedCount{0};
    char m_szSaveFolder[260] = {};
    SRWLOCK m_saveFolderGuard = SRWLOCK_INIT;  // the release thread reads the folder
    std::atomic<bool> m_bViewfinderRunning{false};
    ParkingThread m_releaseThread;
    UniqueHandle m_hReleaseLock;
    FrameHandOff m_frames;  // under the frame lock, except its Drawn()
    char m_szCameraName[260] = {};
    std::atomic<bool> m_bConnected{false};
    // Set when a connection attempt ends, cleared when the camera shuts down or is disconnected;
    // this controller's viewfinder threads stop when it is clear.
    std::atomic<bool> m_bCameraAlive{false};
    bool m_bSdkUser = false;  // Begin made this controller a user of the SDK's session
    uint32_t m_dwSdkSession = 0;
    std::atomic<bool> m_bBatteryLow{false};
    SourceInfo m_currentSource = {};
    MessageTranslator m_errorTexts;
    std::atomic<bool> m_bViewfinderAvailable{false};
    cdHandle m_hEventRegistration = 0;
    // The source of a camera that went away, and its event registration: closed before the next
    // connect (the SDK would still count it as open) and at the end, never from the power-off
    // handler, which runs while the SDK's event callback waits for it.
    cdHSource m_hGoneSource = 0;
    cdHandle m_hGoneRegistration = 0;
    uint32_t m_dwCapability = 0;
    bool m_bEOS = false;
    uint8_t m_bySaveMode = 0;
    MemoryStreamAllocate m_memoryAllocate = nullptr;  // the memory streams' allocation (null: malloc)
    NoticeSink* m_pNoticeSink = nullptr;
    std::mutex m_reportsGuard;
    std::deque<ReleaseReport> m_reports;
    ViewfinderWorker m_viewfinder;
};

// The process-wide file counter of saved images (0 when the component is loaded).
uint32_t CameraFileCounter();

// The pause before each shot of a timed series: the interval less a second.
DWORD SeriesPauseMs(uint32_t intervalSeconds);
