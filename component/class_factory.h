// The class object of OvCanonSDK.
#pragma once

#include <windows.h>
#include <unknwn.h>

class ClassFactory final : public IClassFactory {
public:
    ClassFactory();
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    ~ClassFactory();

    CRITICAL_SECTION m_csRefs;
    ULONG m_nRefs = 0;
};
