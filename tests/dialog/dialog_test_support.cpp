#include "tests/dialog/dialog_test_support.h"

#include <winternl.h>

#include <cstring>

#include "tests/common/test_support.h"

namespace dialog_test {

namespace {
constexpr char kHostClass[] = "KamvioDialogTestHost";
constexpr UINT kRunAction = WM_APP + 50;

std::string TextAt(const void* address) {
    if (!address) return {};
    const auto* text = static_cast<const char*>(address);
    return std::string(text, strnlen(text, MAX_PATH));
}
}  // namespace

HostWindow::HostWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kHostClass;
    RegisterClassA(&wc);  // fails harmlessly when already registered
    m_hwnd = CreateWindowExA(0, kHostClass, "Host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800, 700, nullptr,
                             nullptr, GetModuleHandleA(nullptr), this);
    if (m_hwnd) ::ShowWindow(m_hwnd, SW_SHOW);
}

HostWindow::~HostWindow() {
    if (m_hwnd) {
        SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
}

std::vector<Notification> HostWindow::Take() { return std::exchange(m_received, {}); }

std::vector<Notification> HostWindow::Of(UINT message) const {
    std::vector<Notification> found;
    for (const Notification& n : m_received)
        if (n.message == message) found.push_back(n);
    return found;
}

void HostWindow::PostAction(std::function<void()> action) {
    m_actions.push_back(std::move(action));
    PostMessageA(m_hwnd, kRunAction, 0, 0);
}

LRESULT CALLBACK HostWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self) {
        switch (message) {
        case kMsgFileSaved:
            self->m_received.push_back({message, wParam, lParam, TextAt(reinterpret_cast<void*>(wParam))});
            return 0;
        case kMsgStatus:
            self->m_received.push_back({message, wParam, lParam, TextAt(reinterpret_cast<void*>(lParam))});
            return 0;
        case kMsgViewfinderEnable:
        case kMsgPoweredOff:
            self->m_received.push_back({message, wParam, lParam, {}});
            return 0;
        case kRunAction:
            if (!self->m_actions.empty()) {
                auto action = std::move(self->m_actions.front());
                self->m_actions.erase(self->m_actions.begin());
                action();
            }
            return 0;
        default:
            break;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

KamvioPara MakePara(HWND host, uint32_t showControls, uint8_t saveMode, const char* folder) {
    KamvioPara para{};
    para.hwndHost = host;
    para.msgFileSaved = kMsgFileSaved;
    para.msgViewfinderEnable = kMsgViewfinderEnable;
    para.saveMode = saveMode;
    para.showControls = showControls;
    para.pszSaveFolder = folder;
    para.msgStatus = kMsgStatus;
    para.msgPoweredOff = kMsgPoweredOff;
    return para;
}

bool Sim::Load() {
    if (SimReset) return true;
    HMODULE module = LoadLibraryA((TestFolder() + "\\CDSDK.dll").c_str());
    if (!module) return false;
#define SIM_RESOLVE(ret, name, params) name = reinterpret_cast<PFN_##name>(GetProcAddress(module, #name));
    SIM_CONTROL_EXPORTS(SIM_RESOLVE)
#undef SIM_RESOLVE
    return SimReset != nullptr;
}

std::vector<SimCall> Sim::Calls(const char* name) const {
    std::vector<SimCall> calls;
    const uint32_t n = SimLogCount();
    for (uint32_t i = 0; i < n; ++i) {
        SimCall call{};
        if (SimLogGet(i, &call) && strcmp(call.name, name) == 0) calls.push_back(call);
    }
    return calls;
}

int Sim::Count(const char* name) const { return static_cast<int>(Calls(name).size()); }

uint32_t Sim::Setting(const char* key) const {
    uint32_t value = 0xDEADBEEF;
    SimGetSetting(key, &value);
    return value;
}

Sim& Simulator() {
    static Sim sim;
    sim.Load();
    return sim;
}

std::vector<uint8_t> MakeFrame(uint32_t w, uint32_t h, const std::function<COLORREF(uint32_t, uint32_t)>& pixel) {
    const uint32_t row = (w * 3 + 3) & ~3u;
    const uint32_t offset = 14 + 40;
    std::vector<uint8_t> frame(offset + static_cast<size_t>(row) * h, 0);
    auto put32 = [&](size_t at, uint32_t v) { memcpy(&frame[at], &v, 4); };
    frame[0] = 'B';
    frame[1] = 'M';
    put32(2, static_cast<uint32_t>(frame.size()));
    put32(10, offset);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = static_cast<LONG>(w);
    header.biHeight = static_cast<LONG>(h);
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = row * h;
    memcpy(&frame[14], &header, sizeof header);
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t* line = &frame[offset + static_cast<size_t>(h - 1 - y) * row];  // bottom-up
        for (uint32_t x = 0; x < w; ++x) {
            const COLORREF c = pixel(x, y);
            line[x * 3 + 0] = GetBValue(c);
            line[x * 3 + 1] = GetGValue(c);
            line[x * 3 + 2] = GetRValue(c);
        }
    }
    return frame;
}

std::vector<uint8_t> SolidFrame(uint32_t w, uint32_t h, COLORREF colour) {
    return MakeFrame(w, h, [colour](uint32_t, uint32_t) { return colour; });
}

COLORREF PixelAt(HDC dc, int x, int y) { return GetPixel(dc, x, y) & 0xFFFFFF; }

std::string IniValue(const std::string& file, const char* section, const char* key) {
    char value[1024] = {};
    GetPrivateProfileStringA(section, key, "", value, sizeof value, file.c_str());
    return value;
}

std::vector<std::string> IniKeys(const std::string& file, const char* section) {
    std::vector<char> buffer(8192, '\0');
    DWORD n = GetPrivateProfileStringA(section, nullptr, "", buffer.data(), static_cast<DWORD>(buffer.size()),
                                       file.c_str());
    std::vector<std::string> keys;
    for (DWORD i = 0; i < n;) {
        std::string key(&buffer[i]);
        if (key.empty()) break;
        i += static_cast<DWORD>(key.size()) + 1;
        keys.push_back(key);
    }
    return keys;
}

std::string TestFolder() { return test_support::ExeFolder(); }

std::string TestFile(const char* name) { return TestFolder() + "\\" + name; }

void RemoveSettingsFiles() {
    for (const char* name : {"KamvioPos.ini", "SetData.ini", "FilePath.ini", "KamvioML.ini"})
        DeleteFileA(TestFile(name).c_str());
}

namespace {

struct WineGdiEntry {  // one entry of Wine's shared GDI handle table
    uint64_t object;
    uint32_t owner;
    uint16_t unique;
    uint8_t type;
    uint8_t flags;
    uint64_t user;
};

long CountGdiObjects() {
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted) return static_cast<long>(counted);
    // Wine's counter is a stub; its shared handle table hangs off the process block as on Windows.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"  // the segment-register read of NtCurrentTeb
    const auto* peb = reinterpret_cast<const char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
#pragma GCC diagnostic pop
    const size_t offset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    const auto* table = *reinterpret_cast<const WineGdiEntry* const*>(peb + offset);
    if (!table) return -1;
    long n = 0;
    for (size_t i = 0; i < 0x10000; ++i)
        if (table[i].type) ++n;
    return n;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    EnumChildWindows(window, CountChild, count);
    return TRUE;
}

long CountUserObjects() {
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (counted) return static_cast<long>(counted);
    long n = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&n));
    return n;
}

long CountHandles() {
    DWORD counted = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &counted) && counted) return static_cast<long>(counted);
    long n = 0;
    for (uintptr_t value = 4; value < 0x4000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++n;
    }
    return n;
}

}  // namespace

ResourceCounts MeasureResources() { return {CountGdiObjects(), CountUserObjects(), CountHandles()}; }

bool Visible(HWND dialog, int id) { return (GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0; }

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

std::string Text(HWND dialog, int id) {
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

RECT ClientRectOf(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace dialog_test
