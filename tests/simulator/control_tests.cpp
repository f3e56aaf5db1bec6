// The test interface: injected faults, the call log, configuration loading and reset.
#include "tests/common/test_support.h"
#include "tests/simulator/sim_fixture.h"

namespace {

TEST_F(SimTest, AFaultAnswersForItsCountAndHasNoOtherEffect) {
    StartSdk();
    Connect();
    ASSERT_EQ(1u, sim_.SimSetFault("CDSetWBSetting", 0x81, 2));
    EXPECT_EQ(0x81u, sdk_.CDSetWBSetting(source_, 3));
    EXPECT_EQ(0x81u, sdk_.CDSetWBSetting(source_, 3));
    EXPECT_EQ(0u, Setting("WB")) << "the failed calls changed nothing";
    EXPECT_EQ(cdOK, sdk_.CDSetWBSetting(source_, 3)) << "once used up, the entry works again";
    EXPECT_EQ(3u, Setting("WB"));

    ASSERT_EQ(1u, sim_.SimSetFault("CDLockUI", 0x10086, -1));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(0x10086u, sdk_.CDLockUI(source_)) << "the whole status, high bits too";
    ASSERT_EQ(1u, sim_.SimSetFault("CDLockUI", 0, 0));
    EXPECT_EQ(cdOK, sdk_.CDLockUI(source_));
    sdk_.CDUnlockUI(source_);

    ASSERT_EQ(1u, sim_.SimSetFault("CDRelease", 0x86, -1));
    ASSERT_EQ(1u, sim_.SimSetFault("CDGetZoomPos", 0x80, 1));
    sim_.SimClearFaults();
    uint32_t n = 0;
    EXPECT_EQ(cdOK, sdk_.CDRelease(source_, 0, nullptr, 0, 1, &n));
    EXPECT_EQ(0u, sim_.SimSetFault("CDNoSuchEntry", 1, 1));
    EXPECT_EQ(0u, sim_.SimSetFault(nullptr, 1, 1));
    DisconnectAndFinish();
}

TEST_F(SimTest, AFaultedEnumerationStepHandsOutNothing) {
    StartSdk();
    Connect();
    sim_.SimSetFault("CDEnumWBSettingReset", 0x80, 1);
    cdHEnum e = 0;
    EXPECT_EQ(0x80u, sdk_.CDEnumWBSettingReset(source_, &e));
    EXPECT_EQ(0u, e);
    EXPECT_EQ(0u, Setting("OpenEnumerations"));
    EXPECT_EQ(cdOK, sdk_.CDExitReleaseControl(source_));
    EXPECT_EQ(cdOK, sdk_.CDUnregisterEventCallbackFunction(source_, registration_));
    EXPECT_EQ(cdOK, sdk_.CDCloseSource(source_));
    sim_.SimSetFault("CDFinishSDK", 0x80, 1);
    EXPECT_EQ(0x80u, sdk_.CDFinishSDK());
    EXPECT_EQ(1u, Setting("Started")) << "a failed finish leaves the SDK started";
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
}

TEST_F(SimTest, EveryCallIsLoggedWithItsArgumentsStatusAndThread) {
    StartSdk();
    sim_.SimLogClear();
    Connect();
    uint16_t wb = 0;
    sdk_.CDGetWBSetting(source_, &wb);
    sim_.SimSetFault("CDSetAvValue", 0x60, 1);
    sdk_.CDSetAvValue(source_, 40);
    std::vector<SimCall> all = Calls();
    std::vector<std::string> names;
    for (const SimCall& call : all) names.push_back(call.name);
    EXPECT_EQ((std::vector<std::string>{"CDEnumDeviceReset", "CDEnumDeviceNext", "CDEnumDeviceRelease", "CDOpenSource",
                                        "CDLockUI", "CDRegisterEventCallbackFunction", "CDEnterReleaseControl",
                                        "CDUnlockUI", "CDGetWBSetting", "CDSetAvValue"}),
              names);
    const SimCall& get = all[8];
    EXPECT_EQ(2u, get.argc);
    EXPECT_EQ(source_, get.args[0]);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(&wb), get.args[1]);
    EXPECT_EQ(cdOK, get.status);
    EXPECT_EQ(GetCurrentThreadId(), get.threadId);
    EXPECT_EQ(0u, get.dataSize);
    EXPECT_EQ(40u, all[9].args[1]);
    EXPECT_EQ(0x60u, all[9].status) << "faulted calls are logged too";
    SimCall beyond = {};
    EXPECT_EQ(0u, sim_.SimLogGet(static_cast<uint32_t>(all.size()), &beyond));
    sim_.SimLogClear();
    EXPECT_EQ(0u, sim_.SimLogCount());
    DisconnectAndFinish();
}

