#include "component/type_info_dispatch.h"

#include "component/module.h"

HRESULT TypeInfoDispatch::Load() {
    if (m_info) return S_OK;
    ComPtr<ITypeLib> library;
    HRESULT hr = KamvioModule::Instance().LoadTypeLib(library.put());
    if (FAILED(hr)) return hr;
    return library->GetTypeInfoOfGuid(m_iid, m_info.put());
}

HRESULT TypeInfoDispatch::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT TypeInfoDispatch::GetTypeInfo(UINT index, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    HRESULT hr = Load();
    if (FAILED(hr)) return hr;
    *info = m_info.get();
    (*info)->AddRef();
    return S_OK;
}

HRESULT TypeInfoDispatch::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    HRESULT hr = Load();
    if (FAILED(hr)) return hr;
    return m_info->GetIDsOfNames(names, count, ids);
}

HRESULT TypeInfoDispatch::Invoke(void* object, REFIID riid, DISPID id, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* exception, UINT* argError) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    HRESULT hr = Load();
    if (FAILED(hr)) return hr;
    return m_info->Invoke(object, id, flags, params, result, exception, argError);
}
