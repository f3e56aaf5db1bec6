#include "component/module.h"

#include <new>

#include "component/class_factory.h"
#include "kamvio_idl.h"

KamvioModule& KamvioModule::Instance() {
    static KamvioModule module;
    return module;
}

KamvioModule::KamvioModule() { InitializeCriticalSection(&m_csFactory); }

KamvioModule::~KamvioModule() {
    Term();
    DeleteCriticalSection(&m_csFactory);
}

void KamvioModule::Init(HINSTANCE instance) { m_hInstance = instance; }

void KamvioModule::Term() {
    EnterCriticalSection(&m_csFactory);
    IClassFactory* factory = m_pFactory;
    m_pFactory = nullptr;
    LeaveCriticalSection(&m_csFactory);
    if (factory) factory->Release();
}

std::wstring KamvioModule::ModulePath() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(m_hInstance, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0) return std::wstring();
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);  // truncated: long path
    }
}

HRESULT KamvioModule::LoadTypeLib(ITypeLib** library) const {
    std::wstring path = ModulePath();
    if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
    return LoadTypeLibEx(path.c_str(), REGKIND_NONE, library);
}

LONG KamvioModule::Lock() { return InterlockedIncrement(&m_nLockCount); }
LONG KamvioModule::Unlock() { return InterlockedDecrement(&m_nLockCount); }
LONG KamvioModule::LockCount() const { return InterlockedCompareExchange(const_cast<volatile LONG*>(&m_nLockCount), 0, 0); }

HRESULT KamvioModule::GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_OvCanonSDK)) return CLASS_E_CLASSNOTAVAILABLE;
    EnterCriticalSection(&m_csFactory);
    if (!m_pFactory) {
        m_pFactory = new (std::nothrow) ClassFactory();
        if (m_pFactory) m_pFactory->AddRef();  // the module's own reference
    }
    IClassFactory* factory = m_pFactory;
    if (factory) factory->AddRef();
    LeaveCriticalSection(&m_csFactory);
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

HRESULT KamvioModule::CanUnloadNow() const { return LockCount() == 0 ? S_OK : S_FALSE; }
