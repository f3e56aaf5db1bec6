// Embedding Kamvio in a host application: the camera window as a child of the host's window,
// the first camera connected, the live view with a passport frame and guide lines, one photo.
// Needs Kamvio.dll registered (regsvr32) and CDSDK.dll beside this executable.
// Exit code 0 when the photo was saved.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "dialog/kamvio_para.h"  // KamvioPara, the parameter block
#include "kamvio_idl.h"          // IOvCanonSDK, CLSID_OvCanonSDK, IID_IOvCanonSDK

namespace {

// The host chooses the numbers of the messages the component sends to its window.
constexpr UINT WM_KAMVIO_FILE_SAVED = WM_APP + 1;
constexpr UINT WM_KAMVIO_VIEWFINDER = WM_APP + 2;
constexpr UINT WM_KAMVIO_STATUS = WM_APP + 3;
constexpr UINT WM_KAMVIO_POWERED_OFF = WM_APP + 4;

constexpr size_t kSourceInfoSize = 400;  // one camera record of GetSouceInfo
constexpr size_t kModelNameOffset = 8;   // its zero-terminated model name

struct HostState {
    std::string savedFile;  // the last file the component reported
};

LRESULT CALLBACK HostWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* state = reinterpret_cast<HostState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_KAMVIO_FILE_SAVED:  // wParam: the file's path, valid during this call only
        if (wParam && state) state->savedFile = reinterpret_cast<const char*>(wParam);
        return 0;
    case WM_KAMVIO_VIEWFINDER:
        std::printf("the camera %s a live view\n", wParam ? "offers" : "does not offer");
        return 0;
    case WM_KAMVIO_STATUS:  // lParam: the camera's name, valid during this call only
        std::printf("camera status %u: %s\n", static_cast<unsigned>(wParam),
                    lParam ? reinterpret_cast<const char*>(lParam) : "");
        return 0;
    case WM_KAMVIO_POWERED_OFF:
        std::printf("the camera was switched off\n");
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool Step(const char* method, HRESULT hr) {
    std::printf("%-17s %s\n", method, hr == S_OK ? "S_OK" : "E_FAIL");
    return hr == S_OK;
}

// The photo arrives on the host's thread, through its message loop: pump until it is there.
bool WaitForPhoto(const HostState& state, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (state.savedFile.empty() && GetTickCount() - start < timeoutMs) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return !state.savedFile.empty();
}

bool ShootOnePhoto(IOvCanonSDK* kamvio, HWND host, const HostState& state, const std::string& folder) {
    KamvioPara para = {};
    para.hwndHost = host;
    para.msgFileSaved = WM_KAMVIO_FILE_SAVED;
    para.msgViewfinderEnable = WM_KAMVIO_VIEWFINDER;
    para.msgStatus = WM_KAMVIO_STATUS;
    para.msgPoweredOff = WM_KAMVIO_POWERED_OFF;
    para.saveMode = 1;      // save images as files
    para.showControls = 1;  // the whole panel; 0 shows the live view alone
    para.pszSaveFolder = folder.c_str();
    LONG place[4] = {10, 10, 10 + 480, 10 + 420};  // left, top, right, bottom in the host's client area
    if (!Step("InitKamvioDlg", kamvio->InitKamvioDlg(reinterpret_cast<LONG*>(&para), place, nullptr, nullptr)) ||
        !Step("CreateKamvioDlg", kamvio->CreateKamvioDlg(nullptr)))
        return false;

    ULONG count = 0;
    if (!Step("GetDeviceCounts", kamvio->GetDeviceCounts(&count, nullptr))) return false;
    std::vector<unsigned char> sources(count * kSourceInfoSize);
    if (!Step("GetSouceInfo", kamvio->GetSouceInfo(count, reinterpret_cast<LONG*>(sources.data()), nullptr)))
        return false;
    for (ULONG i = 0; i < count; ++i)
        std::printf("  camera %lu: %.255s\n", i + 1,
                    reinterpret_cast<const char*>(&sources[i * kSourceInfoSize + kModelNameOffset]));
    if (!Step("Connect", kamvio->Connect(reinterpret_cast<LONG*>(sources.data()), nullptr))) return false;

    // A 350 x 450 passport frame with guide lines at its thirds, over the live view.
    ULONG xLines[] = {117, 233}, yLines[] = {150, 300};
    bool ok = Step("OpenViewFinder", kamvio->OpenViewFinder(TRUE, nullptr)) &&
              Step("SetDestFrameSize", kamvio->SetDestFrameSize(350, 450, nullptr)) &&
              Step("SetAdjustLinePos", kamvio->SetAdjustLinePos(2, xLines, 2, yLines, nullptr)) &&
              Step("TakePhoto", kamvio->TakePhoto(nullptr)) && WaitForPhoto(state, 30000);
    if (ok) std::printf("photo saved: %s\n", state.savedFile.c_str());
    Step("Disconnect", kamvio->Disconnect(nullptr));
    return ok;
}

std::string FolderBesideExecutable(const char* name) {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    folder = folder.substr(0, folder.rfind('\\') + 1) + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

}  // namespace

int main() {
    // The camera window and its notifications live on this thread: a single-threaded apartment.
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    bool ok = false;
    {
        HostState state;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HostWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "KamvioExampleHost";
        RegisterClassA(&wc);
        HWND host = CreateWindowExA(0, wc.lpszClassName, "Kamvio example host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                    CW_USEDEFAULT, CW_USEDEFAULT, 520, 480, nullptr, nullptr, wc.hInstance, &state);
        ShowWindow(host, SW_SHOW);

        IOvCanonSDK* kamvio = nullptr;
        HRESULT hr = CoCreateInstance(CLSID_OvCanonSDK, nullptr, CLSCTX_INPROC_SERVER, IID_IOvCanonSDK,
                                      reinterpret_cast<void**>(&kamvio));
        if (FAILED(hr)) {
            std::printf("CoCreateInstance failed (0x%08lX): is Kamvio.dll registered?\n", static_cast<unsigned long>(hr));
        } else {
            ok = ShootOnePhoto(kamvio, host, state, FolderBesideExecutable("example_images"));
            // The camera window is a child of the host window: it goes first, before the last Release.
            Step("DestroyKamvioDlg", kamvio->DestroyKamvioDlg(nullptr));
            kamvio->Release();
        }
        DestroyWindow(host);
    }
    CoUninitialize();
    return ok ? 0 : 1;
}
