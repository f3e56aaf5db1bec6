// Starting and finishing, the device list, opening and closing sources, switching a camera off.
#include "tests/simulator/sim_fixture.h"

namespace {

TEST_F(SimTest, StartNeedsTheFortyByteRecordAndNoNewerVersion) {
    cdVersionInfo version = {};
    EXPECT_EQ(cdINVALID_POINTER, sdk_.CDStartSDK(nullptr, 0));
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDStartSDK(&version, 0));
    version.size = 40;
    version.major = 7;
    EXPECT_EQ(cdNOT_SUPPORTED, sdk_.CDStartSDK(&version, 0));
    EXPECT_EQ(0u, Setting("Started"));
    version.major = 6;
    EXPECT_EQ(cdOK, sdk_.CDStartSDK(&version, 0));
    EXPECT_EQ(1u, Setting("Started"));
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
    EXPECT_TRUE(Violations().empty());
}

TEST_F(SimTest, EachStartNeedsItsOwnFinish) {
    StartSdk();
    StartSdk();
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
    cdHEnum e = 0;
    EXPECT_EQ(cdOK, sdk_.CDEnumDeviceReset(1, &e)) << "still started for the second client";
    EXPECT_EQ(cdOK, sdk_.CDEnumDeviceRelease(e));
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
    EXPECT_EQ(cdSEQUENCE_ERROR, sdk_.CDEnumDeviceReset(1, &e));
    EXPECT_TRUE(Reported("CDEnumDeviceReset: called after CDFinishSDK"));
}

TEST_F(SimTest, DeviceEnumerationFillsTheSourceRecordsThenAnswersEnumNa) {
    StartSdk();
    cdHEnum e = 0;
    ASSERT_EQ(cdOK, sdk_.CDEnumDeviceReset(1, &e));
    uint32_t count = 0;
    ASSERT_EQ(cdOK, sdk_.CDGetDeviceCount(e, &count));
    EXPECT_EQ(2u, count);
    SourceInfo info[3];
    memset(info, 0xCC, sizeof info);
    ASSERT_EQ(cdOK, sdk_.CDEnumDeviceNext(e, &info[0]));
    ASSERT_EQ(cdOK, sdk_.CDEnumDeviceNext(e, &info[1]));
    EXPECT_EQ(cdENUM_NA, sdk_.CDEnumDeviceNext(e, &info[2]));
    EXPECT_EQ(0xCCu, reinterpret_cast<uint8_t*>(&info[2])[0]) << "nothing written at the end";
    EXPECT_EQ(1u, info[0].sourceType);
    EXPECT_STREQ("SimCam Compact Z10", info[0].modelName);
    EXPECT_STREQ("SimCam EOS 400D", info[1].modelName);
    EXPECT_NE(info[0].deviceIndex, info[1].deviceIndex);
    EXPECT_EQ(0, reinterpret_cast<uint8_t*>(&info[0])[399]) << "the whole 400 bytes are filled";
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDEnumDeviceReset(2, &e)) << "only cameras are listed";
    EXPECT_EQ(cdOK, sdk_.CDEnumDeviceRelease(e));
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
    EXPECT_TRUE(Violations().empty());
}

TEST_F(SimTest, TheReportedDeviceCountCanDifferFromTheList) {
    Configure("[Simulator]\nCameras=300\nDeviceCount=3\n");
    StartSdk();
    cdHEnum e = 0;
    ASSERT_EQ(cdOK, sdk_.CDEnumDeviceReset(1, &e));
    uint32_t count = 0;
    sdk_.CDGetDeviceCount(e, &count);
    EXPECT_EQ(3u, count);
    SourceInfo info;
    uint32_t listed = 0;
    while (sdk_.CDEnumDeviceNext(e, &info) == cdOK) ++listed;
    EXPECT_EQ(300u, listed) << "longer than the 256 records a caller holds";
    sdk_.CDEnumDeviceRelease(e);
    sdk_.CDFinishSDK();
}

