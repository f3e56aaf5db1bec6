#include "tests/common/test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

namespace test_support {
namespace {

std::mutex g_boxesLock;
std::vector<CapturedBox> g_boxes;
std::atomic<bool> g_stop{false};

// A message box is a #32770 window of this process with the static text control 0xFFFF.
BOOL CALLBACK DismissIfMessageBox(HWND window, LPARAM) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (strcmp(cls, "#32770") != 0 || !GetDlgItem(window, 0xFFFF)) return TRUE;
    if (GetPropA(window, "KamvioTestSeen")) return TRUE;
    SetPropA(window, "KamvioTestSeen", reinterpret_cast<HANDLE>(1));
    CapturedBox box;
    char buffer[2048] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    box.caption = buffer;
    GetDlgItemTextA(window, 0xFFFF, buffer, sizeof buffer);
    box.text = buffer;
    {
        std::lock_guard<std::mutex> lock(g_boxesLock);
        g_boxes.push_back(box);
    }
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

// Boxes may come from any thread (SDK callbacks show warnings on their own threads), so a
// watcher polls for them rather than hooking one thread.
void WatchForBoxes() {
    while (!g_stop) {
        EnumWindows(DismissIfMessageBox, 0);
        Sleep(15);
    }
}

}  // namespace

std::vector<CapturedBox> TakeMessageBoxes() {
    std::lock_guard<std::mutex> lock(g_boxesLock);
    return std::exchange(g_boxes, {});
}

void ClearMessageBoxes() { TakeMessageBoxes(); }

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return done();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

void Drain() {
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string ExeFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (char* slash = strrchr(path, '\\')) *slash = '\0';
    return path;
}

std::string TestFile(const std::string& name) { return ExeFolder() + "\\" + name; }

std::string IniText(const std::string& file, const std::string& section, const char* key) {
    std::string text(8192, '\0');
    text.resize(GetPrivateProfileStringA(section.c_str(), key, "", &text[0], 8192, TestFile(file).c_str()));
    return text;
}

HWND ClassWindow(const char* className, const char* title, DWORD style, int width, int height, WNDPROC proc,
                 HWND parent, HMENU menu, void* param) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc ? proc : DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc);  // fails harmlessly when registered already
    return CreateWindowExA(0, className, title, style, 0, 0, width, height, parent, menu, wc.hInstance, param);
}

using WindowSearch = std::pair<const std::function<bool(HWND)>*, HWND>;
static BOOL CALLBACK MatchWindow(HWND w, LPARAM s) {
    auto* search = reinterpret_cast<WindowSearch*>(s);
    return (*search->first)(w) ? (search->second = w, FALSE) : TRUE;
}

HWND FindThreadWindow(const std::function<bool(HWND)>& match) {
    WindowSearch search{&match, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

std::string Text(HWND window, int id) {
    char text[1024] = {};
    return std::string(text, GetWindowTextA(id ? GetDlgItem(window, id) : window, text, sizeof text));
}

GuardedBlock::GuardedBlock(size_t size, uint8_t fill) {
    const size_t page = 4096, pages = (size + page - 1) / page + 1;
    m_base = VirtualAlloc(nullptr, pages * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    DWORD old = 0;
    VirtualProtect(static_cast<uint8_t*>(m_base) + (pages - 1) * page, page, PAGE_NOACCESS, &old);
    m_data = static_cast<uint8_t*>(m_base) + (pages - 1) * page - size;
    memset(m_data, fill, size);
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    return fclose(f) == 0 && ok;
}

}  // namespace test_support

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Under Wine, comctl32's start-up can deadlock with a thread that is listing windows:
    // load it before the watcher runs.
    LoadLibraryA("comctl32.dll");
    std::thread watcher(test_support::WatchForBoxes);
    int result = RUN_ALL_TESTS();
    test_support::g_stop = true;
    watcher.join();
    return result;
}
