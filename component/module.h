// The module object: instance handle, lock count and the class factories of the library.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <unknwn.h>

#include <string>

class KamvioModule {
public:
    // The one module object of this library (it lives as long as the library is loaded).
    static KamvioModule& Instance();

    KamvioModule(const KamvioModule&) = delete;
    KamvioModule& operator=(const KamvioModule&) = delete;

    void Init(HINSTANCE instance);
    // Releases the class factory; called when the library is unloaded.
    void Term();

    HINSTANCE Handle() const { return m_hInstance; }
    std::wstring ModulePath() const;
    // The type library embedded in this module (resource TYPELIB 1), not registered.
    HRESULT LoadTypeLib(ITypeLib** library) const;

    // Live objects and LockServer locks.
    LONG Lock();
    LONG Unlock();
    LONG LockCount() const;

    HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv);
    HRESULT CanUnloadNow() const;

private:
    KamvioModule();
    ~KamvioModule();

    HINSTANCE m_hInstance = nullptr;
    volatile LONG m_nLockCount = 0;
    static constexpr int kClassCount = 2;
    CRITICAL_SECTION m_csFactory;
    IClassFactory* m_pFactories[kClassCount] = {};  // each created on its first request, kept until Term
};
