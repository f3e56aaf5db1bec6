// Test access to Kamvio.dll without registration: the library loaded from the test's folder,
// objects made through its class object, and a host window that records notifications.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "dialog/kamvio_para.h"
#include "kamvio_idl.h"
#include "platform/handles.h"

namespace kamvio_test {

// Kamvio.dll beside the test executable, loaded once for the whole test program.
HMODULE KamvioModule();
std::wstring KamvioPath();

template <typename F>
F KamvioExport(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(KamvioModule(), name)));
}

HRESULT GetClassFactory(REFCLSID clsid, IClassFactory** factory);
// A new, non-aggregated OvCanonSDK.
ComPtr<IOvCanonSDK> CreateComponent();

// A top-level window standing in for the host application. It records every message whose
// number is one of the four notification numbers it hands out in Para().
class HostWindow {
public:
    static constexpr UINT kMsgFileSaved = WM_APP + 1;
    static constexpr UINT kMsgViewfinder = WM_APP + 2;
    static constexpr UINT kMsgStatus = WM_APP + 3;
    static constexpr UINT kMsgPoweredOff = WM_APP + 4;

    struct Note {
        UINT message;
        WPARAM wParam;
        std::string text;  // the path (file saved) or camera name (status) the note carried
    };

    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND hwnd() const { return m_hwnd; }
    // A block naming this window, its message numbers and the save folder (may be null).
    KamvioPara Para(const char* saveFolder, uint32_t showControls = 1) const;
    std::vector<Note> Notes(UINT message) const;
    void ClearNotes() { m_notes.clear(); }
    // Direct child dialog windows (class #32770) of the host window.
    int ChildDialogCount() const;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
    std::vector<Note> m_notes;
};

// One parameter of an interface method, in its type-library type.
struct Arg {
    VARTYPE vt;
    union {
        LONG* pl;
        ULONG* pul;
        LONG l;
        ULONG ul;
        IUnknown* unk;
        BSTR bstr;
    };
};
Arg LongPtr(void* p);
Arg ULongPtr(ULONG* p);
Arg Long(LONG v);
Arg ULong(ULONG v);
Arg Unknown(IUnknown* p);
Arg Bstr(BSTR b);

// The 19 methods by dispatch id (index 0 is id 1).
extern const wchar_t* const kMethodNames[19];

// Calls method `id` of the interface either through its vtable slot or through
// IDispatch::GetIDsOfNames + Invoke, with the same arguments.
enum class Path { Vtable, Dispatch };
HRESULT CallMethod(Path path, IOvCanonSDK* object, DISPID id, const std::vector<Arg>& args);

std::string PathName(Path path);

}  // namespace kamvio_test
