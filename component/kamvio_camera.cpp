// KamvioCamera: creation, lifetime, its COM interfaces, and what it hears from its camera window
// and its own window.
#include "component/kamvio_camera.h"

#include <new>

#include "component/kamvio_camera_call.h"
#include "component/module.h"

// ---- creation and lifetime

HRESULT KamvioCamera::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    KamvioCamera* object = new (std::nothrow) KamvioCamera();
    if (!object) return E_OUTOFMEMORY;
    object->AddRef();
    // Without its windows the object could do nothing at all.
    HRESULT hr = object->m_pDlg ? object->QueryInterface(riid, ppv) : E_FAIL;
    object->Release();
    return hr;
}

KamvioCamera::KamvioCamera()
    : m_dwThread(GetCurrentThreadId()),
      m_errors(IID_IKamvioCamera, L"Kamvio.Camera"),
      m_events(*this, DIID__IKamvioCameraEvents),
      m_window(*this) {
    KamvioModule::Instance().Lock();
    if (m_window.Create()) CreateCameraWindow();
}

KamvioCamera::~KamvioCamera() {
    TearDown();
    KamvioModule::Instance().Unlock();
}

void KamvioCamera::TearDown() {
    m_events.UnadviseAll();
    if (m_pDlg) {
        m_pDlg->Hooks().Detach();
        DialogBase::Retire(m_pDlg.release());
    }
    m_window.Destroy();
}

void KamvioCamera::FinalRelease() {
    if (m_holds.Doom()) {
        delete this;
        return;
    }
    // Released from inside an event: the camera and its windows end now, the object with the
    // last call on the stack.
    TearDown();
}

namespace {

struct InterfaceEntry {
    const IID* iid;
    void* (*get)(KamvioCamera* object);
};

const InterfaceEntry kInterfaces[] = {
    {&IID_IUnknown, [](KamvioCamera* o) -> void* { return static_cast<IKamvioCamera*>(o); }},
    {&IID_IDispatch, [](KamvioCamera* o) -> void* { return static_cast<IKamvioCamera*>(o); }},
    {&IID_IKamvioCamera, [](KamvioCamera* o) -> void* { return static_cast<IKamvioCamera*>(o); }},
    {&IID_ISupportErrorInfo, [](KamvioCamera* o) -> void* { return static_cast<ISupportErrorInfo*>(o); }},
    {&IID_IProvideClassInfo, [](KamvioCamera* o) -> void* { return static_cast<IProvideClassInfo2*>(o); }},
    {&IID_IProvideClassInfo2, [](KamvioCamera* o) -> void* { return static_cast<IProvideClassInfo2*>(o); }},
    {&IID_IConnectionPointContainer,
     [](KamvioCamera* o) -> void* { return static_cast<IConnectionPointContainer*>(o); }},
};

}  // namespace

STDMETHODIMP KamvioCamera::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    for (const InterfaceEntry& entry : kInterfaces) {
        if (!IsEqualIID(riid, *entry.iid)) continue;
        *ppv = entry.get(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) KamvioCamera::AddRef() { return ++m_nRefs; }

STDMETHODIMP_(ULONG) KamvioCamera::Release() {
    ULONG refs = --m_nRefs;
    if (refs == 0) FinalRelease();
    return refs;
}

// ---- IDispatch, ISupportErrorInfo, IProvideClassInfo2, IConnectionPointContainer

STDMETHODIMP KamvioCamera::GetTypeInfoCount(UINT* count) { return m_dispatch.GetTypeInfoCount(count); }

STDMETHODIMP KamvioCamera::GetTypeInfo(UINT index, LCID, ITypeInfo** info) { return m_dispatch.GetTypeInfo(index, info); }

STDMETHODIMP KamvioCamera::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    return m_dispatch.GetIDsOfNames(riid, names, count, ids);
}

STDMETHODIMP KamvioCamera::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO* exception, UINT* argError) {
    Guard guard(*this);  // the type information stays while the member it called runs
    HRESULT hr =
        m_dispatch.Invoke(static_cast<IKamvioCamera*>(this), riid, id, flags, params, result, exception, argError);
    // The member's description reaches late-bound callers (Err.Description) even where the
    // dispatcher does not copy it from the error information.
    if (hr == DISP_E_EXCEPTION && exception && !exception->bstrDescription) {
        ComPtr<IErrorInfo> info;
        if (GetErrorInfo(0, info.put()) == S_OK) {
            info->GetDescription(&exception->bstrDescription);
            SetErrorInfo(0, info.get());  // still there for callers that ask
        }
    }
    return hr;
}

