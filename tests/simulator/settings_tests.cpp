// Setting lists, values, release-camera data, device properties, volumes, zoom and the LCD.
#include "tests/simulator/sim_fixture.h"

namespace {

class SettingsTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        StartSdk();
        Connect();
    }
    void TearDown() override {
        if (source_) DisconnectAndFinish();
        SimTest::TearDown();
    }
};

// One code list's four entry points and its Get/Set pair, for the table-driven checks.
struct CodeList {
    const char* key;
    PFN_CDEnumWBSettingReset reset;
    PFN_CDEnumWBSettingNext next;
    PFN_CDGetWBSettingCount count;
    PFN_CDEnumWBSettingRelease release;
    PFN_CDGetWBSetting get;  // null for the flash, whose Get has two values
    PFN_CDSetWBSetting set;
};

std::vector<CodeList> CodeLists(const SdkApi& s) {
    return {
        {"WB", s.CDEnumWBSettingReset, s.CDEnumWBSettingNext, s.CDGetWBSettingCount, s.CDEnumWBSettingRelease,
         s.CDGetWBSetting, s.CDSetWBSetting},
        {"ExpComp", s.CDEnumExposureCompReset, s.CDEnumExposureCompNext, s.CDGetExposureCompCount,
         s.CDEnumExposureCompRelease, s.CDGetExposureComp, s.CDSetExposureComp},
        {"Flash", s.CDEnumFlashSettingReset, s.CDEnumFlashSettingNext, s.CDGetFlashSettingCount,
         s.CDEnumFlashSettingRelease, nullptr, nullptr},
        {"Av", s.CDEnumAvValueReset, s.CDEnumAvValueNext, s.CDGetAvValueCount, s.CDEnumAvValueRelease, s.CDGetAvValue,
         s.CDSetAvValue},
        {"Tv", s.CDEnumTvValueReset, s.CDEnumTvValueNext, s.CDGetTvValueCount, s.CDEnumTvValueRelease, s.CDGetTvValue,
         s.CDSetTvValue},
        {"ShootingMode", s.CDEnumShootingModeReset, s.CDEnumShootingModeNext, s.CDGetShootingModeCount,
         s.CDEnumShootingModeRelease, s.CDGetShootingMode, s.CDSetShootingMode},
    };
}

TEST_F(SettingsTest, EveryCodeListEnumeratesSixteenBitCodesUntilEnumNa) {
    DisconnectAndFinish();
    Configure("[Camera1]\nWB.List=0,255,32768\nExpComp.List=0,24,48\nFlash.List=2,5\nAv.List=32,65535\n"
              "Tv.List=4,168\nShootingMode.List=1,110\n");
    StartSdk();
    Connect();
    const std::vector<std::vector<uint16_t>> expected = {{0, 255, 32768}, {0, 24, 48}, {2, 5}, {32, 65535}, {4, 168}, {1, 110}};
    std::vector<CodeList> lists = CodeLists(sdk_);
    for (size_t i = 0; i < lists.size(); ++i) {
        const CodeList& list = lists[i];
        cdHEnum e = 0;
        ASSERT_EQ(cdOK, list.reset(source_, &e)) << list.key;
        uint32_t count = 0;
        ASSERT_EQ(cdOK, list.count(e, &count));
        EXPECT_EQ(expected[i].size(), count) << list.key;
        std::vector<uint16_t> seen;
        uint16_t guarded[3] = {0xAAAA, 0xAAAA, 0xAAAA};
        while (list.next(e, &guarded[1]) == cdOK) seen.push_back(guarded[1]);
        EXPECT_EQ(expected[i], seen) << list.key;
        EXPECT_EQ(0xAAAA, guarded[0]) << list.key << ": only 16 bits are written";
        EXPECT_EQ(0xAAAA, guarded[2]) << list.key;
        EXPECT_EQ(cdENUM_NA, list.next(e, &guarded[1])) << list.key << ": the end stays the end";
        EXPECT_EQ(cdOK, list.release(e));
    }
    EXPECT_TRUE(Violations().empty());
}

