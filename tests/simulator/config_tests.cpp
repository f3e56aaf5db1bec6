// The configuration reader: defaults, overrides, and refusal of malformed text.
#include <gtest/gtest.h>

#include "simulator/camera_model.h"
#include "simulator/ini_text.h"
#include "simulator/sim_config.h"

using namespace sim;

namespace {

SimConfig Parse(const std::string& text) {
    SimConfig config;
    std::string error;
    EXPECT_TRUE(ParseConfig(text, &config, &error)) << error;
    return config;
}

std::string Refusal(const std::string& text) {
    SimConfig config = DefaultConfig();
    config.chunkSize = 7;  // a marker: a refused text must leave the configuration alone
    std::string error;
    EXPECT_FALSE(ParseConfig(text, &config, &error)) << text;
    EXPECT_EQ(7u, config.chunkSize);
    return error;
}

TEST(SimConfigTest, DefaultsOfferACompactAndAnEosCameraWithTheCodesOfTheLabelTables) {
    SimConfig config = DefaultConfig();
    ASSERT_EQ(2u, config.cameras.size());
    const CameraConfig& compact = config.cameras[0];
    const CameraConfig& eos = config.cameras[1];
    EXPECT_NE("Canon PowerShot A640", compact.model);
    EXPECT_EQ(4u, compact.capability & 4);
    EXPECT_GT(compact.zoomMax, 0u);
    EXPECT_EQ(0u, eos.propertyName.rfind("EOS", 0));
    EXPECT_EQ(0u, eos.zoomMax);
    EXPECT_TRUE(compact.List(ListId::ShootingMode).Contains(110));  // macro
    EXPECT_TRUE(compact.List(ListId::ExpComp).Contains(24));       // 0 EV
    for (uint32_t wb : compact.List(ListId::WB).values) EXPECT_LE(wb, 6u);
    EXPECT_EQ(1u, compact.relCam.at(0x08000004).elementSize);  // metering: one byte
    for (uint32_t id : {0x08000005u, 0x0800000Cu, 0x08000B00u, 0x08000C00u}) EXPECT_EQ(2u, compact.relCam.at(id).elementSize);
    EXPECT_EQ(0x3001u, compact.relCam.at(0x08000005).values.front());
    EXPECT_EQ((std::vector<uint32_t>{0, 1}), compact.relCam.at(0x08000C00).values);
    EXPECT_EQ(65536u, config.chunkSize);
    ASSERT_EQ(2u, compact.items.size());
    EXPECT_EQ(0x20u, compact.items[0].kind);
    EXPECT_EQ(0x10u, compact.items[1].kind);
}

TEST(SimConfigTest, KeysOverrideTheDefaultsOfTheirCameraOnly) {
    SimConfig config = Parse(
        "; comment\n[Simulator]\nChunkSize=1000\n"
        "[Camera1]\nModel=Bench Cam\nBusy=1\nWB.List=0x00FF, 4095 ,32768\nWB=4095\nWB.Count=40\n"
        "ImageFormat.List=3:3,0:3\nImageFormat=0:3\nItems=0x20:2:100,0x10:1:0\nVolumeSpace=10,0\n"
        "RelCam.0x08000004.Size=1\nRelCam.0x08000004.List=0,255\nRelCam.0x08000099.List=1,2\n");
    ASSERT_EQ(2u, config.cameras.size());
    const CameraConfig& c = config.cameras[0];
    EXPECT_EQ(1000u, config.chunkSize);
    EXPECT_EQ("Bench Cam", c.model);
    EXPECT_TRUE(c.busy);
    EXPECT_EQ((std::vector<uint32_t>{255, 4095, 32768}), c.List(ListId::WB).values);
    EXPECT_EQ(4095u, c.List(ListId::WB).current);
    EXPECT_EQ(40u, c.List(ListId::WB).ReportedCount());
    EXPECT_EQ(DefaultCamera(1).List(ListId::ExpComp).values, c.List(ListId::ExpComp).values) << "other lists keep theirs";
    EXPECT_EQ(PackFormat(3, 3), c.List(ListId::ImageFormat).values[0]);
    EXPECT_EQ(3u, FormatSize(c.List(ListId::ImageFormat).values[0]));
    EXPECT_EQ(2u, c.items[0].format);
    EXPECT_EQ(100u, c.items[0].size);
    EXPECT_EQ(10u, c.volumeCapacityKB);
    EXPECT_EQ(0u, c.volumeFreeKB);
    EXPECT_EQ((std::vector<uint32_t>{1, 2}), c.relCam.at(0x08000099).values);
    EXPECT_EQ(2u, c.relCam.at(0x08000099).elementSize);
    EXPECT_FALSE(config.cameras[1].busy);
}

TEST(SimConfigTest, CameraCountMakesMoreCamerasThanAnyCallerHoldsAndIgnoresSectionsBeyondIt) {
    SimConfig many = Parse("[Simulator]\nCameras=300\n[Camera300]\nModel=Last\n");
    ASSERT_EQ(300u, many.cameras.size());
    EXPECT_EQ("Last", many.cameras[299].model);
    EXPECT_NE(many.cameras[2].model, many.cameras[3].model) << "each camera has its own name";
    SimConfig one = Parse("[Camera2]\nModel=Gone\n[Simulator]\nCameras=1\n");
    ASSERT_EQ(1u, one.cameras.size());
    SimConfig none = Parse("[Simulator]\nCameras=0\n");
    EXPECT_TRUE(none.cameras.empty());
}

TEST(SimConfigTest, EmptyListsAndEmptyCountOverridesAreAllowed) {
    SimConfig config = Parse("[Camera1]\nAv.List=\nAv.Count=\nTv.Count=0\n");
    EXPECT_TRUE(config.cameras[0].List(ListId::Av).values.empty());
    EXPECT_EQ(0u, config.cameras[0].List(ListId::Av).ReportedCount());
    EXPECT_EQ(0u, config.cameras[0].List(ListId::Tv).ReportedCount());
    EXPECT_FALSE(config.cameras[0].List(ListId::Tv).values.empty());
}

TEST(SimConfigTest, MalformedTextIsRefusedWithTheLineAndTheReason) {
    EXPECT_NE(std::string::npos, Refusal("[Camera1]\nWB.List=1,x\n").find("line 2"));
    EXPECT_NE(std::string::npos, Refusal("[Camera1]\nWB.List=1,x\n").find("'x' is not a number"));
    EXPECT_NE(std::string::npos, Refusal("[Camera1]\nColour=1\n").find("unknown key"));
    EXPECT_NE(std::string::npos, Refusal("[Lens]\nZoomMax=1\n").find("unknown section"));
    EXPECT_FALSE(Refusal("Cameras=1\n").empty()) << "key outside a section";
    EXPECT_FALSE(Refusal("[Camera1\nBusy=1\n").empty());
    EXPECT_FALSE(Refusal("[Camera1]\nnot a pair\n").empty());
    EXPECT_FALSE(Refusal("[Camera1]\nWB=65536\n").empty()) << "codes are 16 bits";
    EXPECT_FALSE(Refusal("[Camera1]\nWB=-1\n").empty());
    EXPECT_FALSE(Refusal("[Camera1]\nZoomMax=99999999999\n").empty());
    EXPECT_FALSE(Refusal("[Camera1]\nBusy=2\n").empty());
    EXPECT_FALSE(Refusal("[Camera1]\nImageFormat=3\n").empty());
    EXPECT_FALSE(Refusal("[Camera1]\nItems=0x20:1\n").empty());
    EXPECT_FALSE(Refusal("[Camera1]\nVolumeSpace=5\n").empty());
    EXPECT_FALSE(Refusal("[Camera1]\nViewWidth=0\n").empty());
    EXPECT_FALSE(Refusal("[Camera1]\nViewFps=0\n").empty());
    EXPECT_FALSE(Refusal("[Camera1]\nViewWidth=4096\nViewHeight=4096\n").empty()) << "eight such frames are too many";
    EXPECT_FALSE(Refusal("[Camera1]\nRelCam.0x08000004.Size=3\n").empty());
    EXPECT_FALSE(Refusal("[Camera1]\nRelCam.0x08000004.List=256\n").empty()) << "metering values are one byte";
    EXPECT_FALSE(Refusal("[Camera1]\nWB.Size=1\n").empty()) << "only release-camera settings have a size";
    EXPECT_FALSE(Refusal("[Camera1]\nOwner=" + std::string(40, 'o') + "\n").empty());
    EXPECT_FALSE(Refusal("[Camera1]\nModel=" + std::string(300, 'm') + "\n").empty());
    EXPECT_FALSE(Refusal("[Simulator]\nChunkSize=0\n").empty());
    EXPECT_FALSE(Refusal("[Simulator]\nCameras=5000\n").empty());
}

TEST(SimConfigTest, NumbersAreDecimalOrHexWithinThirtyTwoBits) {
    uint32_t value = 0;
    EXPECT_TRUE(ParseNumber("0x0800000C", &value));
    EXPECT_EQ(0x0800000Cu, value);
    EXPECT_TRUE(ParseNumber("4294967295", &value));
    EXPECT_EQ(0xFFFFFFFFu, value);
    for (const char* bad : {"", "0x", "4294967296", "0x100000000", "12a", " 1", "+1", "1.5"}) {
        EXPECT_FALSE(ParseNumber(bad, &value)) << bad;
    }
}

TEST(IniTextTest, SectionsKeysAndValuesAreTrimmedAndNamesIgnoreCase) {
    std::vector<IniEntry> entries;
    std::string error;
    ASSERT_TRUE(ParseIni("\xEF\xBB\xBF[ Camera1 ]\r\n  Model = A B \r\n# note\n\n[x]\nk=\n", &entries, &error)) << error;
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ("Camera1", entries[0].section);
    EXPECT_EQ("Model", entries[0].key);
    EXPECT_EQ("A B", entries[0].value);
    EXPECT_EQ(2, entries[0].line);
    EXPECT_EQ("", entries[1].value);
    EXPECT_TRUE(EqualsNoCase("RelCam", "relcam"));
    EXPECT_FALSE(EqualsNoCase("RelCam", "relca"));
}

TEST(CameraModelTest, ReportsSettingsByKeyAndKeepsTheClock) {
    CameraConfig config = DefaultCamera(1);
    config.clock = 1000;
    CameraModel fixed(config);
    uint32_t value = 0;
    ASSERT_TRUE(fixed.Setting("clock", 5000, &value));
    EXPECT_EQ(1000u, value) << "a configured clock stands still";
    fixed.SetClock(2000, 5000);
    fixed.Setting("Clock", 9000, &value);
    EXPECT_EQ(2000u, value);

    CameraModel pc(DefaultCamera(1));
    pc.SetClock(100, 50);
    pc.Setting("Clock", 60, &value);
    EXPECT_EQ(110u, value) << "the PC clock keeps running with the offset set";

    ASSERT_TRUE(pc.Setting("RelCam.0x08000004", 0, &value));
    EXPECT_EQ(3u, value);
    ASSERT_TRUE(pc.Setting("ImageQuality", 0, &value));
    EXPECT_EQ(3u, value);
    EXPECT_FALSE(pc.Setting("RelCam.0x12345678", 0, &value));
    EXPECT_FALSE(pc.Setting("ImageFormat", 0, &value)) << "the pair is read as ImageSize and ImageQuality";
    std::string text;
    ASSERT_TRUE(pc.Text("owner", &text));
    EXPECT_EQ("Kamvio", text);
}

TEST(CameraModelTest, StrictCamerasAcceptOnlyListedValues) {
    CameraConfig config = DefaultCamera(1);
    CameraModel strict(config);
    EXPECT_TRUE(strict.Accepts(config.List(ListId::WB), 3));
    EXPECT_FALSE(strict.Accepts(config.List(ListId::WB), 7));
    config.strictValues = false;
    CameraModel lenient(config);
    EXPECT_TRUE(lenient.Accepts(config.List(ListId::WB), 7));
}

}  // namespace
