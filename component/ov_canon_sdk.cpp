#include "component/ov_canon_sdk.h"

#include <cstring>
#include <new>
#include <string>

#include "component/bstr_text.h"
#include "component/module.h"

// ---- creation and lifetime

HRESULT OvCanonSDK::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    // An aggregated object hands its outer object nothing but its own unknown.
    if (outer && !IsEqualIID(riid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    OvCanonSDK* object = new (std::nothrow) OvCanonSDK(outer);
    if (!object) return E_OUTOFMEMORY;
    HRESULT hr = object->InternalQueryInterface(riid, ppv);
    if (FAILED(hr)) delete object;
    return hr;
}

OvCanonSDK::OvCanonSDK(IUnknown* outer)
    : m_inner(*this), m_pControlling(outer ? outer : &m_inner), m_dlgModal(nullptr) {
    std::memset(&m_para, 0, sizeof m_para);
    KamvioModule::Instance().Lock();
}

OvCanonSDK::~OvCanonSDK() {
    // A host that forgot DestroyKamvioDlg must not leak the window and its camera session.
    DiscardModeless();
    KamvioModule::Instance().Unlock();
}

HRESULT OvCanonSDK::InternalQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown)) {
        *ppv = static_cast<IUnknown*>(&m_inner);
    } else if (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IOvCanonSDK)) {
        *ppv = static_cast<IOvCanonSDK*>(this);
    } else if (IsEqualIID(riid, IID_ISupportErrorInfo)) {
        *ppv = static_cast<ISupportErrorInfo*>(this);
    } else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    static_cast<IUnknown*>(*ppv)->AddRef();
    return S_OK;
}

STDMETHODIMP OvCanonSDK::InnerUnknown::QueryInterface(REFIID riid, void** ppv) {
    return m_owner.InternalQueryInterface(riid, ppv);
}

STDMETHODIMP_(ULONG) OvCanonSDK::InnerUnknown::AddRef() { return ++m_owner.m_nRefs; }

STDMETHODIMP_(ULONG) OvCanonSDK::InnerUnknown::Release() {
    ULONG refs = --m_owner.m_nRefs;
    if (refs == 0) m_owner.FinalRelease();
    return refs;
}

void OvCanonSDK::FinalRelease() {
    if (m_holds.Doom()) {
        delete this;
        return;
    }
    DiscardModeless();
    m_dlgModal.EndDialog(IDCANCEL);  // a modal window running now closes; DoModal then returns
}

STDMETHODIMP OvCanonSDK::QueryInterface(REFIID riid, void** ppv) { return m_pControlling->QueryInterface(riid, ppv); }
STDMETHODIMP_(ULONG) OvCanonSDK::AddRef() { return m_pControlling->AddRef(); }
STDMETHODIMP_(ULONG) OvCanonSDK::Release() { return m_pControlling->Release(); }

// ---- IDispatch

STDMETHODIMP OvCanonSDK::GetTypeInfoCount(UINT* count) { return m_dispatch.GetTypeInfoCount(count); }

STDMETHODIMP OvCanonSDK::GetTypeInfo(UINT index, LCID, ITypeInfo** info) { return m_dispatch.GetTypeInfo(index, info); }

STDMETHODIMP OvCanonSDK::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    return m_dispatch.GetIDsOfNames(riid, names, count, ids);
}

STDMETHODIMP OvCanonSDK::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* exception, UINT* argError) {
    ObjectCall call(*this);  // the type information stays while the method it called runs
    return m_dispatch.Invoke(static_cast<IOvCanonSDK*>(this), riid, id, flags, params, result, exception, argError);
}

STDMETHODIMP OvCanonSDK::InterfaceSupportsErrorInfo(REFIID riid) {
    return IsEqualIID(riid, IID_IOvCanonSDK) ? S_OK : S_FALSE;
}

// ---- the window methods

STDMETHODIMP OvCanonSDK::DoModal(LONG* pKamvioPara) {
    ObjectCall call(*this);
    KamvioPara none;
    std::memset(&none, 0, sizeof none);
    const KamvioPara* para = pKamvioPara ? reinterpret_cast<const KamvioPara*>(pKamvioPara) : &none;
    m_dlgModal.ApplyPara(para);
    m_dlgModal.SetModal(TRUE);
    // Owned by the host window (or the active one), so the host waits under it like under any dialog.
    return m_dlgModal.DoModal(para->hwndHost) == IDOK ? S_OK : E_FAIL;
}

void OvCanonSDK::DiscardModeless() { DialogBase::Retire(m_pDlg.release()); }

STDMETHODIMP OvCanonSDK::InitKamvioDlg(LONG* pKamvioPara, LONG* pWndRect, IUnknown*, LONG*) {
    if (!pKamvioPara) return E_FAIL;
    ObjectCall call(*this);
    std::memset(&m_para, 0, sizeof m_para);
    std::memcpy(&m_para, pKamvioPara, sizeof m_para);
    DiscardModeless();
    m_pDlg.reset(new (std::nothrow) CameraDialog(m_para.hwndHost));
    if (!m_pDlg) return E_FAIL;
    m_pDlg->ApplyPara(reinterpret_cast<const KamvioPara*>(pKamvioPara));
    if (pWndRect) {
        RECT rect = {pWndRect[0], pWndRect[1], pWndRect[2], pWndRect[3]};
        m_pDlg->SetWindowRect(rect);
    }
    return S_OK;
}