TEST_F(SettingsTest, CountOverridesAreReportedWhateverTheListHolds) {
    DisconnectAndFinish();
    std::string longList;
    for (int i = 0; i < 100; ++i) longList += (i ? "," : "") + std::to_string(i);
    Configure(("[Camera1]\nAv.List=" + longList + "\nTv.Count=200\nWB.Count=0\n").c_str());
    StartSdk();
    Connect();
    cdHEnum e = 0;
    uint32_t count = 0;
    sdk_.CDEnumAvValueReset(source_, &e);
    sdk_.CDGetAvValueCount(e, &count);
    EXPECT_EQ(100u, count) << "more than any caller's capacity";
    sdk_.CDEnumAvValueRelease(e);
    sdk_.CDEnumTvValueReset(source_, &e);
    sdk_.CDGetTvValueCount(e, &count);
    EXPECT_EQ(200u, count);
    uint16_t value = 0;
    uint32_t delivered = 0;
    while (sdk_.CDEnumTvValueNext(e, &value) == cdOK) ++delivered;
    EXPECT_LT(delivered, 200u) << "Next still ends with the real list";
    sdk_.CDEnumTvValueRelease(e);
    sdk_.CDEnumWBSettingReset(source_, &e);
    sdk_.CDGetWBSettingCount(e, &count);
    EXPECT_EQ(0u, count);
    EXPECT_EQ(cdOK, sdk_.CDEnumWBSettingNext(e, &value)) << "the values are there all the same";
    sdk_.CDEnumWBSettingRelease(e);
}

TEST_F(SettingsTest, SetStoresListedCodesAndRefusesOthers) {
    for (const CodeList& list : CodeLists(sdk_)) {
        if (!list.set) continue;
        cdHEnum e = 0;
        uint16_t last = 0, code = 0;
        list.reset(source_, &e);
        while (list.next(e, &code) == cdOK) last = code;
        list.release(e);
        ASSERT_EQ(cdOK, list.set(source_, last)) << list.key;
        uint16_t read = 0;
        ASSERT_EQ(cdOK, list.get(source_, &read));
        EXPECT_EQ(last, read) << list.key;
        EXPECT_EQ(last, Setting(list.key));
        EXPECT_EQ(cdINVALID_PARAMETER, list.set(source_, 0xFFFE)) << list.key;
        EXPECT_EQ(last, Setting(list.key)) << list.key << ": a refused value changes nothing";
        EXPECT_EQ(cdINVALID_POINTER, list.get(source_, nullptr));
    }
    EXPECT_EQ(cdOK, sdk_.CDSetShootingMode(source_, 110)) << "macro";
}

TEST_F(SettingsTest, LenientCamerasStoreAnyCode) {
    DisconnectAndFinish();
    Configure("[Camera1]\nStrictValues=0\n");
    StartSdk();
    Connect();
    EXPECT_EQ(cdOK, sdk_.CDSetWBSetting(source_, 4095));
    EXPECT_EQ(4095u, Setting("WB"));
}

TEST_F(SettingsTest, FlashKeepsItsSecondValue) {
    uint16_t mode = 0;
    uint32_t second = 1;
    ASSERT_EQ(cdOK, sdk_.CDSetFlashSetting(source_, 2, 255));
    ASSERT_EQ(cdOK, sdk_.CDGetFlashSetting(source_, &mode, &second));
    EXPECT_EQ(2, mode);
    EXPECT_EQ(255u, second);
    EXPECT_EQ(255u, Setting("FlashSecond"));
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDSetFlashSetting(source_, 9, 0));
    EXPECT_EQ(255u, Setting("FlashSecond"));
}

TEST_F(SettingsTest, ImageFormatsComeAsQualityThenSize) {
    DisconnectAndFinish();
    Configure("[Camera1]\nImageFormat.List=3:3,0:5\nImageFormat=0:5\nImageFormat.Count=25\n");
    StartSdk();
    Connect();
    cdHEnum e = 0;
    ASSERT_EQ(cdOK, sdk_.CDEnumImageFormatAttributeReset(source_, &e));
    uint32_t count = 0;
    sdk_.CDGetImageFormatAttributeCount(e, &count);
    EXPECT_EQ(25u, count);
    uint16_t quality = 0, size = 0;
    ASSERT_EQ(cdOK, sdk_.CDEnumImageFormatAttributeNext(e, &quality, &size));
    EXPECT_EQ(3, size);
    EXPECT_EQ(3, quality);
    ASSERT_EQ(cdOK, sdk_.CDEnumImageFormatAttributeNext(e, &quality, &size));
    EXPECT_EQ(0, size);
    EXPECT_EQ(5, quality);
    EXPECT_EQ(cdENUM_NA, sdk_.CDEnumImageFormatAttributeNext(e, &quality, &size));
    sdk_.CDEnumImageFormatAttributeRelease(e);
    ASSERT_EQ(cdOK, sdk_.CDSetImageFormatAttribute(source_, 3, 3));  // quality, size
    EXPECT_EQ(3u, Setting("ImageSize"));
    EXPECT_EQ(3u, Setting("ImageQuality"));
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDSetImageFormatAttribute(source_, 5, 3));
    ASSERT_EQ(cdOK, sdk_.CDGetImageFormatAttribute(source_, &quality, &size));
    EXPECT_EQ(3, quality);
    EXPECT_EQ(3, size);
}

