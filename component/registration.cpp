#include "component/registration.h"

#include <oleauto.h>

#include <string>

#include "component/module.h"
#include "component/registrar.h"
#include "component/resource_ids.h"
#include "platform/handles.h"

namespace {

// One registry script per class, run by the same registrar.
constexpr UINT kScripts[] = {IDR_OVCANONSDK, IDR_KAMVIOCAMERA};

HRESULT RunScripts(bool install) {
    std::wstring path = KamvioModule::Instance().ModulePath();
    if (path.empty()) return E_FAIL;
    ComPtr<IRegistrar> registrar;
    HRESULT hr = CoCreateInstance(CLSID_Registrar, nullptr, CLSCTX_INPROC_SERVER, IID_IRegistrar, registrar.put_void());
    if (FAILED(hr)) return hr;
    hr = registrar->AddReplacement(L"MODULE", path.c_str());
    if (FAILED(hr)) return hr;
    // Unregistration goes on past a failure: a class half removed is worse than an error.
    HRESULT result = S_OK;
    for (UINT script : kScripts) {
        hr = install ? registrar->ResourceRegister(path.c_str(), script, L"REGISTRY")
                     : registrar->ResourceUnregister(path.c_str(), script, L"REGISTRY");
        if (FAILED(hr) && install) return hr;
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
    return result;
}

HRESULT RegisterLibrary() {
    ComPtr<ITypeLib> library;
    HRESULT hr = KamvioModule::Instance().LoadTypeLib(library.put());
    if (FAILED(hr)) return hr;
    std::wstring path = KamvioModule::Instance().ModulePath();
    return RegisterTypeLib(library.get(), &path[0], nullptr);
}

HRESULT UnregisterLibrary() {
    ComPtr<ITypeLib> library;
    HRESULT hr = KamvioModule::Instance().LoadTypeLib(library.put());
    if (FAILED(hr)) return hr;
    TLIBATTR* attr = nullptr;
    hr = library->GetLibAttr(&attr);
    if (FAILED(hr)) return hr;
    // Unregistering what is not registered (a second regsvr32 /u) is no failure.
    BSTR registeredPath = nullptr;
    if (SUCCEEDED(QueryPathOfRegTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, &registeredPath))) {
        SysFreeString(registeredPath);
        hr = UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
    }
    library->ReleaseTLibAttr(attr);
    return hr;
}

}  // namespace

// Like every registration entry of a COM server, these expect the caller to have started COM
// (regsvr32 and installers do); starting and stopping it here could hang Wine's teardown.
HRESULT RegisterServer() {
    HRESULT hr = RunScripts(true);
    if (FAILED(hr)) return hr;
    return RegisterLibrary();
}

HRESULT UnregisterServer() {
    HRESULT hr = RunScripts(false);
    HRESULT library = UnregisterLibrary();
    return FAILED(hr) ? hr : library;
}