TEST_F(SimTest, OpenRefusesBusyOrUnknownCamerasAndACameraOpenedTwice) {
    Configure("[Camera2]\nBusy=1\n");
    StartSdk();
    SourceInfo compact = FirstSource(0), eos = FirstSource(1);
    cdHSource source = 0, again = 0;
    EXPECT_EQ(cdDEVICE_BUSY, sdk_.CDOpenSource(&eos, &source));
    ASSERT_EQ(cdOK, sdk_.CDOpenSource(&compact, &source));
    EXPECT_EQ(cdDEVICE_BUSY, sdk_.CDOpenSource(&compact, &again));
    SourceInfo unknown = compact;
    unknown.deviceIndex = 77;
    EXPECT_EQ(cdDEVICE_NOT_FOUND, sdk_.CDOpenSource(&unknown, &again));
    unknown.sourceType = 0;
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDOpenSource(&unknown, &again));
    EXPECT_EQ(cdINVALID_POINTER, sdk_.CDOpenSource(nullptr, &again));
    EXPECT_EQ(1u, Setting("OpenSources"));
    EXPECT_EQ(cdOK, sdk_.CDCloseSource(source));
    EXPECT_EQ(cdOK, sdk_.CDOpenSource(&compact, &again)) << "open again after the close";
    EXPECT_NE(source, again) << "handles are not reused";
    EXPECT_EQ(cdOK, sdk_.CDCloseSource(again));
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
    EXPECT_TRUE(Violations().empty());
}

TEST_F(SimTest, LockAndUnlockTheCameraUserInterface) {
    StartSdk();
    Connect();
    EXPECT_EQ(0u, Setting("UiLocked"));
    EXPECT_EQ(cdOK, sdk_.CDLockUI(source_));
    EXPECT_EQ(1u, Setting("UiLocked"));
    EXPECT_EQ(cdOK, sdk_.CDUnlockUI(source_));
    EXPECT_EQ(cdOK, sdk_.CDUnlockUI(source_)) << "a second unlock is harmless";
    EXPECT_EQ(0u, Setting("UiLocked"));
    EXPECT_EQ(cdOK, sdk_.CDAFLock(source_, 1));
    EXPECT_EQ(1u, Setting("AFLock"));
    DisconnectAndFinish();
    EXPECT_TRUE(Violations().empty());
}

TEST_F(SimTest, ASwitchedOffCameraFailsEveryCallButLetsTheCallerCleanUp) {
    StartSdk();
    Connect();
    ASSERT_EQ(1u, sim_.SimPowerOff());
    uint16_t wb = 0;
    EXPECT_EQ(cdDEVICE_NOT_FOUND, sdk_.CDGetWBSetting(source_, &wb));
    EXPECT_EQ(cdDEVICE_NOT_FOUND, sdk_.CDLockUI(source_));
    uint32_t n = 0;
    EXPECT_EQ(cdDEVICE_NOT_FOUND, sdk_.CDRelease(source_, 0, nullptr, 0, 1, &n));
    EXPECT_EQ(cdOK, sdk_.CDUnlockUI(source_));
    EXPECT_EQ(cdOK, sdk_.CDTermViewfinder(source_));
    EXPECT_EQ(1u, Setting("PoweredOff"));
    cdHEnum e = 0;
    ASSERT_EQ(cdOK, sdk_.CDEnumDeviceReset(1, &e));
    uint32_t count = 0;
    sdk_.CDGetDeviceCount(e, &count);
    EXPECT_EQ(1u, count) << "a switched-off camera is not listed";
    sdk_.CDEnumDeviceRelease(e);
    EXPECT_EQ(0u, sim_.SimPowerOff()) << "nothing left to switch off";
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK()) << "the dead source may simply be forgotten";
    EXPECT_TRUE(Violations().empty()) << Violations()[0];
}

TEST_F(SimTest, ACameraSwitchedBackOnCanBeOpenedAgain) {
    StartSdk();
    Connect();
    ASSERT_EQ(1u, sim_.SimUnplug());
    SourceInfo info = {};
    info.sourceType = 1;
    info.deviceIndex = 1;
    cdHSource again = 0;
    EXPECT_EQ(cdDEVICE_NOT_FOUND, sdk_.CDOpenSource(&info, &again));
    EXPECT_EQ(1u, sim_.SimPowerOn());
    EXPECT_EQ(cdDEVICE_BUSY, sdk_.CDOpenSource(&info, &again)) << "the dead source still holds it";
    uint16_t wb = 0;
    EXPECT_EQ(cdDEVICE_NOT_FOUND, sdk_.CDGetWBSetting(source_, &wb)) << "the old source stays dead";
    EXPECT_EQ(cdOK, sdk_.CDExitReleaseControl(source_));
    EXPECT_EQ(cdOK, sdk_.CDUnregisterEventCallbackFunction(source_, registration_));
    EXPECT_EQ(cdOK, sdk_.CDCloseSource(source_));
    ASSERT_EQ(cdOK, sdk_.CDOpenSource(&info, &again));
    EXPECT_EQ(cdOK, sdk_.CDGetWBSetting(again, &wb));
    EXPECT_EQ(cdOK, sdk_.CDCloseSource(again));
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
    EXPECT_TRUE(Violations().empty());
}

}  // namespace
