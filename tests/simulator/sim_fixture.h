// Loads the simulated CDSDK.dll from the bin folder and gives typed access to its SDK entry
// points and control exports.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "simulator/sim_api.h"

struct SdkApi {
#define SDK_API_MEMBER(name, params) PFN_##name name = nullptr;
    CDSDK_ENTRY_POINTS(SDK_API_MEMBER)
#undef SDK_API_MEMBER
    bool Load(HMODULE module);
};

class SimTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Applies a configuration (over the defaults); fails the test when it is refused.
    void Configure(const char* ini);
    // CDStartSDK with the 6.0 record the component uses.
    void StartSdk();
    // The first camera's source record, via the device enumeration.
    SourceInfo FirstSource(uint32_t index = 0);
    // Opens camera `index` the way the component connects: open, lock, register, enter release
    // control, unlock. Keeps the handles in source_ and registration_.
    void Connect(uint32_t index = 0);
    // The component's disconnect order, then CDFinishSDK.
    void DisconnectAndFinish();

    // SimGetSetting, failing the test for an unknown key.
    uint32_t Setting(const char* key);
    std::vector<std::string> Violations();
    // True when some ledger line contains `text`.
    bool Reported(const std::string& text);
    std::vector<SimCall> Calls(const char* name = nullptr);

    static HMODULE module_;
    static SdkApi sdk_;
    static SimApi sim_;
    cdHSource source_ = 0;
    cdHandle registration_ = 0;
    bool viewfinder_ = false;
};

// A stream descriptor over memory that records what the SDK did with it and can fail on demand.
class TestStream {
public:
    TestStream();
    TestStream(const TestStream&) = delete;
    TestStream& operator=(const TestStream&) = delete;

    // The nth (from 1) call of operation `op` ("Open", "Write", "Seek", "Tell", "Close") answers `code`.
    void FailOn(const char* op, int nth, cdError code);

    cdStream descriptor{};
    cdStgMedium medium{};
    std::vector<uint8_t> data;
    std::vector<std::string> ops;  // "Open 2", "Write 512", "Seek 1 0", "Tell 0", "Close"
    std::vector<uint32_t> writeSizes;
    std::vector<DWORD> threads;
    bool open = false;
    uint32_t position = 0;

    // Records an operation; true when it is to fail (with *err set).
    bool Record(const std::string& op, const std::string& text, cdError* err);

private:
    std::string failOp_;
    int failNth_ = 0;
    cdError failCode_ = 0;
    int seen_ = 0;
};