TEST_F(SettingsTest, ReleaseCameraValuesAreWrittenInTheirElementSize) {
    struct Case {
        uint32_t id;
        uint32_t size;
        uint32_t first;
    };
    for (const Case& c : {Case{0x08000004, 1, 3}, Case{0x08000005, 2, 0x3001}, Case{0x0800000C, 2, 0},
                          Case{0x08000B00, 2, 0}, Case{0x08000C00, 2, 0}}) {
        cdHEnum e = 0;
        uint32_t elementSize = 0;
        ASSERT_EQ(cdOK, sdk_.CDEnumRelCamSettingDataReset(source_, c.id, &e, &elementSize)) << std::hex << c.id;
        EXPECT_EQ(c.size, elementSize) << std::hex << c.id;
        uint32_t value = 0xAAAAAAAA;
        ASSERT_EQ(cdOK, sdk_.CDEnumRelCamSettingDataNext(e, elementSize, &value));
        uint32_t untouched = c.size == 1 ? 0xAAAAAA00 : 0xAAAA0000;
        EXPECT_EQ(untouched | c.first, value) << std::hex << c.id << ": only " << c.size << " byte(s) written";
        uint32_t count = 0;
        EXPECT_EQ(cdOK, sdk_.CDGetRelCamSettingDataCount(e, &count));
        uint32_t delivered = 1;
        while (sdk_.CDEnumRelCamSettingDataNext(e, elementSize, &value) == cdOK) ++delivered;
        EXPECT_EQ(count, delivered);
        EXPECT_EQ(cdOK, sdk_.CDEnumRelCamSettingDataRelease(e));
    }
    cdHEnum e = 0;
    uint32_t elementSize = 0;
    EXPECT_EQ(cdNOT_SUPPORTED, sdk_.CDEnumRelCamSettingDataReset(source_, 0x12345678, &e, &elementSize));
    EXPECT_TRUE(Violations().empty());
}

TEST_F(SettingsTest, ReadingAReleaseCameraValueAcceptsASizeWordOfZero) {
    uint32_t size = 0, value = 0xAAAAAAAA;
    ASSERT_EQ(cdOK, sdk_.CDGetRelCamSettingData(source_, 0x08000004, &size, &value));
    EXPECT_EQ(1u, size);
    EXPECT_EQ(0xAAAAAA03u, value);
    size = 4;
    value = 0;
    ASSERT_EQ(cdOK, sdk_.CDGetRelCamSettingData(source_, 0x08000005, &size, &value));
    EXPECT_EQ(2u, size);
    EXPECT_EQ(0x3001u, value);
    size = 1;
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDGetRelCamSettingData(source_, 0x08000005, &size, &value)) << "too small";
    EXPECT_EQ(cdNOT_SUPPORTED, sdk_.CDGetRelCamSettingData(source_, 0x0800000D, &size, &value));
}