STDMETHODIMP OvCanonSDK::CreateKamvioDlg(LONG*) {
    return Forward([&](CameraDialog& d) {
        if (d.GetSafeHwnd()) return TRUE;
        // The host hears of the start from inside the creation and may destroy it right there.
        if (!d.Create(m_para.hwndHost) || d.IsRetired() || !d.GetSafeHwnd()) return FALSE;
        d.ShowWindow(SW_SHOW);
        return TRUE;
    });
}

STDMETHODIMP OvCanonSDK::DestroyKamvioDlg(LONG*) {
    if (!m_pDlg) return E_FAIL;
    ObjectCall call(*this);
    DiscardModeless();
    return S_OK;
}

// ---- forwarded to the modeless dialog

STDMETHODIMP OvCanonSDK::GetDeviceCounts(ULONG* pdwConnectCounts, LONG*) {
    return Forward([&](CameraDialog& d) { return d.GetDeviceCounts(reinterpret_cast<uint32_t*>(pdwConnectCounts)); });
}

STDMETHODIMP OvCanonSDK::GetSouceInfo(ULONG dwConnectCounts, LONG* plSourceInfo, LONG*) {
    return Forward([&](CameraDialog& d) { return d.GetSouceInfo(reinterpret_cast<SourceInfo*>(plSourceInfo), dwConnectCounts); });
}

STDMETHODIMP OvCanonSDK::Connect(LONG* pSourceInfo, LONG*) {
    return Forward([&](CameraDialog& d) { return d.Connect(reinterpret_cast<const SourceInfo*>(pSourceInfo)); });
}

STDMETHODIMP OvCanonSDK::Disconnect(LONG*) {
    return Forward([](CameraDialog& d) { return d.Disconnect(); });
}

STDMETHODIMP OvCanonSDK::PopSettingDlg(LONG*) {
    return Forward([](CameraDialog& d) { return d.PopSettingDlg(); });
}

STDMETHODIMP OvCanonSDK::TakePhoto(LONG*) {
    return Forward([](CameraDialog& d) { return d.TakePhoto(); });
}

STDMETHODIMP OvCanonSDK::OpenViewFinder(LONG boShowView, LONG*) {
    return Forward([&](CameraDialog& d) { return d.OpenViewFinder(boShowView); });
}

STDMETHODIMP OvCanonSDK::OpenCameraLCDView(LONG boOpen, LONG*) {
    return Forward([&](CameraDialog& d) { return d.OpenCameraLCDView(boOpen); });
}

STDMETHODIMP OvCanonSDK::GetMaxZoomPos(ULONG* pdwMaxPos, LONG*) {
    return Forward([&](CameraDialog& d) {
        uint32_t second = 0;  // the interface has no place for it
        return d.GetMaxZoomPos(reinterpret_cast<uint32_t*>(pdwMaxPos), &second);
    });
}

STDMETHODIMP OvCanonSDK::SetZoomPos(ULONG dwZoomPos, LONG*) {
    return Forward([&](CameraDialog& d) { return d.SetZoomPos(dwZoomPos); });
}

STDMETHODIMP OvCanonSDK::GetCurrentZoomPos(ULONG* pdwZoomPos, LONG*) {
    return Forward([&](CameraDialog& d) { return d.GetCurrentZoomPos(reinterpret_cast<uint32_t*>(pdwZoomPos)); });
}

STDMETHODIMP OvCanonSDK::InitDCSettingByIniFile(BSTR bsDCName, LONG*) {
    return Forward([&](CameraDialog& d) {
        std::string name;
        return BstrToAnsi(bsDCName, &name) && d.InitDCSettingByIniFile(name.c_str());
    });
}

STDMETHODIMP OvCanonSDK::SetDestFrameSize(ULONG dwWidth, ULONG dwHeight, LONG*) {
    return Forward([&](CameraDialog& d) { return d.SetDestFrameSize(dwWidth, dwHeight); });
}

STDMETHODIMP OvCanonSDK::SetAdjustLinePos(ULONG dwXLnCnts, ULONG* pXLine, ULONG dwYLnCnts, ULONG* pYLine, LONG*) {
    return Forward([&](CameraDialog& d) {
        return d.SetAdjustLinePos(dwXLnCnts, reinterpret_cast<const uint32_t*>(pXLine), dwYLnCnts,
                                  reinterpret_cast<const uint32_t*>(pYLine));
    });
}

STDMETHODIMP OvCanonSDK::IsConnected(LONG* pboConnected, LONG*) {
    return Forward([&](CameraDialog& d) { return d.IsConnected(reinterpret_cast<BOOL*>(pboConnected)); });
}
