// The configuration reader: defaults, overrides, and refusal of malformed text.
#include <gtest/gtest.h>

#include "simulator/sim_config.h"

using namespace sim;

namespace {

TEST(SimConfigTest, KeysOverrideTheDefaultsOfTheirCameraOnly) {
    SimConfig config;
    std::string error;
    // At their limits: 1024 cameras, a 2048 x 1536 viewfinder at 100 frames, names of 31 and 255 characters.
    const std::string edge = "[Camera2]\nViewWidth=2048\nViewHeight=1536\nViewFps=100\nOwner=" + std::string(31, 'o') +
                             "\nPropertyName=" + std::string(31, 'p') + "\nModel=" + std::string(255, 'm') + "\n";
    ASSERT_TRUE(ParseConfig("\xEF\xBB\xBF; comment\n[ simulator ]\r\nCameras=1024\nChunkSize = 1000 \n" + edge +
                                "[Camera1024]\nModel=Last\n[Camera1025]\nModel=Ignored\n[Camera1]\nmodel=Bench Cam\n"
                                "WB.List=0x00FF, 4095 ,32768\nWB=4095\nWB.Count=40\nAv.List=\nTv.Count=\n"
                                "ImageFormat.List=3:3,0:3\nRelCam.0x08000099.List=1,2\nFrameFaults=freed, TallHeader\n",
                            &config, &error))
        << error;
    ASSERT_EQ(1024u, config.cameras.size());
    const CameraConfig& c = config.cameras[0];
    EXPECT_EQ(1000u, config.chunkSize) << "names ignore case, values are trimmed";
    EXPECT_EQ("Bench Cam/Last", c.model + "/" + config.cameras.back().model);
    EXPECT_EQ(255u, config.cameras[1].model.size());
    EXPECT_NE(config.cameras[2].model, config.cameras[3].model) << "each camera has its own name";
    EXPECT_EQ((std::vector<uint32_t>{255, 4095, 32768}), c.List(ListId::WB).values);
    EXPECT_EQ(4095u << 8 | 40u, c.List(ListId::WB).current << 8 | c.List(ListId::WB).ReportedCount());
    EXPECT_TRUE(c.List(ListId::Av).values.empty());
    EXPECT_EQ(c.List(ListId::Tv).values.size(), c.List(ListId::Tv).ReportedCount()) << "an empty count: the list's";
    EXPECT_EQ(DefaultCamera(1).List(ListId::ExpComp).values, c.List(ListId::ExpComp).values);
    EXPECT_EQ(PackFormat(3, 3), c.List(ListId::ImageFormat).values[0]);
    EXPECT_EQ(2u, c.relCam.at(0x08000099).elementSize) << "a new id starts with size 2";
    EXPECT_EQ(kFrameFreed | kFrameTallHeader, c.frameFaults);
    // What the other tests rely on: a compact with viewfinder and zoom, and an EOS.
    const CameraConfig compact = DefaultCamera(1);
    EXPECT_EQ(4u, compact.capability & 4);
    EXPECT_NE(0u, compact.zoomMax);
    EXPECT_NE("Canon PowerShot A640", compact.model);
    EXPECT_EQ(0u, DefaultCamera(2).propertyName.rfind("EOS", 0));
}

TEST(SimConfigTest, MalformedTextIsRefusedWholeWithTheLineAndTheReason) {
    const struct {
        std::string text;
        const char* reason;
    } cases[] = {{"[Camera1]\nWB.List=1,x\n", "line 2: [Camera1] WB.List: 'x' is not a number"},
                 {"[Camera1]\nColour=1\n", "unknown key"}, {"[Lens]\nZoomMax=1\n", "unknown section"},
                 {"Cameras=1\n", "line 1: key outside of any section"}, {"[Camera1\nBusy=1\n", "bad section header"},
                 {"[Camera1]\nnot a pair\n", "expected key=value"}, {"[Camera1]\nWB=65536\n", "WB"},
                 {"[Camera1]\nZoomMax=0x100000000\n", "ZoomMax"}, {"[Camera1]\nItems=0x20:1\n", "Items"},
                 {"[Camera1]\nViewFps=101\n", "ViewFps"}, {"[Camera1]\nViewFps=0\n", "ViewFps must be at least 1"},
                 {"[Camera1]\nViewWidth=2048\nViewHeight=1537\n", "[Camera1] viewfinder size out of range"},
                 {"[Camera1]\nRelCam.0x08000004.List=256\n", "RelCam.0x08000004 does not fit its element size"},
                 {"[Camera1]\nRelCam.0x08000004.Size=3\n", "Size"}, {"[Camera1]\nWB.Size=1\n", "WB.Size"},
                 {"[Camera1]\nOwner=" + std::string(32, 'o'), "Owner"},
                 {"[Camera1]\nModel=" + std::string(256, 'm'), "Model"}, {"[Simulator]\nChunkSize=0\n", "ChunkSize"},
                 {"[Simulator]\nCameras=1025\n", "Cameras"},
                 {"[Camera1]\nFrameFaults=Freed,Lost\n", "'Lost' is no frame fault"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SimConfig config;
        config.chunkSize = 7;  // a marker: a refused text leaves the configuration alone
        std::string error;
        EXPECT_FALSE(ParseConfig(c.text, &config, &error));
        EXPECT_EQ(7u, config.chunkSize);
        EXPECT_NE(std::string::npos, error.find(c.reason)) << error;
    }
}

}  // namespace