TEST_F(SettingsTest, WritingAReleaseCameraValueTakesTheGivenBytesAndLogsThem) {
    uint32_t metering = 0xFFFFFF01;  // what lies behind the first byte is not part of the value
    ASSERT_EQ(cdOK, sdk_.CDSetRelCamSettingData(source_, 0x08000004, 1, &metering));
    EXPECT_EQ(1u, Setting("RelCam.0x08000004"));
    uint32_t iso = 88;
    ASSERT_EQ(cdOK, sdk_.CDSetRelCamSettingData(source_, 0x0800000C, 2, &iso));
    EXPECT_EQ(88u, Setting("RelCam.0x0800000C"));
    uint32_t unlisted = 70;
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDSetRelCamSettingData(source_, 0x0800000C, 2, &unlisted));
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDSetRelCamSettingData(source_, 0x0800000C, 0, &iso));
    std::vector<SimCall> calls = Calls("CDSetRelCamSettingData");
    ASSERT_EQ(4u, calls.size());
    EXPECT_EQ(1u, calls[0].dataSize);
    EXPECT_EQ(0x01, calls[0].data[0]);
    EXPECT_EQ(2u, calls[1].dataSize);
    EXPECT_EQ(88, calls[1].data[0]);
    EXPECT_EQ(0, calls[1].data[1]);
    EXPECT_EQ(0x0800000Cu, calls[1].args[1]);
    EXPECT_EQ(cdINVALID_PARAMETER, calls[2].status);
}

TEST_F(SettingsTest, DevicePropertiesGiveCapabilityNamesAndClock) {
    uint32_t size = 4, word = 0;
    ASSERT_EQ(cdOK, sdk_.CDGetDevicePropertyData(source_, 8, &size, &word, 0));
    EXPECT_EQ(4u, word);
    char name[33];
    memset(name, 'x', sizeof name);
    size = 32;
    ASSERT_EQ(cdOK, sdk_.CDGetDevicePropertyData(source_, 2, &size, name, 0));
    EXPECT_STREQ("SimCam Z10", name);
    EXPECT_EQ(0, name[31]) << "zero padded to 32 bytes";
    EXPECT_EQ('x', name[32]) << "not one byte more";
    size = 32;
    ASSERT_EQ(cdOK, sdk_.CDGetDevicePropertyData(source_, 0x0800000C, &size, name, 0));
    EXPECT_STREQ("Kamvio", name);
    size = 4;
    ASSERT_EQ(cdOK, sdk_.CDGetDevicePropertyData(source_, 0x0800000D, &size, &word, 0));
    EXPECT_GT(word, 1500000000u) << "the PC clock";
    size = 16;
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDGetDevicePropertyData(source_, 2, &size, name, 0));
    size = 4;
    EXPECT_EQ(cdNOT_SUPPORTED, sdk_.CDGetDevicePropertyData(source_, 0x77, &size, &word, 0));
}

TEST_F(SettingsTest, OwnerAndClockCanBeWrittenAndTheInputIsLogged) {
    char field[32] = {};
    memcpy(field, "0123456789abcdefghijklmnopqrstuv", 32);  // exactly 32 bytes, no terminator
    uint32_t size = 32;
    ASSERT_EQ(cdOK, sdk_.CDSetDevicePropertyData(source_, 0x0800000C, &size, field));
    char text[64] = {};
    ASSERT_EQ(1u, sim_.SimGetSettingText("Owner", text, sizeof text));
    EXPECT_STREQ("0123456789abcdefghijklmnopqrstuv", text);
    char back[32];
    size = 32;
    ASSERT_EQ(cdOK, sdk_.CDGetDevicePropertyData(source_, 0x0800000C, &size, back, 0));
    EXPECT_EQ(0, back[31]) << "read back with a terminator";
    uint32_t when = 1173103689;  // 2007-03-05
    size = 4;
    ASSERT_EQ(cdOK, sdk_.CDSetDevicePropertyData(source_, 0x0800000D, &size, &when));
    uint32_t clock = Setting("Clock");
    EXPECT_GE(clock, when);
    EXPECT_LT(clock, when + 60) << "the camera clock runs on from the value set";
    size = 2;
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDSetDevicePropertyData(source_, 0x0800000D, &size, &when));
    size = 4;
    EXPECT_EQ(cdNOT_SUPPORTED, sdk_.CDSetDevicePropertyData(source_, 8, &size, &when));
    std::vector<SimCall> calls = Calls("CDSetDevicePropertyData");
    ASSERT_EQ(4u, calls.size());
    EXPECT_EQ(32u, calls[0].dataSize);
    EXPECT_EQ(0, memcmp(calls[0].data, field, 32));
    EXPECT_EQ(4u, calls[1].dataSize);
    EXPECT_EQ(0, memcmp(calls[1].data, &when, 4));
}

