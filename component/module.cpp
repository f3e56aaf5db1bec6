#include "component/module.h"

#include <new>
#include <utility>

#include "component/class_factory.h"
#include "component/kamvio_camera.h"
#include "component/ov_canon_sdk.h"
#include "kamvio_idl.h"

namespace {

struct CreatableClass {
    const CLSID* clsid;
    ClassFactory::Creator create;
};

// In the order of KamvioModule's factory slots.
const CreatableClass kClasses[] = {
    {&CLSID_OvCanonSDK, &OvCanonSDK::CreateInstance},
    {&CLSID_KamvioCamera, &KamvioCamera::CreateInstance},
};

}  // namespace

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
    IClassFactory* factories[kClassCount] = {};
    EnterCriticalSection(&m_csFactory);
    for (int i = 0; i < kClassCount; ++i) factories[i] = std::exchange(m_pFactories[i], nullptr);
    LeaveCriticalSection(&m_csFactory);
    for (IClassFactory* factory : factories)
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
    static_assert(sizeof kClasses / sizeof kClasses[0] == kClassCount, "a factory slot per class");
    int index = 0;
    while (index < kClassCount && !IsEqualCLSID(clsid, *kClasses[index].clsid)) ++index;
    if (index == kClassCount) return CLASS_E_CLASSNOTAVAILABLE;
    EnterCriticalSection(&m_csFactory);
    IClassFactory*& slot = m_pFactories[index];
    if (!slot) {
        slot = new (std::nothrow) ClassFactory(kClasses[index].create);
        if (slot) slot->AddRef();  // the module's own reference
    }
    IClassFactory* factory = slot;
    if (factory) factory->AddRef();
    LeaveCriticalSection(&m_csFactory);
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

HRESULT KamvioModule::CanUnloadNow() const { return LockCount() == 0 ? S_OK : S_FALSE; }