TEST_F(SimTest, AConfigurationIsAppliedOnlyWhenItIsValidAndNoSourceIsOpen) {
    EXPECT_EQ(0u, sim_.SimLoadConfigText("[Camera1]\nZoomMax=ten\n"));
    char error[256] = {};
    EXPECT_GT(sim_.SimConfigError(error, sizeof error), 0u);
    EXPECT_NE(nullptr, strstr(error, "line 2")) << error;
    EXPECT_EQ(9u, Setting("ZoomMax")) << "the old configuration stays";
    Configure("[Camera1]\nZoomMax=12\n");
    EXPECT_EQ(0u, sim_.SimConfigError(error, sizeof error));
    EXPECT_EQ(12u, Setting("ZoomMax"));
    StartSdk();
    Connect();
    EXPECT_EQ(0u, sim_.SimLoadConfigText("[Camera1]\nZoomMax=3\n")) << "not under an open source";
    EXPECT_EQ(12u, Setting("ZoomMax"));
    DisconnectAndFinish();
    EXPECT_EQ(0u, sim_.SimLoadConfigText(nullptr));
    char tiny[4];
    EXPECT_EQ(0u, sim_.SimLoadConfigText("[x]\nk=1\n"));
    EXPECT_GT(sim_.SimConfigError(tiny, sizeof tiny), 3u) << "the full length, the text cut to fit";
    EXPECT_EQ('\0', tiny[3]);
}

TEST_F(SimTest, AConfigurationFileAndTheStartupFileAreRead) {
    std::string path = test_support::ExeFolder() + "\\sim_config_test.ini";
    ASSERT_TRUE(test_support::WriteTextFile(path, "[Simulator]\nCameras=1\n[Camera1]\nModel=From File\n"));
    ASSERT_EQ(1u, sim_.SimLoadConfigFile(path.c_str()));
    char model[64] = {};
    sim_.SimGetSettingText("Model", model, sizeof model);
    EXPECT_STREQ("From File", model);
    EXPECT_EQ(1u, Setting("Cameras"));
    EXPECT_EQ(0u, sim_.SimLoadConfigFile("C:\\no\\such\\file.ini"));

    SetEnvironmentVariableA("KAMVIO_SIM_CONFIG", path.c_str());
    sim_.SimReset();
    SetEnvironmentVariableA("KAMVIO_SIM_CONFIG", nullptr);
    sim_.SimGetSettingText("Model", model, sizeof model);
    EXPECT_STREQ("From File", model) << "the start-up configuration named by the environment";
    sim_.SimReset();
    sim_.SimGetSettingText("Model", model, sizeof model);
    EXPECT_STREQ("SimCam Compact Z10", model) << "built-in defaults without it";
    DeleteFileA(path.c_str());
}

TEST_F(SimTest, ResetShutsAStartedSdkDownAndSaysSo) {
    StartSdk();
    Connect();
    sim_.SimSetFault("CDLockUI", 0x80, -1);
    EXPECT_EQ(0u, sim_.SimReset());
    EXPECT_EQ(0u, Setting("Started"));
    EXPECT_EQ(0u, Setting("OpenSources"));
    EXPECT_EQ(0u, sim_.SimLogCount());
    EXPECT_EQ(0u, sim_.SimViolationCount());
    StartSdk();
    Connect();  // the fault was cleared as well
    DisconnectAndFinish();
    source_ = 0;
}

TEST_F(SimTest, SettingsAreReadFromTheOpenCameraOrANamedOne) {
    uint32_t value = 0;
    EXPECT_EQ(0u, sim_.SimGetSetting("NoSuchKey", &value));
    EXPECT_EQ(0u, sim_.SimGetSetting("Camera9.WB", &value));
    EXPECT_EQ(0u, sim_.SimGetSetting(nullptr, &value));
    EXPECT_EQ(48u, Setting("Camera2.Av"));
    EXPECT_EQ(32u, Setting("Av")) << "the first camera while none is open";
    StartSdk();
    Connect(1);
    EXPECT_EQ(48u, Setting("Av")) << "the open one";
    EXPECT_EQ(1u, Setting("Open"));
    EXPECT_EQ(0u, Setting("Camera1.Open"));
    char text[8] = {};
    EXPECT_EQ(1u, sim_.SimGetSettingText("PropertyName", text, sizeof text));
    EXPECT_STREQ("EOS 400", text) << "cut to the buffer";
    EXPECT_EQ(0u, sim_.SimGetSettingText("WB", text, sizeof text));
    DisconnectAndFinish();
}

}  // namespace
