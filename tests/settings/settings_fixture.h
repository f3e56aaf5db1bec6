// A simulated camera opened for one test, a CSettingData bound to it, and real drop-down
// lists on a hidden window.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "sdk/sdk_loader.h"
#include "settings/setting_data.h"
#include "simulator/sim_control.h"
#include "tests/common/test_support.h"

// The simulator's control exports, from the CDSDK.dll the loader holds.
struct SimApi {
#define SETTINGS_SIM_MEMBER(ret, name, params) PFN_##name name = nullptr;
    SIM_CONTROL_EXPORTS(SETTINGS_SIM_MEMBER)
#undef SETTINGS_SIM_MEMBER
    bool Load(HMODULE module) {
        bool all = module != nullptr;
#define SETTINGS_SIM_RESOLVE(ret, name, params)                                             \
    name = module ? reinterpret_cast<PFN_##name>(GetProcAddress(module, #name)) : nullptr; \
    all = all && name != nullptr;
        SIM_CONTROL_EXPORTS(SETTINGS_SIM_RESOLVE)
#undef SETTINGS_SIM_RESOLVE
        return all;
    }
};
inline SimApi& Sim() { static SimApi api; return api; }

// Caught by this program's own error functions: {code, operation} and {caption, text}.
using SdkReport = std::pair<uint32_t, std::string>;
using Shown = std::pair<std::string, std::string>;
std::vector<SdkReport> TakeReports();
std::vector<Shown> TakeShownMessages();
// The next `count` nothrow array allocations of the process fail.
void FailArrayAllocations(int count);

// The label and the item data of one list entry.
using Entry = std::pair<std::string, uintptr_t>;
inline std::vector<Entry> Entries(HWND combo) {
    std::vector<Entry> entries;
    for (LRESULT i = 0, n = SendMessageA(combo, CB_GETCOUNT, 0, 0); i < n; ++i) {
        std::vector<char> text(static_cast<size_t>(SendMessageA(combo, CB_GETLBTEXTLEN, i, 0)) + 1);
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        entries.emplace_back(text.data(), static_cast<uintptr_t>(SendMessageA(combo, CB_GETITEMDATA, i, 0)));
    }
    return entries;
}
inline int Selection(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)); }
inline const std::vector<Entry> kOldEntries = {{"old 1", 101}, {"old 2", 102}};
inline std::vector<uintptr_t> Args(const SimCall& call, size_t count) { return {call.args, call.args + count}; }

class SettingsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (IsSdkLoaded()) return;
        ASSERT_EQ(0, LoadSdk(test_support::ExeFolder().c_str()));
        ASSERT_TRUE(Sim().Load(SdkModule())) << "CDSDK.dll lacks the simulator's control exports";
    }
    void TearDown() override {
        CloseCamera();
        if (parent_) DestroyWindow(parent_);
    }

    // Starts the SDK on one camera (the simulator's default camera 1 with these keys added),
    // opens it and binds `settings` to it; the call log starts empty.
    void OpenCamera(const std::string& cameraKeys = "") {
        ASSERT_TRUE(IsSdkLoaded() && !started_);
        Sim().SimReset();
        std::string config = "[Simulator]\nCameras=1\n[Camera1]\n" + cameraKeys + "\n";
        ASSERT_EQ(1u, Sim().SimLoadConfigText(config.c_str())) << config;
        cdVersionInfo version{sizeof(cdVersionInfo), 6, 0, {}};
        ASSERT_TRUE(cdSucceeded(g_sdk.CDStartSDK(&version, 0)));
        started_ = true;
        cdHEnum devices = 0;
        SourceInfo info{};
        ASSERT_TRUE(cdSucceeded(g_sdk.CDEnumDeviceReset(1, &devices)));
        bool found = cdSucceeded(g_sdk.CDEnumDeviceNext(devices, &info));
        g_sdk.CDEnumDeviceRelease(devices);
        ASSERT_TRUE(found && cdSucceeded(g_sdk.CDOpenSource(&info, &source)));
        EXPECT_EQ(TRUE, settings.SetSource(source));
        Sim().SimLogClear();
        Sim().SimViolationClear();
        TakeReports();
    }
    void CloseCamera() {
        // The model must have kept every rule of the SDK while it worked.
        for (uint32_t i = 0, n = started_ ? Sim().SimViolationCount() : 0; i < n; ++i) {
            char text[512] = {};
            Sim().SimViolationGet(i, text, sizeof text);
            ADD_FAILURE() << "SDK contract violation: " << text;
        }
        if (source) g_sdk.CDCloseSource(source);
        if (started_) g_sdk.CDFinishSDK();
        source = 0;
        started_ = false;
    }

    std::vector<SimCall> Calls(const char* name = nullptr) const {  // all, or those of one entry
        std::vector<SimCall> calls;
        for (uint32_t i = 0, n = Sim().SimLogCount(); i < n; ++i) {
            SimCall call{};
            if (Sim().SimLogGet(i, &call) && (!name || std::string(call.name) == name)) calls.push_back(call);
        }
        return calls;
    }
    uint32_t SimValue(const char* key) const {
        uint32_t value = 0xDEADBEEF;  // for a key the simulator does not know
        Sim().SimGetSetting(key, &value);
        return value;
    }
    // The next call of `entry` answers `status`.
    void Fault(const char* entry, uint32_t status = 0x80) { ASSERT_TRUE(Sim().SimSetFault(entry, status, 1)) << entry; }

    // A drop-down list holding kOldEntries, entry 1 selected.
    HWND Combo() {
        if (!parent_) parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, 0, 0, 0, 0);
        HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0, 200, 300,
                                     parent_, nullptr, nullptr, nullptr);
        EXPECT_NE(nullptr, combo);
        for (const Entry& entry : kOldEntries) {
            LRESULT index = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.first.c_str()));
            SendMessageA(combo, CB_SETITEMDATA, index, entry.second);
        }
        SendMessageA(combo, CB_SETCURSEL, 1, 0);
        return combo;
    }

    CSettingData settings;
    cdHSource source = 0;

private:
    bool started_ = false;
    HWND parent_ = nullptr;
};
