#include "tests/component/kamvio_library.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/common/test_support.h"

namespace kamvio_test {

std::wstring KamvioPath() {
    std::string folder = test_support::ExeFolder() + "\\Kamvio.dll";
    return std::wstring(folder.begin(), folder.end());
}

HMODULE KamvioModule() {
    static HMODULE module = LoadLibraryW(KamvioPath().c_str());  // kept for the whole program
    return module;
}

HRESULT GetClassFactory(REFCLSID clsid, IClassFactory** factory) {
    auto get = KamvioExport<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
    if (!get) return E_UNEXPECTED;
    return get(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory));
}

ComPtr<IOvCanonSDK> CreateComponent() {
    ComPtr<IClassFactory> factory;
    ComPtr<IOvCanonSDK> object;
    if (SUCCEEDED(GetClassFactory(CLSID_OvCanonSDK, factory.put())))
        factory->CreateInstance(nullptr, IID_IOvCanonSDK, object.put_void());
    return object;
}

// ---- host window

HostWindow::HostWindow() {
    static const char* kClass = "KamvioTestHost";
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);  // fails harmlessly when registered already
    m_hwnd = CreateWindowExA(0, kClass, "Kamvio test host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 640, 480,
                             nullptr, nullptr, wc.hInstance, this);
}

HostWindow::~HostWindow() {
    if (m_hwnd) DestroyWindow(m_hwnd);
}

