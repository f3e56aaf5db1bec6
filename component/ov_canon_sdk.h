// OvCanonSDK: the component's one creatable class. It owns the camera dialogs and forwards
// each interface method to one of them.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <memory>

#include "dialog/camera_dialog.h"
#include "dialog/kamvio_para.h"
#include "component/type_info_dispatch.h"
#include "kamvio_idl.h"
#include "platform/handles.h"
#include "platform/stack_hold.h"

class OvCanonSDK final : public IOvCanonSDK, public ISupportErrorInfo {
public:
    // Builds the object (aggregated when outer is given) and queries it for riid.
    static HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv);

    OvCanonSDK(const OvCanonSDK&) = delete;
    OvCanonSDK& operator=(const OvCanonSDK&) = delete;

    // IUnknown: delegates to the controlling unknown (the outer one when aggregated).
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch, answered by the module's type library.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override;

    // ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;

    // IOvCanonSDK: the window methods.
    STDMETHODIMP DoModal(LONG* pKamvioPara) override;
    STDMETHODIMP InitKamvioDlg(LONG* pKamvioPara, LONG* pWndRect, IUnknown* pIErrorCtrl, LONG* pReserved) override;
    STDMETHODIMP CreateKamvioDlg(LONG* pReserved) override;
    STDMETHODIMP DestroyKamvioDlg(LONG* pReserved) override;
    // IOvCanonSDK: forwarded to the modeless dialog.
    STDMETHODIMP GetDeviceCounts(ULONG* pdwConnectCounts, LONG* plReserved) override;
    STDMETHODIMP GetSouceInfo(ULONG dwConnectCounts, LONG* plSourceInfo, LONG* plReserved) override;
    STDMETHODIMP Connect(LONG* pSourceInfo, LONG* plReserved) override;
    STDMETHODIMP Disconnect(LONG* plReserved) override;
    STDMETHODIMP PopSettingDlg(LONG* plReserved) override;
    STDMETHODIMP TakePhoto(LONG* plReserved) override;
    STDMETHODIMP OpenViewFinder(LONG boShowView, LONG* plReserved) override;
    STDMETHODIMP OpenCameraLCDView(LONG boOpen, LONG* plReserved) override;
    STDMETHODIMP GetMaxZoomPos(ULONG* pdwMaxPos, LONG* plReserved) override;
    STDMETHODIMP SetZoomPos(ULONG dwZoomPos, LONG* plReserved) override;
    STDMETHODIMP GetCurrentZoomPos(ULONG* pdwZoomPos, LONG* plReserved) override;
    STDMETHODIMP InitDCSettingByIniFile(BSTR bsDCName, LONG* plReserved) override;
    STDMETHODIMP SetDestFrameSize(ULONG dwWidth, ULONG dwHeight, LONG* plReserved) override;
    STDMETHODIMP SetAdjustLinePos(ULONG dwXLnCnts, ULONG* pXLine, ULONG dwYLnCnts, ULONG* pYLine,
                                  LONG* plReserved) override;
    STDMETHODIMP IsConnected(LONG* pboConnected, LONG* pReserved) override;

private:
    // The non-delegating unknown that owns the object's lifetime.
    class InnerUnknown final : public IUnknown {
    public:
        explicit InnerUnknown(OvCanonSDK& owner) : m_owner(owner) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;

    private:
        OvCanonSDK& m_owner;
    };

    // A method in progress. Hosts call back from inside notifications: a final release made
    // there ends the windows at once but deletes the object only when the last call returns.
    using ObjectCall = StackHold<OvCanonSDK>;
    friend class StackHold<OvCanonSDK>;

    explicit OvCanonSDK(IUnknown* outer);
    ~OvCanonSDK();

    HRESULT InternalQueryInterface(REFIID riid, void** ppv);
    // S_OK when the modeless dialog exists and the operation succeeds. The dialog outlives the
    // call even when the host destroys it from inside a notification the operation sends.
    template <typename Operation>
    HRESULT Forward(Operation operation) {
        if (!m_pDlg) return E_FAIL;
        ObjectCall call(*this);
        CameraDialog& dialog = *m_pDlg;
        DialogBase::CallScope scope(dialog);
        return operation(dialog) ? S_OK : E_FAIL;
    }
    void DiscardModeless();
    // The last reference went: the windows end now, the object with its last call.
    void FinalRelease();

    InnerUnknown m_inner;
    IUnknown* m_pControlling;  // the outer unknown, or m_inner
    ULONG m_nRefs = 0;         // single-threaded object: a plain count
    StackHolds m_holds;  // methods in progress (ObjectCall); doomed by the last release
    TypeInfoDispatch m_dispatch{IID_IOvCanonSDK};

    CameraDialog m_dlgModal;
    // Owned here; handed to DialogBase::Retire when it goes.
    std::unique_ptr<CameraDialog> m_pDlg;
    KamvioPara m_para;
};
