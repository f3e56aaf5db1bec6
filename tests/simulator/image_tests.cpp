// Frame files, the scene and the bytes of synthetic items.
#include <gtest/gtest.h>
#include <string.h>

#include "simulator/bmp_file.h"
#include "simulator/font5x7.h"
#include "simulator/item_bytes.h"
#include "simulator/scene.h"

using namespace sim;

namespace {

uint32_t Word(const std::vector<uint8_t>& bytes, size_t at) {
    uint32_t value = 0;
    memcpy(&value, bytes.data() + at, 4);
    return value;
}

std::vector<uint8_t> Frame(uint32_t width, uint32_t height, const SceneParams& scene) {
    std::vector<uint8_t> file(BmpFileSize(width, height), 0xEE);
    WriteBmpHeaders(file.data(), width, height);
    RenderScene(scene, BmpPixels(file.data(), width, height));
    return file;
}

TEST(BmpFileTest, HeadersDescribeBottomUpTwentyFourBitRowsPaddedToFourBytes) {
    std::vector<uint8_t> file = Frame(81, 3, SceneParams());
    ASSERT_EQ(54u + 244u * 3, file.size()) << "81 * 3 = 243 bytes per row, padded to 244";
    EXPECT_EQ('B', file[0]);
    EXPECT_EQ('M', file[1]);
    EXPECT_EQ(file.size(), Word(file, 2));
    EXPECT_EQ(54u, Word(file, 10));
    EXPECT_EQ(40u, Word(file, 14));
    EXPECT_EQ(81u, Word(file, 18));
    EXPECT_EQ(3u, Word(file, 22));
    EXPECT_EQ(24, file[28]);
    EXPECT_EQ(0u, Word(file, 30)) << "no compression";
    for (size_t row = 0; row < 3; ++row) EXPECT_EQ(0xEE, file[54 + row * 244 + 243]) << "padding left alone";
}

TEST(BmpFileTest, TheTopRowOfTheViewIsTheLastRowOfTheFile) {
    std::vector<uint8_t> file(BmpFileSize(4, 2), 0);
    WriteBmpHeaders(file.data(), 4, 2);
    ImageView view = BmpPixels(file.data(), 4, 2);
    view.Set(0, 0, 0x11, 0x22, 0x33);  // red, green, blue
    view.Set(3, 1, 0x44, 0x55, 0x66);
    view.Set(4, 0, 1, 1, 1);           // outside: ignored
    view.Set(0, -1, 1, 1, 1);
    const uint8_t* lastRow = file.data() + 54 + 12;
    EXPECT_EQ(0x33, lastRow[0]) << "blue first";
    EXPECT_EQ(0x22, lastRow[1]);
    EXPECT_EQ(0x11, lastRow[2]);
    EXPECT_EQ(0x66, file[54 + 9]);
    EXPECT_EQ(0x44, file[54 + 11]);
}

TEST(SceneTest, TheSceneMovesAndReactsToZoomWhiteBalanceAndExposure) {
    SceneParams base;
    std::vector<uint8_t> first = Frame(64, 48, base);
    SceneParams later = base;
    later.step = 40;
    EXPECT_NE(first, Frame(64, 48, later)) << "moving shapes";
    EXPECT_EQ(first, Frame(64, 48, base)) << "the same moment draws the same picture";
    for (auto change : {+[](SceneParams& p) { p.zoomPos = 5, p.zoomMax = 9; }, +[](SceneParams& p) { p.whiteBalance = 3; },
                        +[](SceneParams& p) { p.exposureComp = 0; }, +[](SceneParams& p) { p.lines = {"MODE 1"}; }}) {
        SceneParams changed = base;
        change(changed);
        EXPECT_NE(first, Frame(64, 48, changed));
    }
    SceneParams tiny = base;
    tiny.lines = {"A LINE FAR WIDER THAN THE PICTURE ITSELF"};
    tiny.banner = "SHOT 123456789";
    Frame(3, 2, tiny);  // text is clipped, never written outside
}

TEST(SceneTest, TextIsDrawnInWhiteOnADarkBand) {
    std::vector<uint8_t> pixels(40 * 12 * 3, 200);
    ImageView view{pixels.data(), 40, 12, 40 * 3};
    DrawText(view, 1, 1, "1", 1);
    const uint8_t* rows = GlyphRows('1');
    ASSERT_NE(nullptr, rows);
    // Top row of '1' is "..#..": column 2 lit, column 0 dark.
    EXPECT_EQ(255, view.Row(1)[(1 + 2) * 3]);
    EXPECT_EQ(50, view.Row(1)[(1 + 0) * 3]);
    EXPECT_EQ(200, view.Row(11)[39 * 3]) << "outside the band";
    EXPECT_EQ(GlyphRows('A'), GlyphRows('a'));
    EXPECT_EQ(GlyphRows('?'), GlyphRows('\x01'));
}

TEST(ItemBytesTest, SyntheticItemsHaveTheirSizeAHeaderAndJpegMarkers) {
    std::vector<uint8_t> raw = SyntheticItem(0x20, 2, 1000, 7, {"MODE 1"});
    ASSERT_EQ(1000u, raw.size());
    std::string head(raw.begin(), raw.begin() + 64);
    EXPECT_EQ(0u, head.find("KAMVIO-SIM RAW KIND 32 FORMAT 2 SEQ 7\nMODE 1\n"));
    EXPECT_NE(raw, SyntheticItem(0x20, 2, 1000, 8, {"MODE 1"})) << "each shot differs";

    std::vector<uint8_t> jpeg = SyntheticItem(0x10, 1, 300, 1, {});
    ASSERT_EQ(300u, jpeg.size());
    EXPECT_EQ(0xFF, jpeg[0]);
    EXPECT_EQ(0xD8, jpeg[1]);
    EXPECT_EQ(0xFE, jpeg[3]) << "comment segment";
    EXPECT_EQ(0xFF, jpeg[298]);
    EXPECT_EQ(0xD9, jpeg[299]);
    for (uint32_t size : {0u, 1u, 3u, 4u, 9u}) EXPECT_EQ(size, SyntheticItem(0x20, 1, size, 1, {"LINE"}).size());
    EXPECT_EQ(2u, SyntheticItem(0x20, 2, 2, 1, {}).size());
}

TEST(ItemBytesTest, PictureGeometryFollowsTheImageSizeAndKind) {
    CameraConfig camera = DefaultCamera(1);
    EXPECT_EQ(1280, PlanPicture(camera, 0x20, PackFormat(0, 3)).width);
    EXPECT_EQ(480, PlanPicture(camera, 0x20, PackFormat(2, 3)).height);
    EXPECT_EQ(160, PlanPicture(camera, 0x10, PackFormat(0, 3)).width);
    EXPECT_EQ(640, PlanPicture(camera, 0x50, PackFormat(0, 3)).width);
    EXPECT_LT(PlanPicture(camera, 0x20, PackFormat(0, 1)).quality, PlanPicture(camera, 0x20, PackFormat(0, 5)).quality);
    camera.pictureWidth = 200;
    camera.pictureHeight = 100;
    EXPECT_EQ(200, PlanPicture(camera, 0x20, PackFormat(1, 3)).width);
    EXPECT_EQ(160, PlanPicture(camera, 0x10, PackFormat(1, 3)).width);
}

}  // namespace
