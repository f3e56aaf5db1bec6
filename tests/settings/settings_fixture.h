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

// The simulator's control exports, from the CDSDK.dll the loader holds.
struct SimApi {
#define SETTINGS_SIM_MEMBER(ret, name, params) PFN_##name name = nullptr;
    SIM_CONTROL_EXPORTS(SETTINGS_SIM_MEMBER)
#undef SETTINGS_SIM_MEMBER
    bool Load(HMODULE module);
};
SimApi& Sim();

// What the model reported through the error functions (this program replaces them).
struct SdkReport {
    uint32_t code;
    std::string operation;
    bool operator==(const SdkReport& o) const { return code == o.code && operation == o.operation; }
};
std::ostream& operator<<(std::ostream& out, const SdkReport& report);
std::vector<SdkReport> TakeReports();
std::vector<std::pair<std::string, std::string>> TakeShownMessages();  // caption, text
// The next `count` nothrow array allocations of the process fail.
void FailArrayAllocations(int count);

// A label and the item data of one list entry.
using Entry = std::pair<std::string, uint32_t>;
std::vector<Entry> Entries(HWND combo);
std::vector<uintptr_t> ItemData(HWND combo);
int Selection(HWND combo);
void FillWithOldEntries(HWND combo);  // "old 1" / 101, "old 2" / 102, entry 1 selected
const std::vector<Entry>& OldEntries();

class SettingsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Starts the SDK on a one-camera configuration (the simulator's default camera 1 with
    // these keys added to its section), opens the camera and binds `settings` to it.
    void OpenCamera(const std::string& cameraKeys = "");
    void CloseCamera();

    std::vector<SimCall> Calls() const;
    std::vector<SimCall> CallsNamed(const char* name) const;
    std::vector<std::string> CallNames() const;
    uint32_t SimValue(const char* key) const;
    void Fault(const char* entry, uint32_t status = 0x81, int32_t count = -1);

    HWND NewCombo();

    CSettingData settings;
    cdHSource source = 0;

private:
    bool started_ = false;
    bool opened_ = false;
    HWND parent_ = nullptr;
};

std::string CodeList(uint32_t first, uint32_t count, uint32_t step = 1);
