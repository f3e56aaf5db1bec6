#include "host/component_client.h"

#include <cstdio>

HRESULT CreateKamvio(ComPtr<IOvCanonSDK>* object) {
    CLSID clsid = {};
    HRESULT hr = CLSIDFromProgID(L"Kamvio.OvCanonSDK", &clsid);
    if (FAILED(hr)) return hr;
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOvCanonSDK, object->put_void());
}

std::string HResultText(HRESULT hr) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    char text[256] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(hr),
                             0, text, sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == ' ' || text[n - 1] == '.')) text[--n] = '\0';
    return n ? std::string(code) + " (" + text + ")" : std::string(code);
}
