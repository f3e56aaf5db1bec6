// KamvioCamera ("Kamvio.Camera"): the camera for every automation client. Its interface takes
// automation types only, so scripts can call every member; it raises events through a
// connection point, fails with IErrorInfo instead of message boxes, and can connect a camera
// that came back by itself. It is built on the same camera window as OvCanonSDK: a live-view-only
// CameraDialog held in a hidden window of its own, reparented when the live view is shown.
//
// Apartment-threaded: members are called, and events raised, on the thread that created it.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "component/automation_errors.h"
#include "component/camera_events.h"
#include "component/camera_hooks.h"
#include "component/camera_host_window.h"
#include "component/type_info_dispatch.h"
#include "kamvio_idl.h"
#include "platform/handles.h"
#include "platform/stack_hold.h"
#include "sdk/notice.h"

class KamvioCamera final : public IKamvioCamera,
                           public ISupportErrorInfo,
                           public IProvideClassInfo2,
                           public IConnectionPointContainer,
                           private CameraHooksClient,
                           private CameraHostWindow::Client,
                           private NoticeSink {
public:
    // Not aggregatable.
    static HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv);

    KamvioCamera(const KamvioCamera&) = delete;
    KamvioCamera& operator=(const KamvioCamera&) = delete;

    // IUnknown. A plain count: the object lives in one apartment.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch, answered by the module's type library.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override;

    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;

    STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

    // IKamvioCamera
    STDMETHODIMP get_CameraCount(LONG* count) override;
    STDMETHODIMP CameraNames(VARIANT* names) override;
    STDMETHODIMP Connect(VARIANT camera) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP get_State(LONG* state) override;
    STDMETHODIMP get_IsConnected(VARIANT_BOOL* connected) override;
    STDMETHODIMP get_CameraName(BSTR* name) override;
    STDMETHODIMP TakePhoto(VARIANT timeoutMs, VARIANT* files) override;
    STDMETHODIMP TakeTimedPhotos(LONG intervalSeconds, LONG count, VARIANT timeoutMs, VARIANT* files) override;
    STDMETHODIMP get_SaveFolder(BSTR* folder) override;
    STDMETHODIMP put_SaveFolder(BSTR folder) override;
    STDMETHODIMP get_Zoom(LONG* position) override;
    STDMETHODIMP put_Zoom(LONG position) override;
    STDMETHODIMP get_ZoomMax(LONG* maximum) override;
    STDMETHODIMP ShowLiveView(LONG hwndParent, LONG left, LONG top, LONG width, LONG height) override;
    STDMETHODIMP ShowLiveViewWindow() override;
    STDMETHODIMP HideLiveView() override;
    STDMETHODIMP SetDestinationFrame(LONG width, LONG height) override;
    STDMETHODIMP SetGuideLines(VARIANT xPositions, VARIANT yPositions) override;
    STDMETHODIMP SettingNames(VARIANT* names) override;
    STDMETHODIMP SettingChoices(BSTR name, VARIANT* labels) override;
    STDMETHODIMP GetSetting(BSTR name, BSTR* label) override;
    STDMETHODIMP SetSetting(BSTR name, BSTR label) override;
    STDMETHODIMP ApplyStoredSettings(VARIANT cameraName) override;
    STDMETHODIMP get_AutoReconnect(VARIANT_BOOL* on) override;
    STDMETHODIMP put_AutoReconnect(VARIANT_BOOL on) override;

    // Values of State and of the Disconnected event's reason.
    enum State : LONG { kDisconnected = 0, kConnected = 1, kGone = 2 };
    enum Reason : LONG { kByClient = 0, kByCamera = 1, kSwitchedOff = 2, kWindowDestroyed = 3 };
    // The dispatch ids of the events.
    enum Event : DISPID {
        kEventFileSaved = 1,
        kEventShotCompleted,
        kEventConnected,
        kEventDisconnected,
        kEventPoweredOff,
        kEventLiveViewAvailable,
        kEventError,
    };
    static constexpr DWORD kDefaultShotTimeoutMs = 30000;
    static constexpr UINT kHealingPollMs = 500;

