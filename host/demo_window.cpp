#include "host/demo_window.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/host_folder.h"
#include "resources/resource_ids.h"
#include "sdk/cdsdk_contract.h"
#include "simulator/sim_control.h"

namespace {
constexpr int kLogId = 100;
constexpr int kLiveOnlyWidth = 400, kLiveOnlyHeight = 300;
constexpr int kMargin = 8;
constexpr UINT_PTR kSettledTimer = 1;
// Long enough for a few viewfinder frames and the settings dialog's first fill.
constexpr UINT kSettleMs = 2500;
}  // namespace

struct DemoWindow::Command {
    UINT id;        // 0: separator
    const char* menu;
    const char* text;
    void (*run)(DemoWindow&);
};

// One table for the menu and the dispatch of its commands.
const DemoWindow::Command DemoWindow::kCommands[] = {
    {1001, "&Camera", "&Connect first camera", [](DemoWindow& w) { w.ConnectFirst(); }},
    {1002, "&Camera", "&Disconnect", [](DemoWindow& w) { w.Report("Disconnect", w.m_kamvio->Disconnect(nullptr)); }},
    {1003, "&Camera", "Is c&onnected?", [](DemoWindow& w) {
         LONG connected = 0;
         HRESULT hr = w.m_kamvio->IsConnected(&connected, nullptr);
         w.Report("IsConnected", hr);
         if (SUCCEEDED(hr)) w.Log(connected ? "  a camera is connected" : "  no camera is connected");
     }},
    {0, "&Camera", nullptr, nullptr},
    {1004, "&Camera", "&Take photo\tF5", [](DemoWindow& w) { w.Report("TakePhoto", w.m_kamvio->TakePhoto(nullptr)); }},
    {1005, "&Camera", "&Settings dialog...", [](DemoWindow& w) { w.Report("PopSettingDlg", w.m_kamvio->PopSettingDlg(nullptr)); }},
    {1006, "&Camera", "&Apply stored settings of this camera", [](DemoWindow& w) { w.ApplyStoredSettings(); }},
    {0, "&Camera", nullptr, nullptr},
    {1007, "&Camera", "&Modal camera window...", [](DemoWindow& w) { w.RunModal(); }},
    {0, "&Camera", nullptr, nullptr},
    {1008, "&Camera", "E&xit", [](DemoWindow& w) { DestroyWindow(w.m_window->hwnd()); }},
    {1101, "&View", "Viewfinder &on", [](DemoWindow& w) { w.Report("OpenViewFinder(1)", w.m_kamvio->OpenViewFinder(TRUE, nullptr)); }},
    {1102, "&View", "Viewfinder o&ff", [](DemoWindow& w) { w.Report("OpenViewFinder(0)", w.m_kamvio->OpenViewFinder(FALSE, nullptr)); }},
    {1103, "&View", "Camera &LCD view on", [](DemoWindow& w) { w.Report("OpenCameraLCDView(1)", w.m_kamvio->OpenCameraLCDView(TRUE, nullptr)); }},
    {1104, "&View", "Camera LCD view off", [](DemoWindow& w) { w.Report("OpenCameraLCDView(0)", w.m_kamvio->OpenCameraLCDView(FALSE, nullptr)); }},
    {0, "&View", nullptr, nullptr},
    {1105, "&View", "Frame 4:3 (1600 x 1200)", [](DemoWindow& w) { w.Frame(1600, 1200); }},
    {1106, "&View", "Frame passport (350 x 450)", [](DemoWindow& w) { w.Frame(350, 450); }},
    {1107, "&View", "Frame square (1000 x 1000)", [](DemoWindow& w) { w.Frame(1000, 1000); }},
    {0, "&View", nullptr, nullptr},
    {1108, "&View", "Guide lines: thirds", [](DemoWindow& w) { w.Guides(1); }},
    {1109, "&View", "Guide lines: centre", [](DemoWindow& w) { w.Guides(2); }},
    {1110, "&View", "Guide lines: none", [](DemoWindow& w) { w.Guides(0); }},
    {1201, "&Zoom", "&Wide", [](DemoWindow& w) { w.Zoom(0); }},
    {1202, "&Zoom", "&Middle", [](DemoWindow& w) { w.Zoom(1); }},
    {1203, "&Zoom", "&Tele", [](DemoWindow& w) { w.Zoom(2); }},
    {1204, "&Zoom", "&Show position", [](DemoWindow& w) { w.ShowZoom(); }},
    // Only the simulated camera SDK answers these (the real one has no such exports).
    {1301, "&Simulator", "Switch the camera &off", [](DemoWindow& w) { w.Simulate("SimPowerOff"); }},
    {1302, "&Simulator", "&Unplug the camera", [](DemoWindow& w) { w.Simulate("SimUnplug"); }},
    {1303, "&Simulator", "Switch cameras o&n again", [](DemoWindow& w) { w.Simulate("SimPowerOn"); }},
    {0, "&Simulator", nullptr, nullptr},
    {1304, "&Simulator", "Press the camera's &shutter button", [](DemoWindow& w) { w.Simulate("SimPressShutter"); }},
    {0, "&Simulator", nullptr, nullptr},
    {1305, "&Simulator", "Next shot &fails", [](DemoWindow& w) { w.InjectFault("CDRelease"); }},
    {1306, "&Simulator", "Next connection finds the camera &busy", [](DemoWindow& w) { w.InjectFault("CDOpenSource"); }},
    {1307, "&Simulator", "&Clear faults", [](DemoWindow& w) {
         if (auto clear = w.SimulatorExport<PFN_SimClearFaults>("SimClearFaults")) clear();
     }},
};

