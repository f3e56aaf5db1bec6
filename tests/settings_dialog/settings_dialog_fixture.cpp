#include "tests/settings_dialog/settings_dialog_fixture.h"

#include <cstring>

#include "camera/camera_messages.h"

namespace settings_test {

namespace {

constexpr char kHostClass[] = "KamvioSettingsTestHost";
constexpr char kRecorderClass[] = "KamvioSettingsNotifyRecorder";

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

std::vector<SimCall> Log() {
    std::vector<SimCall> calls;
    const uint32_t n = Simulator().SimLogCount();
    for (uint32_t i = 0; i < n; ++i) {
        SimCall call{};
        if (Simulator().SimLogGet(i, &call)) calls.push_back(call);
    }
    return calls;
}

std::string TextAt(WPARAM address) {
    if (!address) return {};
    const char* text = reinterpret_cast<const char*>(address);
    return std::string(text, strnlen(text, 4096));
}

template <typename Self>
Self* AttachedTo(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    return reinterpret_cast<Self*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

HWND CreateTopLevel(const char* className, WNDPROC procedure, void* self, DWORD style) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc);  // fails harmlessly when registered already
    return CreateWindowExA(0, className, className, style, 0, 0, 800, 700, nullptr, nullptr,
                           GetModuleHandleA(nullptr), self);
}

}  // namespace

// ---- windows

HostWindow::HostWindow() {
    m_hwnd = CreateTopLevel(kHostClass, WindowProc, this, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
    if (m_hwnd) ShowWindow(m_hwnd, SW_SHOW);
}

HostWindow::~HostWindow() {
    if (!m_hwnd) return;
    SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hwnd);
}

