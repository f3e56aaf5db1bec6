// Kamvio.Camera as an automation client sees it: made by the class object of Kamvio.dll (loaded
// from the test's folder, unregistered), members called by name through IDispatch, events taken
// by a sink advised to its connection point, errors read from IErrorInfo.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>
#include <olectl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "kamvio_idl.h"
#include "platform/handles.h"
#include "tests/common/sim_access.h"
#include "tests/common/test_support.h"
#include "tests/component/kamvio_library.h"

namespace camera_client {

using namespace kamvio_test;

// The results Kamvio.Camera documents for its own errors (FACILITY_ITF).
constexpr HRESULT kNoCamera = static_cast<HRESULT>(0x80040201);
constexpr HRESULT kBusy = static_cast<HRESULT>(0x80040202);
constexpr HRESULT kGone = static_cast<HRESULT>(0x80040203);

// "a|b|c" of a SAFEARRAY of variants, as scripts see the arrays the object returns.
inline std::string Joined(const VARIANT& value) {
    if (value.vt == VT_BSTR) return Narrow(value.bstrVal);
    if (value.vt == VT_BOOL) return value.boolVal ? "true" : "false";
    if (value.vt == VT_I4) return std::to_string(value.lVal);
    if (value.vt != (VT_ARRAY | VT_VARIANT) || !value.parray) return "<vt " + std::to_string(value.vt) + ">";
    LONG low = 0, high = -1;
    SafeArrayGetLBound(value.parray, 1, &low);
    SafeArrayGetUBound(value.parray, 1, &high);
    std::string out;
    for (LONG i = low; i <= high; ++i) {
        Value element;
        SafeArrayGetElement(value.parray, &i, &element.v);
        out += (i == low ? "" : "|") + Joined(element.v);
    }
    return out;
}

inline std::vector<std::string> Split(const std::string& joined) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t bar; !joined.empty() && (bar = joined.find('|', start)) != std::string::npos; start = bar + 1)
        parts.push_back(joined.substr(start, bar - start));
    if (!joined.empty()) parts.push_back(joined.substr(start));
    return parts;
}

// The description the last failing call left in the thread's error information.
inline std::string ErrorDescription() {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) != S_OK) return "<no error info>";
    UniqueBstr text;
    info->GetDescription(text.put());
    return Narrow(text.get());
}

inline Outcome Put(IDispatch* object, const wchar_t* name, Value value) {
    return Call(object, name, {value}, DISPATCH_PROPERTYPUT);
}

// Records every event as "Name(arg,arg)"; `onEvent` runs inside each.
class EventLog final : public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
            IsEqualIID(riid, DIID__IKamvioCameraEvents))
            return *ppv = static_cast<IDispatch*>(this), AddRef(), S_OK;
        return *ppv = nullptr, E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        static const char* const kNames[] = {"?",          "FileSaved",         "ShotCompleted", "Connected",
                                             "Disconnected", "PoweredOff", "LiveViewAvailable", "Error"};
        std::string text = std::string(id >= 1 && id <= 7 ? kNames[id] : "?") + "(";
        for (UINT i = params->cArgs; i > 0; --i)
            text += Joined(params->rgvarg[i - 1]) + (i > 1 ? "," : "");
        events.push_back(text + ")");
        if (onEvent) onEvent(id);
        return S_OK;
    }

    std::vector<std::string> events;
    std::function<void(DISPID)> onEvent;
    ULONG refs = 0;
};

inline std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// The object on a fresh simulated camera (FreshCamera), saving into an empty folder, COM started
// on this thread.
class CameraTest : public ::testing::Test {
protected:
    void StartCamera(const char* config = "") {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        FreshCamera(config);
        folder_ = EmptyFolder("shots");
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(S_OK, kamvio_test::GetClassFactory(CLSID_KamvioCamera, factory.put()));
        ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IKamvioCamera, camera_.put_void()));
        ASSERT_EQ(S_OK, Put(camera_.get(), L"SaveFolder", Value(Wide(folder_).c_str())).hr);
    }
    void Advise() {
        ComPtr<IConnectionPointContainer> container;
        ASSERT_EQ(S_OK, camera_->QueryInterface(IID_IConnectionPointContainer, container.put_void()));
        ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID__IKamvioCameraEvents, point_.put()));
        ASSERT_EQ(S_OK, point_->Advise(&log_, &cookie_));
    }
    void TearDown() override {
        if (point_ && camera_) point_->Unadvise(cookie_);
        point_.reset();
        camera_.reset();
        EXPECT_EQ(0u, log_.refs) << "every sink reference is given back";
        EXPECT_EQ("", Violations());
        EXPECT_EQ("", Boxes());
        CoUninitialize();
    }
    Outcome Do(const wchar_t* name, std::vector<Value> args = {}) { return Call(camera_.get(), name, std::move(args)); }
    // Events raised so far, then forgotten.
    std::vector<std::string> Events() { return std::exchange(log_.events, {}); }

    ComPtr<IKamvioCamera> camera_;
    ComPtr<IConnectionPoint> point_;
    EventLog log_;
    DWORD cookie_ = 0;
    std::string folder_;
};

}  // namespace camera_client
