// A simulated camera opened for one test, a CSettingData bound to it, and real drop-down
// lists on a hidden window.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "sdk/sdk_loader.h"
#include "settings/setting_data.h"
#include "tests/common/sim_access.h"
#include "tests/common/test_support.h"

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

class SettingsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (IsSdkLoaded()) return;
        ASSERT_EQ(0, LoadSdk(test_support::ExeFolder().c_str()));
        ASSERT_TRUE(Sim().SimReset) << "CDSDK.dll lacks the simulator's control exports";
    }
    void TearDown() override {
        CloseCamera();
        if (parent_) DestroyWindow(parent_);
    }

    // Starts the SDK on one camera (the simulator's default camera 1 with these keys added),
    // opens it and binds `settings` to it; the call log starts empty.
    void OpenCamera(const std::string& cameraKeys = "") {
        ASSERT_TRUE(IsSdkLoaded());
        ASSERT_FALSE(started_);
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
        ASSERT_TRUE(found);
        ASSERT_TRUE(cdSucceeded(g_sdk.CDOpenSource(&info, &source)));
        EXPECT_EQ(TRUE, settings.SetSource(source));
        Sim().SimLogClear();
        Sim().SimViolationClear();
        TakeReports();
    }
    void CloseCamera() {
        if (started_) { EXPECT_EQ("", Violations()) << "the model must keep every rule of the SDK"; }
        if (source) g_sdk.CDCloseSource(source);
        if (started_) g_sdk.CDFinishSDK();
        source = 0;
        started_ = false;
    }

    static std::vector<SimCall> Calls(const char* name = nullptr) { return SimCalls(name); }
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