LRESULT CALLBACK HostWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = AttachedTo<HostWindow>(window, message, lParam);
    if (self && message == kMsgFileSaved) {
        self->saved.push_back(TextAt(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

NotifyRecorder::NotifyRecorder() { m_hwnd = CreateTopLevel(kRecorderClass, WindowProc, this, WS_OVERLAPPED); }

NotifyRecorder::~NotifyRecorder() {
    if (!m_hwnd) return;
    SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hwnd);
}

LRESULT CALLBACK NotifyRecorder::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = AttachedTo<NotifyRecorder>(window, message, lParam);
    if (self && (message == WM_CAM_TIMER_SHOOT || message == WM_CAM_SET_SAVE_FOLDER)) {
        self->received.push_back({message, wParam, lParam, message == WM_CAM_SET_SAVE_FOLDER ? TextAt(wParam) : ""});
        if (self->onMessage) self->onMessage(self->received.back());
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// ---- simulator

bool Sim::Load() {
    if (SimReset) return true;
    HMODULE module = LoadLibraryA(TestFile("CDSDK.dll").c_str());
    if (!module) return false;
#define SETTINGS_SIM_RESOLVE(ret, name, params) name = reinterpret_cast<PFN_##name>(GetProcAddress(module, #name));
    SIM_CONTROL_EXPORTS(SETTINGS_SIM_RESOLVE)
#undef SETTINGS_SIM_RESOLVE
    return SimReset != nullptr;
}

int Sim::Count(const char* name) const {
    int count = 0;
    for (const SimCall& call : Log()) count += strcmp(call.name, name) == 0;
    return count;
}

uint32_t Sim::Setting(const char* key) const {
    uint32_t value = 0xDEADBEEF;
    SimGetSetting(key, &value);
    return value;
}

std::string Sim::Text(const char* key) const {
    char text[256] = {};
    SimGetSettingText(key, text, sizeof text);
    return text;
}

Sim& Simulator() {
    static Sim sim;
    sim.Load();
    return sim;
}

std::vector<SimCall> SettingCalls() {
    std::vector<SimCall> calls;
    for (const SimCall& call : Log())
        if (IsSettingWriter(call.name)) calls.push_back(call);
    return calls;
}

std::vector<std::string> Names(const std::vector<SimCall>& calls) {
    std::vector<std::string> names;
    for (const SimCall& call : calls) names.emplace_back(call.name);
    return names;
}

uint32_t Arg(const SimCall& call, int i) { return static_cast<uint32_t>(call.args[i]); }

std::vector<uint8_t> Data(const SimCall& call) {
    const uint32_t size = call.dataSize < sizeof call.data ? call.dataSize : sizeof call.data;
    return std::vector<uint8_t>(call.data, call.data + size);
}

// ---- files

std::string TestFile(const char* name) { return test_support::ExeFolder() + "\\" + name; }

std::string IniValue(const std::string& file, const char* section, const char* key) {
    char value[2048] = {};
    GetPrivateProfileStringA(section, key, "", value, sizeof value, file.c_str());
    return value;
}

std::vector<std::string> IniKeys(const std::string& file, const char* section) {
    std::vector<char> buffer(8192, '\0');
    const DWORD n = GetPrivateProfileStringA(section, nullptr, "", buffer.data(), static_cast<DWORD>(buffer.size()),
                                             file.c_str());
    std::vector<std::string> keys;
    for (DWORD i = 0; i < n && buffer[i] != '\0'; i += static_cast<DWORD>(keys.back().size()) + 1)
        keys.emplace_back(&buffer[i]);
    return keys;
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

bool Visible(HWND dialog, int id) { return (GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0; }

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

std::string Text(HWND dialog, int id) {
    char text[1024] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

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

void Drain() {
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace settings_test

// ---- fixture

using namespace settings_test;

void SettingsDialogTest::SetUp() {
    for (const char* name : {"KamvioPos.ini", "SetData.ini", "FilePath.ini", "KamvioML.ini"})
        DeleteFileA(TestFile(name).c_str());
    ASSERT_TRUE(sim().Load()) << "CDSDK.dll beside the test";
    sim().SimReset();
    test_support::ClearMessageBoxes();
    ASSERT_NE(host.hwnd(), nullptr);
}

void SettingsDialogTest::TearDown() {
    dialog.reset();
    Drain();
    sim().SimClearFaults();
    for (const std::string& folder : m_folders) {
        DeleteFileA((folder + "\\marker.txt").c_str());
        RemoveDirectoryA(folder.c_str());
    }
}

void SettingsDialogTest::OpenModeless() {
    dialog = std::make_unique<CameraDialog>(host.hwnd());
    KamvioPara para{};
    para.hwndHost = host.hwnd();
    para.msgFileSaved = kMsgFileSaved;
    para.saveMode = 1;
    para.showControls = 1;
    dialog->ApplyPara(&para);
    ASSERT_TRUE(dialog->Create(host.hwnd()));
    dialog->ShowWindow(SW_SHOW);
    Drain();
}

void SettingsDialogTest::ConnectWithButton(int index) {
    SendDlgItemMessageA(hwnd(), IDC_HandleCanonDlg_SourceCmb, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Click(hwnd(), IDC_HandleCanonDlg_Connect);
    Drain();
}

void SettingsDialogTest::OpenConnected(int index) {
    OpenModeless();
    ConnectWithButton(index);
    ASSERT_TRUE(Enabled(hwnd(), IDC_HndlCnnDlg_Setting));
    sim().SimLogClear();
    host.saved.clear();
}

std::string SettingsDialogTest::ComboText(int index) const {
    char text[300] = {};
    SendDlgItemMessageA(hwnd(), IDC_HandleCanonDlg_SourceCmb, CB_GETLBTEXT, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(text));
    return text;
}

int SettingsDialogTest::ComboCount() const {
    return static_cast<int>(SendDlgItemMessageA(hwnd(), IDC_HandleCanonDlg_SourceCmb, CB_GETCOUNT, 0, 0));
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
    if (!IsSettingsWindow(window)) return TRUE;
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
