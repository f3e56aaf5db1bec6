// Start, finish and sources; faults, call log, configuration and the ledger of contract violations.
#include <functional>

#include "tests/simulator/sim_fixture.h"

namespace {

using SessionTest = SimTest;

TEST_F(SessionTest, EachStartNeedsItsFinishAndTheListFillsWholeRecords) {
    cdVersionInfo version = {40, 7, 0, {}};
    EXPECT_EQ(cdNOT_SUPPORTED, sdk_.CDStartSDK(&version, 0)) << "a newer version";
    sim_.SimLoadConfigText("[Simulator]\nDeviceCount=3\n");
    StartSdk();
    StartSdk();
    cdHEnum e = 0;
    uint32_t count = 0;
    cdHSource first = 0, again = 0;
    SourceInfo all[3];
    memset(all, 0xCC, sizeof all);
    EXPECT_EQ(cdOK, InOrder({sdk_.CDFinishSDK(), sdk_.CDEnumDeviceReset(1, &e), sdk_.CDGetDeviceCount(e, &count),
                             sdk_.CDEnumDeviceNext(e, &all[0]), sdk_.CDEnumDeviceNext(e, &all[1])}))
        << "the second start still holds";
    EXPECT_EQ(cdENUM_NA, sdk_.CDEnumDeviceNext(e, &all[2]));
    EXPECT_EQ(3u, count) << "as configured";
    EXPECT_EQ(0xCC, reinterpret_cast<uint8_t*>(&all[2])[0]) << "nothing written at the end";
    EXPECT_EQ("SimCam Compact Z10 SimCam EOS 400D", std::string(all[0].modelName) + " " + all[1].modelName);
    ASSERT_EQ(cdOK, InOrder({sdk_.CDEnumDeviceRelease(e), sdk_.CDOpenSource(&all[0], &first)}));
    EXPECT_EQ(cdDEVICE_BUSY, sdk_.CDOpenSource(&all[0], &again)) << "open already";
    EXPECT_EQ(cdOK,
              InOrder({sdk_.CDCloseSource(first), sdk_.CDOpenSource(&all[0], &again), sdk_.CDCloseSource(again)}));
    EXPECT_NE(first, again) << "handles are not reused";
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
}

TEST_F(SessionTest, AFaultAnswersForItsCountOrAlwaysUntilRemovedAndEveryCallIsLogged) {
    Open();
    ASSERT_EQ(3u, sim_.SimSetFault("CDSetWBSetting", 0x81, 2) + sim_.SimSetFault("CDLockUI", 0x10086, -1) +
                      sim_.SimSetFault("CDUnlockUI", 0x80, -1));
    for (cdError expected : {0x81, 0x81, 0}) EXPECT_EQ(expected, sdk_.CDSetWBSetting(source_, 3));
    EXPECT_EQ(3u, Setting("WB")) << "set once: the failed calls changed nothing";
    for (int i = 0; i < 3; ++i) EXPECT_EQ(0x10086u, sdk_.CDLockUI(source_)) << "the whole status, high bits too";
    ASSERT_EQ(1u, sim_.SimSetFault("CDLockUI", 0, 0));
    EXPECT_EQ(cdOK, sdk_.CDLockUI(source_)) << "removed";
    EXPECT_EQ(0x80u, sdk_.CDUnlockUI(source_));
    sim_.SimClearFaults();
    EXPECT_EQ(cdOK, sdk_.CDUnlockUI(source_)) << "all cleared";
    EXPECT_EQ(0u, sim_.SimSetFault("CDNoSuchEntry", 1, 1) + sim_.SimSetFault(nullptr, 1, 1)) << "no such entry";
    sim_.SimLogClear();
    uint16_t wb = 0;
    uint32_t metering = 0xFFFFFF01, size = 32;  // what lies behind the first byte is not part of the value
    const char owner[] = "0123456789abcdefghijklmnopqrstuv";  // 32 bytes, the terminator not given
    sim_.SimSetFault("CDSetAvValue", 0x60, 1);
    InOrder({sdk_.CDGetWBSetting(source_, &wb), sdk_.CDSetAvValue(source_, 40),
             sdk_.CDSetRelCamSettingData(source_, 0x08000004, 1, &metering),
             sdk_.CDSetDevicePropertyData(source_, 0x0800000C, &size, owner)});
    SimCall calls[5] = {};
    std::string names;
    for (uint32_t i = 0; i < 5; ++i) EXPECT_EQ(i < 4, sim_.SimLogGet(i, &calls[i]) != 0);
    for (const SimCall& c : calls) names += std::string(c.name) + "/" + std::to_string(c.argc) + " ";
    EXPECT_EQ("CDGetWBSetting/2 CDSetAvValue/2 CDSetRelCamSettingData/4 CDSetDevicePropertyData/4 /0 ", names);
    EXPECT_EQ(source_, calls[0].args[0]);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(&wb), calls[0].args[1]);
    EXPECT_EQ(GetCurrentThreadId(), calls[0].threadId);
    EXPECT_EQ(40u << 8 | 0x60, calls[1].args[1] << 8 | calls[1].status) << "faulted calls are logged too";
    EXPECT_EQ(0x0800000Cu, calls[3].args[1]);
    EXPECT_EQ(std::string(1, '\x01'), std::string(calls[2].data, calls[2].data + calls[2].dataSize));
    EXPECT_EQ(std::string(owner, 32), std::string(calls[3].data, calls[3].data + calls[3].dataSize));
}

