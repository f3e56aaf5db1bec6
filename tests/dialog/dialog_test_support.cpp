#include "tests/dialog/dialog_test_support.h"

#include <algorithm>
#include <cstring>
#include <sstream>

namespace {
constexpr UINT kRunAction = WM_APP + 50;
}  // namespace

HostWindow::HostWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KamvioDialogTestHost";
    RegisterClassA(&wc);  // fails harmlessly when already registered
    m_hwnd = CreateWindowExA(0, wc.lpszClassName, "Host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                             800, 700, nullptr, nullptr, wc.hInstance, this);
}

std::vector<Notification> HostWindow::Of(UINT message) const {
    std::vector<Notification> found;
    std::copy_if(m_received.begin(), m_received.end(), std::back_inserter(found),
                 [message](const Notification& n) { return std::get<0>(n) == message; });
    return found;
}

void HostWindow::PostAction(std::function<void()> action) {
    m_actions.push_back(std::move(action));
    PostMessageA(m_hwnd, kRunAction, 0, 0);
}

LRESULT CALLBACK HostWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && message >= kMsgFileSaved && message <= kMsgPoweredOff) {
        const char* text = reinterpret_cast<const char*>(message == kMsgFileSaved ? wParam
                                                         : message == kMsgStatus  ? lParam
                                                                                  : 0);
        self->m_received.emplace_back(message, wParam, lParam, text ? std::string(text, strnlen(text, MAX_PATH)) : "");
        return 0;
    }
    if (self && message == kRunAction && !self->m_actions.empty()) {
        auto action = std::move(self->m_actions.front());
        self->m_actions.erase(self->m_actions.begin());
        action();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<SimCall> Sim::Calls(const char* name) const {
    std::vector<SimCall> calls;
    for (uint32_t i = 0, n = SimLogCount(); i < n; ++i) {
        SimCall call{};
        if (SimLogGet(i, &call) && strcmp(call.name, name) == 0) calls.push_back(call);
    }
    return calls;
}

Sim& CameraWindowTest::sim() {
    static Sim sim = [] {
        Sim loaded;
        if (HMODULE module = LoadLibraryA(TestFile("CDSDK.dll").c_str())) {
#define SIM_RESOLVE(ret, name, params) loaded.name = reinterpret_cast<PFN_##name>(GetProcAddress(module, #name));
            SIM_CONTROL_EXPORTS(SIM_RESOLVE)
#undef SIM_RESOLVE
        }
        return loaded;
    }();
    return sim;
}

std::vector<uint8_t> MakeFrame(uint32_t w, uint32_t h, const std::function<COLORREF(uint32_t, uint32_t)>& pixel) {
    const uint32_t row = (w * 3 + 3) & ~3u, offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    std::vector<uint8_t> frame(offset + static_cast<size_t>(row) * h, 0);
    const BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(frame.size()), 0, 0, offset};
    const BITMAPINFOHEADER info{sizeof info, LONG(w), LONG(h), 1, 24, BI_RGB, row * h, 0, 0, 0, 0};
    memcpy(&frame[0], &file, sizeof file);
    memcpy(&frame[sizeof file], &info, sizeof info);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* p = &frame[offset + static_cast<size_t>(h - 1 - y) * row + x * 3];  // bottom-up
            const COLORREF c = pixel(x, y);
            p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
        }
    return frame;
}

std::string IniText(const char* file, const char* section, const char* key) {
    std::string text(8192, '\0');
    text.resize(GetPrivateProfileStringA(section, key, "", &text[0], 8192, TestFile(file).c_str()));
    return text;
}

RECT ClientRectOf(HWND dialog, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Place(HWND dialog, int id) {
    const RECT r = ClientRectOf(dialog, id);
    char text[64];
    snprintf(text, sizeof text, "%04d,%04d,%04d,%04d", int(r.left), int(r.top), int(r.right - r.left),
             int(r.bottom - r.top));
    return text;
}

std::string Controls(HWND dialog) {
    const int ids[] = {IDC_HandleCanonDlg_SourceCmb, IDC_HandleCanonDlg_Connect, IDC_HndlCnnDlg_Setting,
                       IDC_HandleCanonDlg_DisCnect,  IDC_HandleCanonDlg_Release, IDC_HndlCnnDlg_ViewFinder,
                       IDC_HndlCnnDlg_ToLCD,         IDC_HndlCnnDlg_ZomSldr,     IDC_BtnSearch,
                       IDC_HndlCnnDlg_View,          IDOK,                       IDC_HndlCnnDlg_ZoomLabel,
                       IDC_HndlCnnDlg_TestShoot};
    std::istringstream names("Source Connect Setting Disconnect Release Viewfinder LCD Zoom Search View OK ZoomLabel "
                             "TestShoot");
    std::string state, name;
    for (int id : ids) {
        names >> name;
        name += IsWindowEnabled(GetDlgItem(dialog, id)) ? "" : "-";
        state += (state.empty() ? "" : " ") + (Visible(dialog, id) ? name : "(" + name + ")");
    }
    return state;
}

void CameraWindowTest::SetUp() {
    for (const char* name : {"KamvioPos.ini", "SetData.ini", "FilePath.ini", "KamvioML.ini"})
        DeleteFileA(TestFile(name).c_str());
    ASSERT_TRUE(sim().SimReset) << "CDSDK.dll beside the test";
    sim().SimReset();
    test_support::ClearMessageBoxes();
    ASSERT_NE(host.hwnd(), nullptr);
}

void CameraWindowTest::OpenModeless(uint32_t showControls, const RECT* rect) {
    dialog = std::make_unique<CameraDialog>(host.hwnd());
    para = Para(host.hwnd(), showControls);
    dialog->ApplyPara(&para);
    if (rect) dialog->SetWindowRect(*rect);
    EXPECT_TRUE(dialog->Create(host.hwnd()));
    dialog->ShowWindow(SW_SHOW);
    Drain();
}

void CameraWindowTest::ConnectWithButton(int index) {
    Combo(CB_SETCURSEL, static_cast<WPARAM>(index));
    Click(hwnd(), IDC_HandleCanonDlg_Connect);
    Drain();
}

void CameraWindowTest::Drain() {
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

COLORREF CameraWindowTest::ViewCentre() const {
    const RECT r = ClientRectOf(hwnd(), IDC_HndlCnnDlg_View);
    return WindowPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}
