// The camera window (dialog template 201): controls, commands, controller messages, live view,
// and the operations the component's interface methods call.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "camera/camera_controller.h"
#include "camera/release_names.h"
#include "dialog/camera_dialog_observer.h"
#include "dialog/frame_drawer.h"
#include "dialog/kamvio_para.h"
#include "dialog/memory_surface.h"
#include "platform/dialog_base.h"
#include "platform/handles.h"
#include "sdk/message_translator.h"
#include "settings/canon_setting_dlg.h"
#include "settings/setting_data.h"

class NoticeSink;

class CameraDialog : public DialogBase {
public:
    explicit CameraDialog(HWND parent);
    ~CameraDialog() override;

    // Window side (used by the component). DialogBase gives DoModal(owner), Create(parent),
    // GetSafeHwnd(), DestroyWindow(), ShowWindow(). The modal window is owned by the host window
    // passed to DoModal (its top-level window), else by the thread's active window.
    void SetModal(BOOL modal);                 // m_bModal
    void SetWindowRect(const RECT& rect);      // m_rcWnd, used when the window is created
    // A client of its own beside the host window (null: none); it must outlive the window.
    void SetObserver(CameraDialogObserver* observer) { m_pObserver = observer; }
    // Where this window's notices go instead of message boxes (null: boxes); it must outlive the
    // window, and takes notices of the camera's threads too.
    void SetNoticeSink(NoticeSink* sink);

    // Operations behind the interface methods: non-zero success, zero failure.
    BOOL ApplyPara(const KamvioPara* para);
    BOOL GetDeviceCounts(uint32_t* count);
    BOOL GetSouceInfo(SourceInfo* buffer, uint32_t count);
    BOOL Connect(const SourceInfo* source);
    BOOL Disconnect();
    BOOL PopSettingDlg();
    BOOL TakePhoto();
    BOOL OpenViewFinder(BOOL showView);
    BOOL OpenCameraLCDView(BOOL open);
    BOOL GetMaxZoomPos(uint32_t* maxPos, uint32_t* second);
    BOOL SetZoomPos(uint32_t position);
    BOOL GetCurrentZoomPos(uint32_t* position);
    BOOL InitDCSettingByIniFile(const char* cameraName);
    BOOL SetDestFrameSize(uint32_t width, uint32_t height);
    BOOL SetAdjustLinePos(uint32_t xCount, const uint32_t* xLines, uint32_t yCount, const uint32_t* yLines);
    BOOL IsConnected(BOOL* connected);

    // For a client of its own beside the interface: the open source, the controller's last SDK
    // status and its save folder.
    cdHSource SourceHandle() const { return m_camera.GetSourceHandle(); }
    uint32_t LastCameraError() const { return m_camera.GetLastError(); }
    std::string SaveFolder() const { return m_camera.GetSaveFolder(); }
    // Moves a live-view-only window into `parent` at `rect` (parent's client coordinates), the
    // live view filling it; FALSE for a window with controls or without a window.
    BOOL PlaceLiveView(HWND parent, const RECT& rect);

    static constexpr uint32_t kMaxSources = 256;
    static constexpr uint32_t kMaxAdjustLines = 65536;  // per direction
    static constexpr COLORREF kBackground = RGB(120, 120, 120);

protected:
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;
    DWORD AdjustWindowStyle(DWORD style) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    void OnDestroy() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnOK() override;
    void OnCancel() override;

private:
    friend struct CameraDialogTestAccess;

    // Buttons and notifications.
    void OnConnect();
    void OnDisconnect();
    void OnRelease();
    void OnViewfinder();
    void OnZoomSlider(LRESULT& result);
    void OnCameraSetting();

