#include "component/class_factory.h"

#include "component/module.h"

ClassFactory::ClassFactory(Creator create) : m_create(create) { InitializeCriticalSection(&m_csRefs); }

ClassFactory::~ClassFactory() { DeleteCriticalSection(&m_csRefs); }

STDMETHODIMP ClassFactory::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ClassFactory::AddRef() {
    EnterCriticalSection(&m_csRefs);
    ULONG refs = ++m_nRefs;
    LeaveCriticalSection(&m_csRefs);
    return refs;
}

STDMETHODIMP_(ULONG) ClassFactory::Release() {
    EnterCriticalSection(&m_csRefs);
    ULONG refs = --m_nRefs;
    LeaveCriticalSection(&m_csRefs);
    if (refs == 0) delete this;
    return refs;
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    return m_create(outer, riid, ppv);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
    if (lock)
        KamvioModule::Instance().Lock();
    else
        KamvioModule::Instance().Unlock();
    return S_OK;
}