TEST_F(SettingsTest, AFixedClockStandsStill) {
    DisconnectAndFinish();
    Configure("[Camera1]\nClock=1173103689\n");
    StartSdk();
    Connect();
    uint32_t size = 4, clock = 0;
    ASSERT_EQ(cdOK, sdk_.CDGetDevicePropertyData(source_, 0x0800000D, &size, &clock, 0));
    EXPECT_EQ(1173103689u, clock);
}

TEST_F(SettingsTest, VolumesReportCapacityAndFreeSpaceInTheSecondAndThirdWords) {
    DisconnectAndFinish();
    Configure("[Camera1]\nVolumes=2\nVolumeSpace=2048,1024\n[Camera2]\nVolumes=0\n");
    StartSdk();
    Connect();
    cdHEnum e = 0;
    ASSERT_EQ(cdOK, sdk_.CDEnumVolumeReset(source_, &e));
    cdHVolume volumes[2] = {};
    ASSERT_EQ(cdOK, sdk_.CDEnumVolumeNext(e, &volumes[0]));
    ASSERT_EQ(cdOK, sdk_.CDEnumVolumeNext(e, &volumes[1]));
    cdHVolume none = 0;
    EXPECT_EQ(cdENUM_NA, sdk_.CDEnumVolumeNext(e, &none));
    EXPECT_NE(volumes[0], volumes[1]);
    cdVolumeInfo info = {};
    ASSERT_EQ(cdOK, sdk_.CDGetVolumeInfo(volumes[1], &info));
    const uint32_t* words = reinterpret_cast<const uint32_t*>(&info);
    EXPECT_EQ(2048u, words[1]);
    EXPECT_EQ(1024u, words[2]);
    EXPECT_EQ(cdOK, sdk_.CDEnumVolumeRelease(e));

    cdHSource eos = 0;
    SourceInfo second = FirstSource(1);
    ASSERT_EQ(cdOK, sdk_.CDOpenSource(&second, &eos));
    ASSERT_EQ(cdOK, sdk_.CDEnumVolumeReset(eos, &e));
    EXPECT_EQ(cdENUM_NA, sdk_.CDEnumVolumeNext(e, &none)) << "a camera without a card";
    sdk_.CDEnumVolumeRelease(e);
    sdk_.CDCloseSource(eos);
    EXPECT_EQ(cdINVALID_HANDLE, sdk_.CDGetVolumeInfo(0x7777, &info));
    EXPECT_TRUE(Reported("CDGetVolumeInfo: volume 0x00007777 belongs to no open source"));
}

TEST_F(SettingsTest, ZoomAcceptsPositionsUpToTheMaximum) {
    uint32_t maximum = 0, other = 0, position = 7;
    ASSERT_EQ(cdOK, sdk_.CDGetMaximumZoomPos(source_, &maximum, &other));
    EXPECT_EQ(9u, maximum);
    EXPECT_EQ(4u, other);
    EXPECT_EQ(cdOK, sdk_.CDSetZoomPos(source_, 9));
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDSetZoomPos(source_, 10));
    ASSERT_EQ(cdOK, sdk_.CDGetZoomPos(source_, &position));
    EXPECT_EQ(9u, position);
    EXPECT_EQ(9u, Setting("ZoomPos"));
    uint32_t magnification = 0;
    EXPECT_EQ(cdOK, sdk_.CDGetDZoomMagnification(source_, &magnification));
}

TEST_F(SettingsTest, TheLcdOutputIsChosenOrNotSupported) {
    EXPECT_EQ(0u, Setting("Lcd"));
    EXPECT_EQ(cdOK, sdk_.CDSelectViewFinderCameraOutput(source_, 3));
    EXPECT_EQ(3u, Setting("Lcd"));
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDSelectViewFinderCameraOutput(source_, 2));
    DisconnectAndFinish();
    Configure("[Camera1]\nLcdOutput=0\n");
    StartSdk();
    Connect();
    EXPECT_EQ(cdNOT_SUPPORTED, sdk_.CDSelectViewFinderCameraOutput(source_, 1));
}

TEST_F(SettingsTest, TheReleaseDataKindIsKept) {
    EXPECT_EQ(cdOK, sdk_.CDSelectReleaseDataKind(source_, 3));
    EXPECT_EQ(3u, Setting("ReleaseDataKind"));
    EXPECT_EQ(3u, Setting("Camera1.ReleaseDataKind"));
    EXPECT_EQ(0u, Setting("Camera2.ReleaseDataKind"));
}

}  // namespace