    // Internal operations.
    BOOL RefreshSources();
    void ShowControls(int command);
    void EnableControls(BOOL enable);
    BOOL InitZoomSlider();
    void ResetOverlays();
    void NotifyHost(UINT message, WPARAM wParam, LPARAM lParam) const;
    void ResetViewfinderControls();
    // The panel of a window without a camera: Connect alone enabled, the live view grey.
    void ResetPanel();
    void OnReleaseReports();
    // The end of a shot's transfer: the last path built ("" when none) and the files written.
    void OnBatchSaved(const char* lastPath, const std::vector<std::string>& files);
    void OnPoweredOff(bool warn);

    // Stored settings and the settings files (camera_dialog_settings.cpp).
    BOOL ApplyIniSettings();
    BOOL WriteDCSetting(const char* key, const char* value);
    BOOL WriteFilePathIni(const char* key, const char* value);
    // Allocates the settings dialog on first use and hands it the connected camera; null after
    // a failed allocation (reported under `caption`).
    CCanonSettingDlg* PrepareSettingDlg(const char* caption);
    // The camera is gone: the settings window closes as with Cancel, since nothing it shows
    // or applies could reach a camera.
    void CloseSettingDlg();

    // Live view (camera_dialog_view.cpp).
    RECT LiveViewArea() const;
    BOOL CreateSurfaces();
    BOOL Repaint();
    // `size`: the bytes the frame holds; nothing beyond them is read.
    BOOL DrawFrame(const uint8_t* frame, size_t size);
    BOOL DrawOverlays(HDC dc, int32_t x, int32_t y, int32_t w, int32_t h);
    // What the frames of a live view share is kept while the viewfinder runs; after every call
    // that may stop it, a viewfinder seen running before and stopped now gives it back.
    void ReleaseLiveViewIfStopped();

    // Control layout file (camera_dialog_layout.cpp).
    void ApplyLayout();
    void SaveLayout();
    void ReadControlPos(const char* file, const char* section, const char* key, int id);
    void WriteControlPos(const char* file, const char* section, const char* key, int id);

    HWND m_staticView = nullptr;  // control 213, the live-view area
    RECT m_rcWnd{0, 0, 0, 0};
    HWND m_hwndHost = nullptr;
    BOOL m_bModal = FALSE;
    CameraController m_camera;
    BOOL m_bViewfinderWasRunning = FALSE;
    BOOL m_bViewStarted = FALSE;
    BOOL m_bViewShown = FALSE;
    // The settings dialog (template 202), created on first use and kept between openings.
    std::unique_ptr<CCanonSettingDlg> m_pSettingDlg;
    char m_szModuleDir[MAX_PATH] = {};
    CSettingData m_settings;
    char m_szSaveFolder[MAX_PATH] = {};
    KamvioPara m_para{};
    UniqueFont m_font;
    MessageTranslator m_lang;
    // The picture with its overlays, as the window shows it; the drawer draws into it, so goes before it.
    MemorySurface m_dcView;
    FrameDrawer m_frameDrawer;
    std::string m_strSource;
    uint32_t m_dwFrameWidth = 0;
    uint32_t m_dwFrameHeight = 0;
    std::unique_ptr<uint32_t[]> m_pXLine;
    uint32_t m_dwXLnCnts = 0;
    std::unique_ptr<uint32_t[]> m_pYLine;
    uint32_t m_dwYLnCnts = 0;
    SourceInfo m_sources[kMaxSources] = {};
    CameraDialogObserver* m_pObserver = nullptr;
    NoticeSink* m_pNoticeSink = nullptr;
};

// The model name of a source record (offset 8), never read past the record.
std::string SourceName(const SourceInfo& source);

// The folder test of the save-folder choices: a non-empty path (one trailing backslash
// ignored) in which a search for "*.*" finds a first entry.
bool SaveFolderExists(const char* path);

// The longest save folder below which an image name ("\FV20070305140809000012.JPG") still
// fits the path limit. A longer folder would take no image at all.
constexpr size_t kMaxSaveFolder = kMaxReleasePath - 27;

// A save folder handed over by the host or the settings dialog is taken when it can be read,
// is not longer than kMaxSaveFolder and exists.
bool SaveFolderUsable(const char* path);
