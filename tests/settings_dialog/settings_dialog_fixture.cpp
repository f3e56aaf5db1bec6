#include "tests/settings_dialog/settings_dialog_fixture.h"

#include <cstring>
#include <memory>

#include "camera/camera_messages.h"

using namespace dialog_test;

namespace settings_test {

namespace {

constexpr const char* kSettingWriters[] = {
    "CDSetImageFormatAttribute", "CDSetWBSetting",          "CDSetExposureComp",       "CDSetFlashSetting",
    "CDSetShootingMode",         "CDSetTvValue",            "CDSetAvValue",            "CDSetRelCamSettingData",
    "CDSetDevicePropertyData",   "CDSetZoomPos",
};

bool IsSettingWriter(const char* name) {
    for (const char* writer : kSettingWriters)
        if (strcmp(writer, name) == 0) return true;
    return false;
}

}  // namespace

std::vector<SimCall> SettingCalls() {
    std::vector<SimCall> calls;
    const uint32_t n = Simulator().SimLogCount();
    for (uint32_t i = 0; i < n; ++i) {
        SimCall call{};
        if (Simulator().SimLogGet(i, &call) && IsSettingWriter(call.name)) calls.push_back(call);
    }
    return calls;
}

std::vector<std::string> Names(const std::vector<SimCall>& calls) {
    std::vector<std::string> names;
    for (const SimCall& call : calls) names.emplace_back(call.name);
    return names;
}

std::vector<uint8_t> Data(const SimCall& call) {
    const uint32_t size = call.dataSize < sizeof call.data ? call.dataSize : sizeof call.data;
    return std::vector<uint8_t>(call.data, call.data + size);
}

// ---- recorder window

namespace {
constexpr char kRecorderClass[] = "KamvioSettingsNotifyRecorder";
}

NotifyRecorder::NotifyRecorder() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kRecorderClass;
    RegisterClassA(&wc);
    m_hwnd = CreateWindowExA(0, kRecorderClass, "Recorder", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                             GetModuleHandleA(nullptr), this);
}

NotifyRecorder::~NotifyRecorder() {
    if (m_hwnd) {
        SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
}

LRESULT CALLBACK NotifyRecorder::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<NotifyRecorder*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && (message == WM_CAM_TIMER_SHOOT || message == WM_CAM_SET_SAVE_FOLDER)) {
        std::string text;
        if (message == WM_CAM_SET_SAVE_FOLDER && wParam) {
            const char* folder = reinterpret_cast<const char*>(wParam);
            text.assign(folder, strnlen(folder, 4096));
        }
        self->received.push_back({message, wParam, lParam, text});
        if (self->onMessage) self->onMessage(self->received.back());
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// ---- dialogs that appear inside modal loops

namespace {

struct PendingDialog {
    std::function<bool(HWND)> match;
    std::function<void(HWND)> action;
    DWORD started = 0;
    UINT_PTR timer = 0;
};
std::unique_ptr<PendingDialog> g_pending;

struct Search {
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK FindMatching(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (strcmp(cls, "#32770") == 0 && IsWindowVisible(window) && (*search->match)(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK CheckPending(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_pending) return;
    Search search{&g_pending->match, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindMatching, reinterpret_cast<LPARAM>(&search));
    const bool expired = GetTickCount() - g_pending->started > 10000;
    if (!search.found && !expired) return;
    std::unique_ptr<PendingDialog> pending = std::move(g_pending);
    KillTimer(nullptr, pending->timer);
    if (search.found) pending->action(search.found);
}

}  // namespace

void WhenDialogAppears(std::function<bool(HWND)> match, std::function<void(HWND)> action) {
    g_pending = std::make_unique<PendingDialog>();
    g_pending->match = std::move(match);
    g_pending->action = std::move(action);
    g_pending->started = GetTickCount();
    g_pending->timer = SetTimer(nullptr, 0, 20, CheckPending);
}

bool IsSettingsWindow(HWND window) { return GetDlgItem(window, IDC_BtnTimerStart) != nullptr; }

// ---- controls

void Select(HWND dialog, int comboId, int index) {
    HWND combo = GetDlgItem(dialog, comboId);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int Count(HWND dialog, int comboId) {
    return static_cast<int>(SendDlgItemMessageA(dialog, comboId, CB_GETCOUNT, 0, 0));
}

int Selection(HWND dialog, int comboId) {
    return static_cast<int>(SendDlgItemMessageA(dialog, comboId, CB_GETCURSEL, 0, 0));
}

LPARAM ItemData(HWND dialog, int comboId, int index) {
    return static_cast<LPARAM>(SendDlgItemMessageA(dialog, comboId, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void Type(HWND dialog, int editId, const std::string& text) { SetDlgItemTextA(dialog, editId, text.c_str()); }

}  // namespace settings_test

// ---- fixture

void SettingsDialogTest::SetUp() { CameraWindowTest::SetUp(); }

void SettingsDialogTest::TearDown() {
    CameraWindowTest::TearDown();
    for (const std::string& folder : m_folders) {
        DeleteFileA((folder + "\\marker.txt").c_str());
        RemoveDirectoryA(folder.c_str());
    }
}

void SettingsDialogTest::OpenConnected(int index) {
    OpenModeless(1);
    ConnectWithButton(index);
    ASSERT_TRUE(Enabled(hwnd(), IDC_HndlCnnDlg_Setting));
    sim().SimLogClear();
    host.Clear();
}

void SettingsDialogTest::Store(const std::string& section, const char* key, const char* value) const {
    WritePrivateProfileStringA(section.c_str(), key, value, TestFile("SetData.ini").c_str());
}

std::string SettingsDialogTest::Stored(const char* key, int index) const {
    return IniValue(TestFile("SetData.ini"), Section(index).c_str(), key);
}

std::vector<std::string> SettingsDialogTest::StoredKeys(int index) const {
    return IniKeys(TestFile("SetData.ini"), Section(index).c_str());
}

namespace {
BOOL CALLBACK FindSettings(HWND window, LPARAM context) {
    if (!settings_test::IsSettingsWindow(window)) return TRUE;
    *reinterpret_cast<HWND*>(context) = window;
    return FALSE;
}
}  // namespace

HWND SettingsDialogTest::FindSettingsWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindSettings, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND SettingsDialogTest::OpenSettings() {
    Click(hwnd(), IDC_HndlCnnDlg_Setting);
    Drain();
    return FindSettingsWindow();
}

std::string SettingsDialogTest::MakeFolder(const char* name) {
    const std::string folder = TestFile(name);
    CreateDirectoryA(folder.c_str(), nullptr);
    test_support::WriteTextFile(folder + "\\marker.txt", "x");
    m_folders.push_back(folder);
    return folder;
}
