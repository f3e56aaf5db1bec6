// The library's entry point and its four exports.
#include <windows.h>
#include <unknwn.h>

#include "component/module.h"
#include "component/registration.h"
#include "platform/resource_module.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        DisableThreadLibraryCalls(instance);
        KamvioModule::Instance().Init(instance);
        // The dialog templates live in this library, not in the host's executable.
        SetResourceModule(instance);
        break;
    case DLL_PROCESS_DETACH:
        KamvioModule::Instance().Term();
        break;
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() { return KamvioModule::Instance().CanUnloadNow(); }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
    return KamvioModule::Instance().GetClassObject(clsid, riid, ppv);
}

STDAPI DllRegisterServer() { return RegisterServer(); }

STDAPI DllUnregisterServer() { return UnregisterServer(); }

}  // extern "C"
