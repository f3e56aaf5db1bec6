// The violation ledger: silent for a caller that keeps the contract, precise for one that does not.
#include "tests/common/test_support.h"
#include "tests/simulator/sim_fixture.h"

namespace {

cdError CDAPI IgnoreFrame(const void*, uint32_t, uint32_t, cdContext) { return 0; }
cdError CDAPI IgnoreEvent(uint32_t, const void*, uint32_t, cdContext) { return 0; }

class LedgerTest : public SimTest {
protected:
    void TearDown() override {
        sim_.SimViolationClear();
        SimTest::TearDown();
    }
    void ExpectOnly(const std::string& text) {
        std::vector<std::string> lines = Violations();
        ASSERT_EQ(1u, lines.size()) << (lines.empty() ? "no violation" : lines[1]);
        EXPECT_NE(std::string::npos, lines[0].find(text)) << lines[0];
        sim_.SimViolationClear();
    }
};

TEST_F(LedgerTest, AWholeSessionInTheComponentsOrderLeavesItEmpty) {
    StartSdk();
    // Source list, as the dialog fills it.
    cdHEnum e = 0;
    uint32_t count = 0;
    ASSERT_EQ(cdOK, sdk_.CDEnumDeviceReset(1, &e));
    sdk_.CDGetDeviceCount(e, &count);
    SourceInfo records[2] = {};
    for (uint32_t i = 0; i < count; ++i) sdk_.CDEnumDeviceNext(e, &records[i]);
    sdk_.CDEnumDeviceRelease(e);
    // Connect.
    ASSERT_EQ(cdOK, sdk_.CDOpenSource(&records[0], &source_));
    sdk_.CDLockUI(source_);
    sdk_.CDRegisterEventCallbackFunction(source_, IgnoreEvent, 1, &registration_);
    cdHEnum volumes = 0;
    cdHVolume volume = 0;
    cdVolumeInfo info = {};
    sdk_.CDEnumVolumeReset(source_, &volumes);
    while (sdk_.CDEnumVolumeNext(volumes, &volume) == cdOK) sdk_.CDGetVolumeInfo(volume, &info);
    sdk_.CDEnumVolumeRelease(volumes);
    cdHEnum properties = 0;
    uint32_t size = 4, capability = 0;
    char name[32] = {};
    sdk_.CDEnumDevicePropertyReset(source_, 0, &properties);
    sdk_.CDGetDevicePropertyData(source_, 8, &size, &capability, 0);
    size = 32;
    sdk_.CDGetDevicePropertyData(source_, 2, &size, name, 0);
    sdk_.CDEnumDevicePropertyRelease(properties);
    sdk_.CDEnterReleaseControl(source_, IgnoreEvent, 1);
    sdk_.CDSelectReleaseDataKind(source_, 2);
    sdk_.CDUnlockUI(source_);
    // Settings dialog.
    uint16_t code = 0;
    sdk_.CDEnumWBSettingReset(source_, &e);
    while (sdk_.CDEnumWBSettingNext(e, &code) == cdOK) {
    }
    sdk_.CDGetWBSettingCount(e, &count);
    sdk_.CDEnumWBSettingRelease(e);
    uint32_t elementSize = 0, value = 0, valueSize = 0;
    sdk_.CDEnumRelCamSettingDataReset(source_, 0x0800000C, &e, &elementSize);
    while (sdk_.CDEnumRelCamSettingDataNext(e, elementSize, &value) == cdOK) {
    }
    sdk_.CDGetRelCamSettingDataCount(e, &count);
    sdk_.CDEnumRelCamSettingDataRelease(e);
    sdk_.CDGetRelCamSettingData(source_, 0x0800000C, &valueSize, &value);
    // Viewfinder, zoom, shot and transfer (the viewfinder stopped first, as for cameras that need it).
    sdk_.CDLockUI(source_);
    ASSERT_EQ(cdOK, sdk_.CDStartViewfinder(source_, 1, IgnoreFrame, 0));
    sdk_.CDUnlockUI(source_);
    sdk_.CDUnlockUI(source_);
    uint32_t maximum = 0, other = 0;
    sdk_.CDGetMaximumZoomPos(source_, &maximum, &other);
    sdk_.CDSetZoomPos(source_, maximum);
    sdk_.CDLockUI(source_);
    sdk_.CDTermViewfinder(source_);
    uint32_t n = 0;
    ASSERT_EQ(cdOK, sdk_.CDRelease(source_, 0, nullptr, 0, 1, &n));
    sdk_.CDUnlockUI(source_);
    for (uint32_t i = 0; i < n; ++i) {
        cdReleaseImageInfo item = {};
        sdk_.CDGetReleasedData(source_, nullptr, 0, 0, &item, nullptr);
        TestStream stream;
        ASSERT_EQ(cdOK, sdk_.CDGetReleasedData(source_, nullptr, 1, 3, &item, &stream.medium));
    }
    sdk_.CDSelectViewFinderCameraOutput(source_, 1);
    // Disconnect and end.
    DisconnectAndFinish();
    EXPECT_TRUE(Violations().empty()) << Violations()[0];
}

TEST_F(LedgerTest, CallsBeforeTheStartAndAfterTheFinish) {
    cdHEnum e = 0;
    EXPECT_EQ(cdSEQUENCE_ERROR, sdk_.CDEnumDeviceReset(1, &e));
    ExpectOnly("CDEnumDeviceReset: called before CDStartSDK");
    EXPECT_EQ(cdSEQUENCE_ERROR, sdk_.CDFinishSDK());
    ExpectOnly("CDFinishSDK: called before CDStartSDK");
    StartSdk();
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
    EXPECT_EQ(cdSEQUENCE_ERROR, sdk_.CDLockUI(1));
    ExpectOnly("CDLockUI: called after CDFinishSDK");
}

TEST_F(LedgerTest, HandlesThatAreNotOpen) {
    StartSdk();
    Connect();
    uint16_t wb = 0;
    EXPECT_EQ(cdINVALID_HANDLE, sdk_.CDGetWBSetting(source_ + 1000, &wb));
    ExpectOnly("CDGetWBSetting: source 0x");
    cdHEnum e = 0;
    sdk_.CDEnumAvValueReset(source_, &e);
    EXPECT_EQ(cdINVALID_HANDLE, sdk_.CDEnumTvValueNext(e, &wb)) << "an aperture list is not a shutter-speed list";
    ExpectOnly("CDEnumTvValueNext: enumeration 0x");
    EXPECT_EQ(cdOK, sdk_.CDEnumAvValueRelease(e));
    EXPECT_EQ(cdINVALID_HANDLE, sdk_.CDEnumAvValueRelease(e)) << "released twice";
    ExpectOnly("is not open");
    EXPECT_EQ(cdINVALID_HANDLE, sdk_.CDUnregisterEventCallbackFunction(source_, registration_ + 5));
    ExpectOnly("registration 0x");
    EXPECT_EQ(cdOK, sdk_.CDExitReleaseControl(source_));
    EXPECT_EQ(cdOK, sdk_.CDUnregisterEventCallbackFunction(source_, registration_));
    EXPECT_EQ(cdOK, sdk_.CDCloseSource(source_));
    EXPECT_EQ(cdINVALID_HANDLE, sdk_.CDCloseSource(source_));
    ExpectOnly("CDCloseSource: source 0x");
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
}

TEST_F(LedgerTest, ClosingOutOfOrder) {
    StartSdk();
    Connect();
    ASSERT_EQ(cdOK, sdk_.CDStartViewfinder(source_, 1, IgnoreFrame, 0));
    EXPECT_EQ(cdOK, sdk_.CDExitReleaseControl(source_));
    ExpectOnly("CDExitReleaseControl: the viewfinder of 0x");
    ASSERT_EQ(cdOK, sdk_.CDEnterReleaseControl(source_, nullptr, 0));
    EXPECT_EQ(cdOK, sdk_.CDUnregisterEventCallbackFunction(source_, registration_));
    EXPECT_EQ(2u, Violations().size()) << "the viewfinder runs and release control is entered";
    sim_.SimViolationClear();
    cdHandle again = 0;
    sdk_.CDRegisterEventCallbackFunction(source_, IgnoreEvent, 0, &again);
    EXPECT_EQ(cdOK, sdk_.CDCloseSource(source_)) << "still closes, and cleans up";
    std::vector<std::string> lines = Violations();
    ASSERT_EQ(3u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find("CDCloseSource: the viewfinder of"));
    EXPECT_NE(std::string::npos, lines[1].find("still in release control"));
    EXPECT_NE(std::string::npos, lines[2].find("still has an event callback registered"));
    sim_.SimViolationClear();
    EXPECT_EQ(0u, Setting("OpenSources"));
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
    EXPECT_TRUE(Violations().empty()) << "the close left nothing behind";
}

TEST_F(LedgerTest, LeftOpenAtTheFinish) {
    StartSdk();
    Connect();
    cdHEnum e = 0;
    sdk_.CDEnumFlashSettingReset(source_, &e);
    sdk_.CDEnumDeviceReset(1, &e);
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
    std::vector<std::string> lines = Violations();
    ASSERT_EQ(3u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find("CDFinishSDK: source 0x"));
    EXPECT_NE(std::string::npos, lines[0].find("(SimCam Compact Z10) is still open"));
    EXPECT_NE(std::string::npos, lines[1].find("Flash enumeration"));
    EXPECT_NE(std::string::npos, lines[2].find("device enumeration"));
    sim_.SimViolationClear();
    StartSdk();
    EXPECT_EQ(0u, Setting("OpenSources")) << "the finish closed them";
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
    EXPECT_TRUE(Violations().empty());
}

TEST_F(LedgerTest, ShotsAndTransfersOutsideReleaseControl) {
    StartSdk();
    SourceInfo info = FirstSource();
    ASSERT_EQ(cdOK, sdk_.CDOpenSource(&info, &source_));
    uint32_t n = 0;
    EXPECT_EQ(cdSEQUENCE_ERROR, sdk_.CDRelease(source_, 0, nullptr, 0, 1, &n));
    ExpectOnly("CDRelease: source 0x");
    cdReleaseImageInfo item = {};
    EXPECT_EQ(cdSEQUENCE_ERROR, sdk_.CDGetReleasedData(source_, nullptr, 0, 0, &item, nullptr));
    ExpectOnly("CDGetReleasedData: source 0x");
    EXPECT_EQ(cdSEQUENCE_ERROR, sdk_.CDStartViewfinder(source_, 1, IgnoreFrame, 0));
    ExpectOnly("CDStartViewfinder: source 0x");
    EXPECT_EQ(cdOK, sdk_.CDCloseSource(source_));
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
    EXPECT_TRUE(Violations().empty());
}

TEST_F(LedgerTest, AShotWhileTheViewfinderRunsOnACameraThatNeedsItStopped) {
    StartSdk();
    Connect(1);  // the EOS camera: capability 4 | 8
    ASSERT_EQ(cdOK, sdk_.CDStartViewfinder(source_, 1, IgnoreFrame, 0));
    viewfinder_ = true;
    uint32_t n = 0;
    EXPECT_EQ(cdSEQUENCE_ERROR, sdk_.CDRelease(source_, 0, nullptr, 0, 1, &n));
    ExpectOnly("needs it stopped for a shot");
    DisconnectAndFinish();
    EXPECT_TRUE(Violations().empty());
}

TEST_F(LedgerTest, AStreamThatDeniesItsOpenIsRecorded) {
    Configure("[Camera1]\nItems=0x20:2:100\n");
    StartSdk();
    Connect();
    uint32_t n = 0;
    sdk_.CDRelease(source_, 0, nullptr, 0, 1, &n);
    cdReleaseImageInfo item = {};
    TestStream stream;
    stream.FailOn("Write", 1, cdSTREAM_NOT_OPEN);
    EXPECT_EQ(cdSTREAM_NOT_OPEN, sdk_.CDGetReleasedData(source_, nullptr, 0, 3, &item, &stream.medium));
    ExpectOnly("stream Write answered 0xA1 (not open) after a successful Open");
    DisconnectAndFinish();
}

}  // namespace