TEST_F(SessionTest, AConfigurationIsTakenOnlyWhenValidAndNoSourceIsOpenAndAResetRestoresTheStartup) {
    char error[4];
    EXPECT_EQ(0u, sim_.SimLoadConfigText(nullptr) + sim_.SimLoadConfigFile("C:\\no\\such\\file.ini"));
    std::string path = test_support::ExeFolder() + "\\sim_config_test.ini";
    ASSERT_TRUE(test_support::WriteTextFile(path, "[Camera1]\nZoomMax=ten\n"));
    EXPECT_EQ(0u, sim_.SimLoadConfigFile(path.c_str()));
    EXPECT_EQ(9u, Setting("ZoomMax")) << "the old configuration stays";
    EXPECT_EQ(48u, sim_.SimConfigError(error, sizeof error)) << "line 2: [Camera1] ZoomMax: 'ten' is not a number";
    EXPECT_STREQ("lin", error) << "the full length, the text cut to fit";
    ASSERT_TRUE(test_support::WriteTextFile(path, "[Camera1]\nZoomMax=12\n"));
    EXPECT_EQ(1u, sim_.SimLoadConfigFile(path.c_str()));
    EXPECT_EQ(0u, sim_.SimConfigError(error, sizeof error));
    Open();
    EXPECT_EQ(0u, sim_.SimLoadConfigText("[Camera1]\nZoomMax=3\n")) << "not under an open source";
    for (const char* startup : {path.c_str(), static_cast<const char*>(nullptr)}) {
        SetEnvironmentVariableA("KAMVIO_SIM_CONFIG", startup);
        EXPECT_EQ(startup ? 0u : 1u, sim_.SimReset()) << "0: it had to shut the SDK down";
        EXPECT_EQ(startup ? 12u : 9u, Setting("ZoomMax")) << "the start-up file, else the defaults";
    }
    EXPECT_EQ(0u, Setting("Started") + Setting("OpenSources") + sim_.SimLogCount());
    source_ = 0;
    DeleteFileA(path.c_str());
}

using LedgerTest = SimTest;