DemoWindow::~DemoWindow() {
    if (m_kamvio) m_kamvio->DestroyKamvioDlg(nullptr);
    m_kamvio.reset();
}

HMENU DemoWindow::BuildMenu() const {
    HMENU bar = CreateMenu();
    HMENU popup = nullptr;
    const char* current = nullptr;
    for (const Command& c : kCommands) {
        if (!current || std::strcmp(current, c.menu) != 0) {
            popup = CreatePopupMenu();
            AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), c.menu);
            current = c.menu;
        }
        if (c.id)
            AppendMenuA(popup, MF_STRING, c.id, c.text);
        else
            AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    }
    return bar;
}

bool DemoWindow::Open(bool liveOnly, std::string* error) {
    m_folder = HostExecutableFolder() + "\\images";
    CreateDirectoryA(m_folder.c_str(), nullptr);
    HRESULT hr = CreateKamvio(&m_kamvio);
    if (FAILED(hr)) {
        *error = "creating Kamvio.OvCanonSDK (is Kamvio.dll registered?): " + HResultText(hr);
        return false;
    }
    m_window = std::make_unique<NotificationWindow>(
        "Kamvio demo host", WS_OVERLAPPEDWINDOW, [this](const HostNote& n) { OnNote(n); },
        [this](HWND h, UINT m, WPARAM w, LPARAM l, LRESULT& r) { return OnMessage(h, m, w, l, r); });
    if (!m_window->hwnd()) {
        *error = "cannot create the host window";
        return false;
    }
    SetMenu(m_window->hwnd(), BuildMenu());
    m_log = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                            0, 0, 10, 10, m_window->hwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLogId)),
                            GetModuleHandleA(nullptr), nullptr);
    SendMessageA(m_log, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    Layout();

    KamvioPara para = m_window->Para(m_folder.c_str(), !liveOnly);
    // The live view alone takes any size; the whole panel keeps its template's own size, which
    // depends on the dialog font, and is only moved off the window's edge.
    LONG rect[4] = {kMargin, kMargin, kMargin + kLiveOnlyWidth, kMargin + kLiveOnlyHeight};
    Report("InitKamvioDlg", m_kamvio->InitKamvioDlg(reinterpret_cast<LONG*>(&para), liveOnly ? rect : nullptr,
                                                    nullptr, nullptr));
    Report("CreateKamvioDlg", m_kamvio->CreateKamvioDlg(nullptr));
    if (HWND camera = CameraWindow())
        SetWindowPos(camera, nullptr, kMargin, kMargin, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
    Log("images are saved into " + m_folder);
    ShowWindow(m_window->hwnd(), SW_SHOW);
    return true;
}

int DemoWindow::RunMessageLoop() {
    ACCEL f5 = {FVIRTKEY, VK_F5, 1004};
    HACCEL accelerators = CreateAcceleratorTableA(&f5, 1);
    MSG msg;
    while (m_window->hwnd() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(m_window->hwnd(), accelerators, &msg)) continue;
        // Tab and arrow keys inside the embedded camera window.
        HWND camera = CameraWindow();
        if (camera && IsDialogMessageA(camera, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DestroyAcceleratorTable(accelerators);
    return 0;
}

bool DemoWindow::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        for (const Command& c : kCommands)
            if (c.id && c.id == LOWORD(wParam)) {
                c.run(*this);
                result = 0;
                return true;
            }
        return false;
    case WM_SIZE:
        Layout();
        return false;
    case WM_TIMER:
        if (wParam != kSettledTimer) return false;
        KillTimer(hwnd, kSettledTimer);
        PrintPosedWindow();
        result = 0;
        return true;
    case WM_DESTROY:
        // The camera window is a child: it must go while the host window still exists.
        if (m_kamvio) m_kamvio->DestroyKamvioDlg(nullptr);
        PostQuitMessage(0);
        return false;
    }
    (void)hwnd;
    return false;
}

void DemoWindow::Layout() {
    if (!m_log) return;
    RECT client;
    GetClientRect(m_window->hwnd(), &client);
    RECT camera = {0, 0, kLiveOnlyWidth, kLiveOnlyHeight};
    if (HWND window = CameraWindow()) GetWindowRect(window, &camera);
    int left = 2 * kMargin + (camera.right - camera.left);
    MoveWindow(m_log, left, kMargin, client.right - left - kMargin, client.bottom - 2 * kMargin, TRUE);
}

void DemoWindow::Log(const std::string& line) {
    if (!m_log) return;
    LRESULT index = SendMessageA(m_log, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    if (index >= 0) SendMessageA(m_log, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

void DemoWindow::Report(const char* method, HRESULT hr) {
    Log(std::string(method) + (hr == S_OK ? ": S_OK" : hr == E_FAIL ? ": E_FAIL" : ": " + HResultText(hr)));
}

void DemoWindow::OnNote(const HostNote& note) {
    if (note.kind == HostNote::Status && note.flag && !note.text.empty()) m_camera = note.text;
    Log("notification: " + note.Describe());
}

void DemoWindow::ConnectFirst() {
    ULONG count = 0;
    HRESULT hr = m_kamvio->GetDeviceCounts(&count, nullptr);
    Report("GetDeviceCounts", hr);
    if (FAILED(hr) || count == 0) return;
    std::vector<SourceInfo> sources(count);
    hr = m_kamvio->GetSouceInfo(count, reinterpret_cast<LONG*>(sources.data()), nullptr);
    Report("GetSouceInfo", hr);
    if (FAILED(hr)) return;
    for (SourceInfo& s : sources) {
        s.modelName[sizeof s.modelName - 1] = '\0';
        Log(std::string("  camera: ") + s.modelName);
    }
    Report("Connect", m_kamvio->Connect(reinterpret_cast<LONG*>(&sources[0]), nullptr));
}

void DemoWindow::ShowZoom() {
    ULONG maxPos = 0, pos = 0;
    HRESULT a = m_kamvio->GetMaxZoomPos(&maxPos, nullptr);
    HRESULT b = m_kamvio->GetCurrentZoomPos(&pos, nullptr);
    Report("GetMaxZoomPos", a);
    Report("GetCurrentZoomPos", b);
    if (SUCCEEDED(a) && SUCCEEDED(b)) Log("  zoom " + std::to_string(pos) + " of " + std::to_string(maxPos));
}

void DemoWindow::Zoom(int where) {
    ULONG maxPos = 0;
    HRESULT hr = m_kamvio->GetMaxZoomPos(&maxPos, nullptr);
    if (FAILED(hr)) return Report("GetMaxZoomPos", hr);
    ULONG target = where == 0 ? 0 : where == 1 ? maxPos / 2 : maxPos;
    Report(("SetZoomPos(" + std::to_string(target) + ")").c_str(), m_kamvio->SetZoomPos(target, nullptr));
}

void DemoWindow::Frame(ULONG width, ULONG height) {
    m_frameWidth = width;
    m_frameHeight = height;
    Report("SetDestFrameSize", m_kamvio->SetDestFrameSize(width, height, nullptr));
    Guides(1);  // a frame is drawn only together with guide lines
}

void DemoWindow::Guides(int kind) {
    std::vector<ULONG> xs, ys;
    if (kind == 1) {
        xs = {m_frameWidth / 3, 2 * m_frameWidth / 3};
        ys = {m_frameHeight / 3, 2 * m_frameHeight / 3};
    } else if (kind == 2) {
        xs = {m_frameWidth / 2};
        ys = {m_frameHeight / 2};
    }
    ULONG none = 0;
    Report("SetAdjustLinePos", m_kamvio->SetAdjustLinePos(static_cast<ULONG>(xs.size()), xs.empty() ? &none : xs.data(),
                                                          static_cast<ULONG>(ys.size()), ys.empty() ? &none : ys.data(),
                                                          nullptr));
}

void DemoWindow::ApplyStoredSettings() {
    if (m_camera.empty()) return Log("connect a camera first: its name selects the stored settings");
    std::wstring wide(m_camera.begin(), m_camera.end());
    UniqueBstr name(SysAllocString(wide.c_str()));
    Report(("InitDCSettingByIniFile(" + m_camera + ")").c_str(), m_kamvio->InitDCSettingByIniFile(name.get(), nullptr));
}

void DemoWindow::RunModal() {
    KamvioPara para = m_window->Para(m_folder.c_str(), true);
    Report("DoModal", m_kamvio->DoModal(reinterpret_cast<LONG*>(&para)));
}

HWND DemoWindow::CameraWindow() const {
    return m_window ? FindWindowExA(m_window->hwnd(), nullptr, "#32770", nullptr) : nullptr;
}

void DemoWindow::Press(int id) {
    HWND camera = CameraWindow();
    HWND button = camera ? GetDlgItem(camera, id) : nullptr;
    if (!button || !IsWindowEnabled(button)) return Log("the camera window's button " + std::to_string(id) + " is not there or disabled");
    SendMessageA(camera, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void DemoWindow::Pose(const HostOptions& options) {
    m_printSettings = options.settings;
    if (options.view || options.settings) {
        if (options.liveOnly) {
            // No buttons in this mode: the host drives everything through the interface.
            ConnectFirst();
            Report("OpenViewFinder(1)", m_kamvio->OpenViewFinder(TRUE, nullptr));
        } else {
            Press(IDC_HandleCanonDlg_Connect);
            if (options.view) Press(IDC_HndlCnnDlg_ViewFinder);
        }
        if (options.view) Frame(350, 450);
        if (options.settings) Press(IDC_HndlCnnDlg_Setting);
    }
    if (options.printWindow) SetTimer(m_window->hwnd(), kSettledTimer, kSettleMs, nullptr);
}

namespace {
BOOL CALLBACK FindSettingsDialog(HWND window, LPARAM found) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (!IsWindowVisible(window) || std::strcmp(name, "#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}
}  // namespace

void DemoWindow::PrintPosedWindow() {
    HWND target = CameraWindow();
    if (m_printSettings) {
        // The settings dialog is the thread's one visible top-level dialog.
        target = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindSettingsDialog, reinterpret_cast<LPARAM>(&target));
    }
    RECT r;
    if (!target || !GetWindowRect(target, &r)) {
        std::printf("window none\n");
    } else {
        std::printf("window %ld %ld %ld %ld\n", static_cast<long>(r.left), static_cast<long>(r.top),
                    static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
    }
    std::fflush(stdout);
}

void DemoWindow::Simulate(const char* name) {
    if (auto action = SimulatorExport<PFN_SimPowerOn>(name))
        Log(std::string("simulator: ") + name + " -> " + std::to_string(action()));
}

void DemoWindow::InjectFault(const char* entry) {
    // 0x81: the camera is busy. The next call of the entry point answers it, once.
    if (auto fault = SimulatorExport<PFN_SimSetFault>("SimSetFault"))
        Log(std::string("simulator: the next ") + entry + (fault(entry, 0x81, 1) ? " fails" : ": no such entry point"));
}