LRESULT CALLBACK HostWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && message >= kMsgFileSaved && message <= kMsgPoweredOff) {
        Note note{message, wParam, {}};
        if (message == kMsgFileSaved && wParam) note.text = reinterpret_cast<const char*>(wParam);
        if (message == kMsgStatus && lParam) note.text = reinterpret_cast<const char*>(lParam);
        self->m_notes.push_back(note);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

KamvioPara HostWindow::Para(const char* saveFolder, uint32_t showControls) const {
    KamvioPara para;
    std::memset(&para, 0, sizeof para);
    para.hwndHost = m_hwnd;
    para.msgFileSaved = kMsgFileSaved;
    para.msgViewfinderEnable = kMsgViewfinder;
    para.saveMode = 1;
    para.showControls = showControls;
    para.pszSaveFolder = saveFolder;
    para.msgStatus = kMsgStatus;
    para.msgPoweredOff = kMsgPoweredOff;
    return para;
}

std::vector<HostWindow::Note> HostWindow::Notes(UINT message) const {
    std::vector<Note> found;
    for (const Note& note : m_notes)
        if (note.message == message) found.push_back(note);
    return found;
}

int HostWindow::ChildDialogCount() const {
    int count = 0;
    for (HWND child = GetWindow(m_hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[16] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (std::strcmp(cls, "#32770") == 0) ++count;
    }
    return count;
}

// ---- calls by vtable and by IDispatch

Arg LongPtr(void* p) {
    Arg a;
    a.vt = VT_I4 | VT_BYREF;
    a.pl = static_cast<LONG*>(p);
    return a;
}
Arg ULongPtr(ULONG* p) {
    Arg a;
    a.vt = VT_UI4 | VT_BYREF;
    a.pul = p;
    return a;
}
Arg Long(LONG v) {
    Arg a;
    a.vt = VT_I4;
    a.l = v;
    return a;
}
Arg ULong(ULONG v) {
    Arg a;
    a.vt = VT_UI4;
    a.ul = v;
    return a;
}
Arg Unknown(IUnknown* p) {
    Arg a;
    a.vt = VT_UNKNOWN;
    a.unk = p;
    return a;
}
Arg Bstr(BSTR b) {
    Arg a;
    a.vt = VT_BSTR;
    a.bstr = b;
    return a;
}

const wchar_t* const kMethodNames[19] = {
    L"DoModal",         L"InitKamvioDlg",     L"CreateKamvioDlg",        L"DestroyKamvioDlg", L"GetDeviceCounts",
    L"GetSouceInfo",    L"Connect",           L"Disconnect",             L"PopSettingDlg",    L"TakePhoto",
    L"OpenViewFinder",  L"OpenCameraLCDView", L"GetMaxZoomPos",          L"SetZoomPos",       L"GetCurrentZoomPos",
    L"InitDCSettingByIniFile", L"SetDestFrameSize", L"SetAdjustLinePos", L"IsConnected",
};

namespace {

HRESULT CallVtable(IOvCanonSDK* o, DISPID id, const std::vector<Arg>& a) {
    switch (id) {
    case 1: return o->DoModal(a[0].pl);
    case 2: return o->InitKamvioDlg(a[0].pl, a[1].pl, a[2].unk, a[3].pl);
    case 3: return o->CreateKamvioDlg(a[0].pl);
    case 4: return o->DestroyKamvioDlg(a[0].pl);
    case 5: return o->GetDeviceCounts(a[0].pul, a[1].pl);
    case 6: return o->GetSouceInfo(a[0].ul, a[1].pl, a[2].pl);
    case 7: return o->Connect(a[0].pl, a[1].pl);
    case 8: return o->Disconnect(a[0].pl);
    case 9: return o->PopSettingDlg(a[0].pl);
    case 10: return o->TakePhoto(a[0].pl);
    case 11: return o->OpenViewFinder(a[0].l, a[1].pl);
    case 12: return o->OpenCameraLCDView(a[0].l, a[1].pl);
    case 13: return o->GetMaxZoomPos(a[0].pul, a[1].pl);
    case 14: return o->SetZoomPos(a[0].ul, a[1].pl);
    case 15: return o->GetCurrentZoomPos(a[0].pul, a[1].pl);
    case 16: return o->InitDCSettingByIniFile(a[0].bstr, a[1].pl);
    case 17: return o->SetDestFrameSize(a[0].ul, a[1].ul, a[2].pl);
    case 18: return o->SetAdjustLinePos(a[0].ul, a[1].pul, a[2].ul, a[3].pul, a[4].pl);
    case 19: return o->IsConnected(a[0].pl, a[1].pl);
    }
    return E_INVALIDARG;
}

HRESULT CallDispatch(IOvCanonSDK* o, DISPID id, const std::vector<Arg>& a) {
    LPOLESTR name = const_cast<LPOLESTR>(kMethodNames[id - 1]);
    DISPID found = DISPID_UNKNOWN;
    HRESULT hr = o->GetIDsOfNames(IID_NULL, &name, 1, 0x409, &found);
    if (FAILED(hr)) return hr;
    EXPECT_EQ(id, found) << "dispatch id of " << id;
    // Automation passes arguments last first.
    std::vector<VARIANTARG> variants(a.size());
    for (size_t i = 0; i < a.size(); ++i) {
        VARIANTARG& v = variants[a.size() - 1 - i];
        VariantInit(&v);
        v.vt = a[i].vt;
        switch (a[i].vt) {
        case VT_I4 | VT_BYREF: v.plVal = a[i].pl; break;
        case VT_UI4 | VT_BYREF: v.pulVal = a[i].pul; break;
        case VT_I4: v.lVal = a[i].l; break;
        case VT_UI4: v.ulVal = a[i].ul; break;
        case VT_UNKNOWN: v.punkVal = a[i].unk; break;
        case VT_BSTR: v.bstrVal = a[i].bstr; break;
        }
    }
    DISPPARAMS params = {variants.data(), nullptr, static_cast<UINT>(variants.size()), 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO exception = {};
    UINT argError = 0;
    hr = o->Invoke(found, IID_NULL, 0x409, DISPATCH_METHOD, &params, &result, &exception, &argError);
    VariantClear(&result);
    // A failing method comes back as an exception carrying its result.
    if (hr == DISP_E_EXCEPTION) {
        hr = exception.scode;
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }
    return hr;
}

}  // namespace

HRESULT CallMethod(Path path, IOvCanonSDK* object, DISPID id, const std::vector<Arg>& args) {
    return path == Path::Vtable ? CallVtable(object, id, args) : CallDispatch(object, id, args);
}

std::string PathName(Path path) { return path == Path::Vtable ? "Vtable" : "Dispatch"; }

}  // namespace kamvio_test
