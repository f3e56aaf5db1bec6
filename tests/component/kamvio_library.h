// Test access to Kamvio.dll without registration (loaded from the test's folder, objects made by
// its class object), and calls of the interface by vtable or by IDispatch.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kamvio_idl.h"
#include "platform/handles.h"
#include "tests/common/test_support.h"

namespace kamvio_test {

inline std::wstring KamvioPath() {
    std::string path = test_support::ExeFolder() + "\\Kamvio.dll";
    return std::wstring(path.begin(), path.end());
}

// Loaded for the whole program, before main starts the message-box watcher: under Wine the
// start-up of comctl32 (a dependency) can deadlock with a thread that enumerates windows.
inline const HMODULE g_kamvio = LoadLibraryW(KamvioPath().c_str());

template <typename F = HRESULT(STDAPICALLTYPE*)()>
F KamvioExport(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(g_kamvio, name)));
}

inline HRESULT GetClassFactory(REFCLSID clsid, IClassFactory** factory) {
    auto get = KamvioExport<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
    return get ? get(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory)) : E_UNEXPECTED;
}

inline ComPtr<IOvCanonSDK> CreateComponent() {
    ComPtr<IClassFactory> factory;
    ComPtr<IOvCanonSDK> object;
    if (SUCCEEDED(GetClassFactory(CLSID_OvCanonSDK, factory.put())))
        factory->CreateInstance(nullptr, IID_IOvCanonSDK, object.put_void());
    return object;
}

// Arguments are carried as automation variants of the type-library types; pointers of any kind
// share the variant's pointer slot.
inline VARIANT Ptr(VARTYPE vt, const void* p) { VARIANT v = {}; v.vt = vt; v.byref = const_cast<void*>(p); return v; }
inline VARIANT Num(VARTYPE vt, LONG value) { VARIANT v = {}; v.vt = vt; v.lVal = value; return v; }
constexpr VARTYPE kLongPtr = VT_I4 | VT_BYREF, kULongPtr = VT_UI4 | VT_BYREF;
inline VARIANT None() { return Ptr(kLongPtr, nullptr); }

// A variant that clears what it holds.
class Value {
public:
    Value() { VariantInit(&v); }
    Value(const wchar_t* text) : Value() { v.vt = VT_BSTR, v.bstrVal = SysAllocString(text); }
    Value(int number) : Value() { v.vt = VT_I4, v.lVal = number; }
    Value(const VARIANT& other) : Value() { VariantCopy(&v, const_cast<VARIANT*>(&other)); }
    Value(const Value& other) : Value(other.v) {}
    Value& operator=(const Value& other) { return VariantCopy(&v, const_cast<VARIANT*>(&other.v)), *this; }
    ~Value() { VariantClear(&v); }
    static Value Missing() { Value m; m.v.vt = VT_ERROR, m.v.scode = DISP_E_PARAMNOTFOUND; return m; }
    static Value Bool(bool b) { Value m; m.v.vt = VT_BOOL, m.v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE; return m; }
    VARIANT v;
};

inline std::string Narrow(const wchar_t* text) {
    std::string out;
    for (; text && *text; ++text) out += static_cast<char>(*text < 128 ? *text : '?');
    return out;
}

// One member called by name, as a script engine calls it.
struct Outcome {
    HRESULT hr;               // the member's result (a dispatched exception's scode)
    std::string description;  // what Err.Description shows
    Value result;
};

inline Outcome Call(IDispatch* object, const wchar_t* name, std::vector<Value> args = {},
                    WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET) {
    Outcome out{E_UNEXPECTED, "", {}};
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(out.hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return out;
    std::vector<VARIANT> reversed;
    for (auto a = args.rbegin(); a != args.rend(); ++a) reversed.push_back(a->v);
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags == DISPATCH_PROPERTYPUT) params.rgdispidNamedArgs = &put, params.cNamedArgs = 1;
    EXCEPINFO exception = {};
    out.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &out.result.v, &exception, nullptr);
    if (out.hr == DISP_E_EXCEPTION) {
        out.hr = exception.scode;
        out.description = Narrow(exception.bstrDescription);
        SysFreeString(exception.bstrSource), SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }
    return out;
}

// Calls method `id` through its vtable slot or through IDispatch::GetIDsOfNames + Invoke.
enum class Path { Vtable, Dispatch };
inline std::string PathName(const ::testing::TestParamInfo<Path>& info) {
    return info.param == Path::Vtable ? "Vtable" : "Dispatch";
}

inline HRESULT CallVtable(IOvCanonSDK* o, DISPID id, const std::vector<VARIANT>& a) {
    auto L = [&](size_t i) { return a[i].plVal; };
    auto U = [&](size_t i) { return a[i].pulVal; };
    switch (id) {
    case 1: return o->DoModal(L(0));
    case 2: return o->InitKamvioDlg(L(0), L(1), a[2].punkVal, L(3));
    case 3: return o->CreateKamvioDlg(L(0));
    case 4: return o->DestroyKamvioDlg(L(0));
    case 5: return o->GetDeviceCounts(U(0), L(1));
    case 6: return o->GetSouceInfo(a[0].ulVal, L(1), L(2));
    case 7: return o->Connect(L(0), L(1));
    case 8: return o->Disconnect(L(0));
    case 9: return o->PopSettingDlg(L(0));
    case 10: return o->TakePhoto(L(0));
    case 11: return o->OpenViewFinder(a[0].lVal, L(1));
    case 12: return o->OpenCameraLCDView(a[0].lVal, L(1));
    case 13: return o->GetMaxZoomPos(U(0), L(1));
    case 14: return o->SetZoomPos(a[0].ulVal, L(1));
    case 15: return o->GetCurrentZoomPos(U(0), L(1));
    case 16: return o->InitDCSettingByIniFile(a[0].bstrVal, L(1));
    case 17: return o->SetDestFrameSize(a[0].ulVal, a[1].ulVal, L(2));
    case 18: return o->SetAdjustLinePos(a[0].ulVal, U(1), a[2].ulVal, U(3), L(4));
    case 19: return o->IsConnected(L(0), L(1));
    }
    return E_INVALIDARG;
}

// The 19 methods by dispatch id (index 0 is id 1).
inline const wchar_t* const kMethodNames[19] = {
    L"DoModal", L"InitKamvioDlg", L"CreateKamvioDlg", L"DestroyKamvioDlg", L"GetDeviceCounts", L"GetSouceInfo",
    L"Connect", L"Disconnect", L"PopSettingDlg", L"TakePhoto", L"OpenViewFinder", L"OpenCameraLCDView",
    L"GetMaxZoomPos", L"SetZoomPos", L"GetCurrentZoomPos", L"InitDCSettingByIniFile", L"SetDestFrameSize",
    L"SetAdjustLinePos", L"IsConnected"};

inline HRESULT CallMethod(Path path, IOvCanonSDK* o, DISPID id, std::vector<VARIANT> args) {
    if (path == Path::Vtable) return CallVtable(o, id, args);
    return Call(o, kMethodNames[id - 1], std::vector<Value>(args.begin(), args.end()), DISPATCH_METHOD).hr;
}

}  // namespace kamvio_test
