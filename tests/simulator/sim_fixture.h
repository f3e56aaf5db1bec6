// The simulated CDSDK.dll of the bin folder with its SDK entry points and control exports, and
// the component's ways of connecting and disconnecting.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "simulator/sim_api.h"
#include "tests/common/test_support.h"
#include "tests/simulator/memory_stream.h"

struct SdkApi {
#define SDK_API_MEMBER(name, params) PFN_##name name = nullptr;
    CDSDK_ENTRY_POINTS(SDK_API_MEMBER)
#undef SDK_API_MEMBER
};

inline cdError CDAPI IgnoreEvent(uint32_t, const void*, uint32_t, cdContext) { return 0; }
inline cdError CDAPI IgnoreFrame(const void*, uint32_t, uint32_t, cdContext) { return 0; }

class SimTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!module_) module_ = LoadLibraryA((test_support::ExeFolder() + "\\CDSDK.dll").c_str());
        ASSERT_TRUE(module_);
        ASSERT_TRUE(sim_.Load(module_));
#define SDK_API_RESOLVE(name, params) \
    ASSERT_TRUE(sdk_.name = reinterpret_cast<PFN_##name>(reinterpret_cast<void*>(GetProcAddress(module_, #name))));
        CDSDK_ENTRY_POINTS(SDK_API_RESOLVE)
#undef SDK_API_RESOLVE
    }
    void SetUp() override { EXPECT_EQ(1u, sim_.SimReset()) << "a previous test left the SDK started"; }
    // A caller that keeps the contract leaves the ledger empty: tests that break it read it out.
    void TearDown() override {
        if (source_) DisconnectAndFinish();
        for (const std::string& line : Violations()) ADD_FAILURE() << line;
        sim_.SimReset();
    }

    // Applies `ini` over the defaults, starts the SDK and connects to camera `index` as the
    // component does: open, lock, register, enter release control, unlock.
    void Open(const char* ini = "", uint32_t index = 0) {
        char error[512] = {};
        if (*ini && !sim_.SimLoadConfigText(ini)) {
            sim_.SimConfigError(error, sizeof error);
            ADD_FAILURE() << error;
        }
        StartSdk();
        SourceInfo info = {};
        cdHEnum e = 0;
        ASSERT_EQ(cdOK, sdk_.CDEnumDeviceReset(1, &e));
        for (uint32_t i = 0; i <= index; ++i) ASSERT_EQ(cdOK, sdk_.CDEnumDeviceNext(e, &info));
        ASSERT_EQ(0u, InOrder({sdk_.CDEnumDeviceRelease(e), sdk_.CDOpenSource(&info, &source_), sdk_.CDLockUI(source_),
                                 sdk_.CDRegisterEventCallbackFunction(source_, events_, eventContext_, &registration_),
                                 sdk_.CDEnterReleaseControl(source_, releaseEvents_, releaseContext_),
                                 sdk_.CDUnlockUI(source_)}));
    }
    // The component's disconnect (stopping a viewfinder that does not run is harmless), then the finish.
    void DisconnectAndFinish() {
        EXPECT_EQ(cdOK, InOrder({sdk_.CDTermViewfinder(source_), sdk_.CDExitReleaseControl(source_),
                                 sdk_.CDUnregisterEventCallbackFunction(source_, registration_),
                                 sdk_.CDCloseSource(source_), sdk_.CDFinishSDK()}));
        source_ = 0;
    }
    // The calls of a braced list are made from left to right: 0 when all of them succeeded.
    static cdError InOrder(std::initializer_list<cdError> statuses) {
        cdError all = 0;
        for (cdError status : statuses) all |= status;
        return all;
    }
    void StartSdk() {
        cdVersionInfo version = {sizeof version, 6, 0, {}};
        ASSERT_EQ(cdOK, sdk_.CDStartSDK(&version, 0));
    }
    uint32_t Shoot() {
        uint32_t n = 0;
        EXPECT_EQ(cdOK, sdk_.CDRelease(source_, 0, nullptr, 0, 1, &n));
        return n;
    }
    uint32_t Setting(const char* key) {
        uint32_t value = 0xDEADBEEF;
        EXPECT_EQ(1u, sim_.SimGetSetting(key, &value)) << key;
        return value;
    }
    // The ledger's lines; reading them clears it.
    std::vector<std::string> Violations() {
        std::vector<std::string> lines;
        char line[600];
        for (uint32_t i = 0; sim_.SimViolationGet(i, line, sizeof line); ++i) lines.push_back(line);
        sim_.SimViolationClear();
        return lines;
    }

    static inline HMODULE module_ = nullptr;
    static inline SdkApi sdk_;
    static inline SimApi sim_;
    cdEventCallback events_ = IgnoreEvent;
    cdReleaseEventCallback releaseEvents_ = IgnoreEvent;
    cdContext eventContext_ = 0, releaseContext_ = 0;
    cdHSource source_ = 0;
    cdHandle registration_ = 0;
};
