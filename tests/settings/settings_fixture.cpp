#include "tests/settings/settings_fixture.h"

#include <cstdlib>
#include <new>
#include <ostream>
#include <sstream>

#include "sdk/error_report.h"
#include "tests/common/test_support.h"

// ---- replacements of the error functions: the real ones show nothing we could observe

namespace {
std::vector<SdkReport> g_reports;
std::vector<std::pair<std::string, std::string>> g_messages;
int g_failArrayAllocations = 0;
}  // namespace

BOOL ReportSdkError(uint32_t code, const char* operation) {
    g_reports.push_back({code, operation ? operation : "(null)"});
    return TRUE;
}

BOOL ShowMessage(std::string caption, std::string text) {
    g_messages.emplace_back(std::move(caption), std::move(text));
    return TRUE;
}

// Matches the library's own nothrow form (which allocates with malloc as well).
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (g_failArrayAllocations > 0) {
        --g_failArrayAllocations;
        return nullptr;
    }
    return std::malloc(size ? size : 1);
}

std::ostream& operator<<(std::ostream& out, const SdkReport& report) {
    return out << "{0x" << std::hex << report.code << std::dec << ", \"" << report.operation << "\"}";
}

std::vector<SdkReport> TakeReports() { return std::exchange(g_reports, {}); }
std::vector<std::pair<std::string, std::string>> TakeShownMessages() { return std::exchange(g_messages, {}); }
void FailArrayAllocations(int count) { g_failArrayAllocations = count; }

// ---- simulator

bool SimApi::Load(HMODULE module) {
    bool all = module != nullptr;
#define SETTINGS_SIM_RESOLVE(ret, name, params)                                             \
    name = module ? reinterpret_cast<PFN_##name>(GetProcAddress(module, #name)) : nullptr; \
    all = all && name != nullptr;
    SIM_CONTROL_EXPORTS(SETTINGS_SIM_RESOLVE)
#undef SETTINGS_SIM_RESOLVE
    return all;
}

SimApi& Sim() {
    static SimApi api;
    return api;
}

// ---- lists

std::vector<Entry> Entries(HWND combo) {
    std::vector<Entry> entries;
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, i, 0);
        std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
        std::vector<char> buffer(text.size() + 1);
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
        entries.emplace_back(buffer.data(), static_cast<uint32_t>(SendMessageA(combo, CB_GETITEMDATA, i, 0)));
    }
    return entries;
}

std::vector<uintptr_t> ItemData(HWND combo) {
    std::vector<uintptr_t> data;
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) data.push_back(static_cast<uintptr_t>(SendMessageA(combo, CB_GETITEMDATA, i, 0)));
    return data;
}

int Selection(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)); }

const std::vector<Entry>& OldEntries() {
    static const std::vector<Entry> entries = {{"old 1", 101}, {"old 2", 102}};
    return entries;
}

void FillWithOldEntries(HWND combo) {
    for (const Entry& entry : OldEntries()) {
        LRESULT index = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.first.c_str()));
        SendMessageA(combo, CB_SETITEMDATA, index, entry.second);
    }
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
}

std::string CodeList(uint32_t first, uint32_t count, uint32_t step) {
    std::ostringstream out;
    for (uint32_t i = 0; i < count; ++i) out << (i ? "," : "") << first + i * step;
    return out.str();
}

// ---- fixture

void SettingsTest::SetUpTestSuite() {
    if (IsSdkLoaded()) return;
    ASSERT_EQ(0, LoadSdk(test_support::ExeFolder().c_str()));
    ASSERT_TRUE(Sim().Load(SdkModule())) << "CDSDK.dll lacks the simulator's control exports";
}

void SettingsTest::SetUp() {
    ASSERT_TRUE(IsSdkLoaded());
    parent_ = CreateWindowExA(0, "STATIC", "settings test", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, parent_);
    TakeReports();
    TakeShownMessages();
}

void SettingsTest::TearDown() {
    CloseCamera();
    if (parent_) DestroyWindow(parent_);
    parent_ = nullptr;
}

void SettingsTest::OpenCamera(const std::string& cameraKeys) {
    ASSERT_FALSE(started_);
    Sim().SimReset();
    std::string config = "[Simulator]\nCameras=1\n[Camera1]\n" + cameraKeys + "\n";
    ASSERT_EQ(1u, Sim().SimLoadConfigText(config.c_str())) << config;

    cdVersionInfo version{};
    version.size = sizeof version;
    version.major = 6;
    ASSERT_TRUE(cdSucceeded(g_sdk.CDStartSDK(&version, 0)));
    started_ = true;
    cdHEnum devices = 0;
    ASSERT_TRUE(cdSucceeded(g_sdk.CDEnumDeviceReset(1, &devices)));
    SourceInfo info{};
    cdError next = g_sdk.CDEnumDeviceNext(devices, &info);
    g_sdk.CDEnumDeviceRelease(devices);
    ASSERT_TRUE(cdSucceeded(next));
    ASSERT_TRUE(cdSucceeded(g_sdk.CDOpenSource(&info, &source)));
    opened_ = true;
    EXPECT_EQ(TRUE, settings.SetSource(source));
    Sim().SimLogClear();
    Sim().SimViolationClear();
    TakeReports();
}

void SettingsTest::CloseCamera() {
    if (started_) {
        // The model must have kept every rule of the SDK while it worked.
        uint32_t violations = Sim().SimViolationCount();
        for (uint32_t i = 0; i < violations; ++i) {
            char text[512] = {};
            Sim().SimViolationGet(i, text, sizeof text);
            ADD_FAILURE() << "SDK contract violation: " << text;
        }
        Sim().SimClearFaults();
    }
    if (opened_) g_sdk.CDCloseSource(source);
    if (started_) g_sdk.CDFinishSDK();
    opened_ = started_ = false;
}

std::vector<SimCall> SettingsTest::Calls() const {
    std::vector<SimCall> calls;
    uint32_t count = Sim().SimLogCount();
    for (uint32_t i = 0; i < count; ++i) {
        SimCall call{};
        if (Sim().SimLogGet(i, &call)) calls.push_back(call);
    }
    return calls;
}

std::vector<SimCall> SettingsTest::CallsNamed(const char* name) const {
    std::vector<SimCall> named;
    for (const SimCall& call : Calls())
        if (std::string(call.name) == name) named.push_back(call);
    return named;
}

std::vector<std::string> SettingsTest::CallNames() const {
    std::vector<std::string> names;
    for (const SimCall& call : Calls()) names.push_back(call.name);
    return names;
}

uint32_t SettingsTest::SimValue(const char* key) const {
    uint32_t value = 0xDEADBEEF;
    EXPECT_EQ(1u, Sim().SimGetSetting(key, &value)) << key;
    return value;
}

void SettingsTest::Fault(const char* entry, uint32_t status, int32_t count) {
    ASSERT_NE(0u, Sim().SimSetFault(entry, status, count)) << entry;
}

HWND SettingsTest::NewCombo() {
    static int id = 1000;
    HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0, 200, 300, parent_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(++id)), GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(nullptr, combo);
    return combo;
}
