// The class object of one creatable class: the class is told by the function that builds it.
#pragma once

#include <windows.h>
#include <unknwn.h>

class ClassFactory final : public IClassFactory {
public:
    // Builds an object (aggregated when outer is given) and queries it for riid.
    using Creator = HRESULT (*)(IUnknown* outer, REFIID riid, void** ppv);

    explicit ClassFactory(Creator create);
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    ~ClassFactory();

    Creator m_create;
    CRITICAL_SECTION m_csRefs;
    ULONG m_nRefs = 0;
};