TEST_F(LedgerTest, EachBreachIsRecordedOnceAndTheCallAnswersAsDocumented) {
    const cdHSource& s = source_;
    cdHEnum e = 0;
    uint16_t code = 0;
    uint32_t n = 0;
    cdReleaseImageInfo item = {};
    MemoryStream stream;
    stream.failOp = "Write", stream.failCode = cdSTREAM_NOT_OPEN;
    const auto live = [&] { return sdk_.CDStartViewfinder(s, 1, IgnoreFrame, 0); };
    const struct {
        int camera;  // connected to it first, unless < 0
        std::function<cdError()> breach;
        cdError status;
        std::vector<std::string> lines;  // the start of each line, or a part of it after "..."
    } cases[] = {
        {-1, [&] { return sdk_.CDEnumDeviceReset(1, &e); }, 0xD0, {"CDEnumDeviceReset: called before CDStartSDK"}},
        {-1, [&] { StartSdk(); sdk_.CDFinishSDK(); return sdk_.CDLockUI(1); }, cdSEQUENCE_ERROR,
         {"CDLockUI: called after CDFinishSDK"}},
        {0, [&] { return sdk_.CDGetWBSetting(s + 1000, &code); }, cdINVALID_HANDLE, {"CDGetWBSetting: source 0x"}},
        {0, [&] { sdk_.CDEnumAvValueReset(s, &e); return sdk_.CDEnumTvValueNext(e, &code); }, cdINVALID_HANDLE,
         {"CDEnumTvValueNext: enumeration 0x"}},
        {0, [&] { return sdk_.CDUnregisterEventCallbackFunction(s, registration_ + 5); }, cdINVALID_HANDLE,
         {"CDUnregisterEventCallbackFunction: registration 0x"}},
        {0, [&] { return InOrder({live(), sdk_.CDExitReleaseControl(s)}); }, 0,
         {"CDExitReleaseControl: the viewfinder of 0x"}},
        {0, [&] { return InOrder({live(), sdk_.CDUnregisterEventCallbackFunction(s, registration_)}); }, cdOK,
         {"CDUnregisterEventCallbackFunction: the viewfinder of 0x", "...still in release control"}},
        // The close still does all its work: the finish after it finds nothing left.
        {0, [&] { return InOrder({live(), sdk_.CDCloseSource(s), sdk_.CDFinishSDK()}); }, cdOK,
         {"CDCloseSource: the viewfinder of 0x", "...still in release control", "...still has an event callback"}},
        {0, [&] { sdk_.CDEnumFlashSettingReset(s, &e), sdk_.CDEnumDeviceReset(1, &e); return sdk_.CDFinishSDK(); }, 0,
         {"...(SimCam Compact Z10) is still open", "CDFinishSDK: Flash enumeration", "...: device enumeration"}},
        {0, [&] { sdk_.CDExitReleaseControl(s); return sdk_.CDRelease(s, 0, nullptr, 0, 1, &n); }, cdSEQUENCE_ERROR,
         {"CDRelease: source 0x"}},
        {1, [&] { return InOrder({live(), sdk_.CDRelease(s, 0, nullptr, 0, 1, &n)}); }, cdSEQUENCE_ERROR,
         {"...runs, and this camera needs it stopped for a shot"}},
        {0, [&] { Shoot(); return sdk_.CDGetReleasedData(s, nullptr, 0, 3, &item, &stream.medium); }, cdSTREAM_NOT_OPEN,
         {"CDGetReleasedData: stream Write answered 0xA1 (not open) after a successful Open"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines[0]);
        if (c.camera >= 0) Open("", c.camera);
        EXPECT_EQ(c.status, c.breach());
        std::vector<std::string> lines = Violations();
        ASSERT_EQ(c.lines.size(), lines.size()) << (lines.empty() ? "" : lines[0]);
        for (size_t i = 0; i < lines.size(); ++i) {
            const bool part = c.lines[i].rfind("...", 0) == 0;
            const size_t at = lines[i].find(c.lines[i].substr(part ? 3 : 0));
            EXPECT_TRUE(part ? at != std::string::npos : at == 0) << lines[i];
        }
        source_ = 0;
        sim_.SimReset();
    }
}

}  // namespace