STDMETHODIMP KamvioCamera::InterfaceSupportsErrorInfo(REFIID riid) {
    return IsEqualIID(riid, IID_IKamvioCamera) ? S_OK : S_FALSE;
}

STDMETHODIMP KamvioCamera::GetClassInfo(ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    ComPtr<ITypeLib> library;
    HRESULT hr = KamvioModule::Instance().LoadTypeLib(library.put());
    if (FAILED(hr)) return hr;
    return library->GetTypeInfoOfGuid(CLSID_KamvioCamera, info);
}

STDMETHODIMP KamvioCamera::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = m_events.Events();
    return S_OK;
}

STDMETHODIMP KamvioCamera::EnumConnectionPoints(IEnumConnectionPoints** points) {
    return EnumerateConnectionPoint(&m_events, points);
}

STDMETHODIMP KamvioCamera::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (!IsEqualIID(riid, m_events.Events())) return CONNECT_E_NOCONNECTION;
    *point = &m_events;
    m_events.AddRef();
    return S_OK;
}

// ---- events

void KamvioCamera::Fire(Event event, const EventArgs& args) {
    if (!Released()) m_events.Raise(event, args);
}

void KamvioCamera::OnFileSaved(const std::string& path) {
    Guard guard(*this);
    m_bShotRunning = true;  // also a shot the camera's own button started
    Fire(kEventFileSaved, EventArgs().Text(path));
}

void KamvioCamera::OnShotCompleted(const std::vector<std::string>& files) {
    Guard guard(*this);
    m_bShotRunning = false;
    for (ShotWait* wait : m_shotWaits) {
        if (wait->done) continue;
        wait->done = true;
        wait->files = files;
    }
    Fire(kEventShotCompleted, EventArgs().Texts(files));
}

void KamvioCamera::OnDisconnectedByCamera() {
    Guard guard(*this);
    if (m_state != kConnected) return;
    m_state = kDisconnected;
    m_bShotRunning = m_bLiveViewRunning = false;
    Fire(kEventDisconnected, EventArgs().Text(m_strCamera).Long(kByCamera));
}

void KamvioCamera::OnPoweredOff() {
    Guard guard(*this);
    if (m_state != kConnected) return;
    const std::string name = m_strCamera;
    m_state = m_bAutoReconnect ? kGone : kDisconnected;
    m_bShotRunning = m_bLiveViewRunning = false;
    UpdateTimer();
    Fire(kEventPoweredOff, EventArgs().Text(name));
    Fire(kEventDisconnected, EventArgs().Text(name).Long(kSwitchedOff));
}

void KamvioCamera::OnViewfinderAvailable(bool available) {
    Guard guard(*this);
    Fire(kEventLiveViewAvailable, EventArgs().Bool(available));
}

bool KamvioCamera::OnNoticeNow(const std::string& text) {
    // The camera window warns when its camera switched off; PoweredOff says so already.
    if (m_errors.IsPowerOffWarning(text)) return true;
    if (!m_pCallNotices) return false;
    m_pCallNotices->push_back(text);
    return true;
}

void KamvioCamera::OnNotice(const char*, const char* text) {
    const std::string notice = text ? text : "";
    if (!OnNoticeNow(notice)) QueueError(notice);
}

void KamvioCamera::QueueError(const std::string& text) {
    m_pendingErrors.push_back(text);
    // Raised from our own window's message, outside whatever code raised it.
    if (m_window.Handle()) PostMessageA(m_window.Handle(), CameraHostWindow::kPostedMessage, 0, 0);
}

void KamvioCamera::OnHostPosted() {
    Guard guard(*this);
    std::vector<std::string> errors = std::move(m_pendingErrors);
    m_pendingErrors.clear();
    if (m_pDlg)
        for (std::string& queued : m_pDlg->Hooks().TakeQueued()) errors.push_back(std::move(queued));
    for (const std::string& text : errors)
        if (!m_errors.IsPowerOffWarning(text)) Fire(kEventError, EventArgs().Long(E_FAIL).Text(text));
}