private:
    // Something of ours on the stack: a client may release the object from inside any event,
    // and the object then goes when the last of these ends.
    using Guard = StackHold<KamvioCamera>;
    friend class StackHold<KamvioCamera>;
    bool Released() const { return m_holds.Doomed(); }
    class NoticeCollector;
    class MemberCall;

    KamvioCamera();
    ~KamvioCamera();

    void FinalRelease();
    void TearDown();

    // Runs a member on the camera window, with notices routed to the call and the window kept
    // while it runs.
    template <typename Body>
    HRESULT Run(Body body);

    // The camera window (kamvio_camera_window.cpp).
    bool CreateCameraWindow();
    // A camera window destroyed with a client's window that held the live view is replaced.
    void EnsureCameraWindow();
    void ApplyClientChoices(HookedCameraDialog& dialog);
    void PlaceInOwnWindow(HookedCameraDialog& dialog);
    HRESULT StartLiveView(HookedCameraDialog& dialog);
    void UpdateTimer();

    // Cameras and shots (kamvio_camera_members.cpp).
    HRESULT ListSources(HookedCameraDialog& dialog, std::vector<SourceInfo>* sources);
    HRESULT ConnectSource(HookedCameraDialog& dialog, const SourceInfo& source);
    void AfterConnect(HookedCameraDialog& dialog, const std::string& name, bool reconnected);
    bool DisconnectNow(HookedCameraDialog& dialog, Reason reason);
    HRESULT Shoot(HookedCameraDialog& dialog, DWORD timeoutMs, std::vector<std::string>* files);
    HRESULT ReadTimeout(const VARIANT& value, DWORD* timeoutMs);
    HRESULT RequireCamera();
    // The error of a request the camera code refused: a busy camera, the notices the call raised,
    // the SDK's status, else `otherwise`.
    HRESULT FailFromCamera(uint32_t status, AutomationError otherwise);
    void TryReconnect();
    template <typename Access>
    HRESULT AccessSetting(HookedCameraDialog& dialog, const std::string& setting, const std::string& choice,
                          Access access);

    // What the camera window tells (CameraHooksClient), and the notices of our calls.
    void OnFileSaved(const std::string& path) override;
    void OnShotCompleted(const std::vector<std::string>& files) override;
    void OnDisconnectedByCamera() override;
    void OnPoweredOff() override;
    void OnViewfinderAvailable(bool available) override;
    bool OnNoticeNow(const std::string& text) override;
    void OnNotice(const char* caption, const char* text) override;
    void QueueError(const std::string& text);

    // The own window (CameraHostWindow::Client).
    void OnHostTimer() override;
    void OnHostPosted() override;
    void OnHostResized() override;
    void OnHostClosed() override;

    void Fire(Event event, const EventArgs& args);

    ULONG m_nRefs = 0;
    StackHolds m_holds;  // doomed by the last release
    const DWORD m_dwThread;
    TypeInfoDispatch m_dispatch{IID_IKamvioCamera};
    AutomationErrors m_errors;
    EventConnectionPoint m_events;
    CameraHostWindow m_window;
    // Handed to DialogBase::Retire when it goes.
    std::unique_ptr<HookedCameraDialog> m_pDlg;

    State m_state = kDisconnected;
    std::string m_strCamera;         // the connected camera, or the gone one
    bool m_bAutoReconnect = false;
    bool m_bHealing = false;         // a reconnect attempt is running
    std::string m_strSaveFolder;     // the client's choice; wins over a stored one
    bool m_bLiveViewWanted = false;  // shown: started with every connection
    bool m_bLiveViewRunning = false;
    bool m_bInOwnWindow = false;
    HWND m_hwndEmbedded = nullptr;   // the client's window that shows the live view
    uint32_t m_dwFrameWidth = 0, m_dwFrameHeight = 0;
    std::vector<uint32_t> m_xLines, m_yLines;
    bool m_bShotRunning = false;     // a shot's files are on their way
    // The shots waited for, innermost last; each takes the first shot completed after it started,
    // so that a shot taken from inside an event does not take the files of the one around it.
    struct ShotWait {
        bool done = false;
        std::vector<std::string> files;
    };
    std::vector<ShotWait*> m_shotWaits;
    std::vector<std::string>* m_pCallNotices = nullptr;  // of the innermost call in progress
    std::string m_strStartupNotice;  // what the camera window's start reported (a missing SDK)
    std::vector<std::string> m_pendingErrors;
};
