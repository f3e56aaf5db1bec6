// IDispatch of a dual interface, answered by the module's type library: what every class of the
// module shares. The caller keeps its object alive around Invoke (a client may release it from
// inside the member it called).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "platform/handles.h"

class TypeInfoDispatch {
public:
    explicit TypeInfoDispatch(REFIID iid) : m_iid(iid) {}
    TypeInfoDispatch(const TypeInfoDispatch&) = delete;
    TypeInfoDispatch& operator=(const TypeInfoDispatch&) = delete;

    HRESULT GetTypeInfoCount(UINT* count);
    HRESULT GetTypeInfo(UINT index, ITypeInfo** info);
    HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids);
    HRESULT Invoke(void* object, REFIID riid, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argError);

private:
    HRESULT Load();

    IID m_iid;
    ComPtr<ITypeInfo> m_info;
};
