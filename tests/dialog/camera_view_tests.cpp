// Live-view drawing, checked by reading the composed picture and the window back.
#include <windows.h>

#include "camera/camera_messages.h"
#include "tests/dialog/camera_window_fixture.h"

using namespace dialog_test;
using Access = CameraDialogTestAccess;

namespace {
constexpr COLORREF kGrey = RGB(120, 120, 120);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
}  // namespace

// A live-view-only window of 480 x 400 with the view shown.
class LiveViewTest : public CameraWindowTest {
protected:
    void SetUp() override {
        CameraWindowTest::SetUp();
        const RECT area{0, 0, 480, 400};
        OpenModeless(0, &area);
        ASSERT_NE(Access::ViewDc(*dialog), nullptr);
        Access::SetViewShown(*dialog, TRUE);
    }

    void SendFrame(const std::vector<uint8_t>& frame) { SendFrame(frame.data()); }
    void SendFrame(const uint8_t* frame) {
        SendMessageA(hwnd(), WM_CAM_FRAME, reinterpret_cast<WPARAM>(frame), 0);
    }
    COLORREF View(int x, int y) const { return PixelAt(Access::ViewDc(*dialog), x, y); }
    COLORREF Image(int x, int y) const { return PixelAt(Access::ImageDc(*dialog), x, y); }

    void SetLines(std::vector<uint32_t> xs, std::vector<uint32_t> ys) {
        xs.push_back(0);  // keeps data() valid for empty lists; the count excludes it
        ys.push_back(0);
        ASSERT_TRUE(dialog->SetAdjustLinePos(static_cast<uint32_t>(xs.size() - 1), xs.data(),
                                             static_cast<uint32_t>(ys.size() - 1), ys.data()));
    }
};

TEST_F(LiveViewTest, LandscapeFrameFillsTheWidthCentredVertically) {
    SendFrame(SolidFrame(320, 240, kGreen));
    EXPECT_EQ(View(0, 20), kGreen);
    EXPECT_EQ(View(479, 379), kGreen);
    EXPECT_EQ(View(240, 19), kGrey);
    EXPECT_EQ(View(240, 380), kGrey);
    EXPECT_EQ(View(0, 0), kGrey);
    // The window shows the composed picture at the live-view area.
    EXPECT_EQ(WindowPixel(0, 20), kGreen);
    EXPECT_EQ(WindowPixel(240, 10), kGrey);
}

TEST_F(LiveViewTest, PortraitFrameFillsTheHeightCentredHorizontally) {
    SendFrame(SolidFrame(240, 320, kGreen));
    EXPECT_EQ(View(90, 0), kGreen);
    EXPECT_EQ(View(389, 399), kGreen);
    EXPECT_EQ(View(89, 200), kGrey);
    EXPECT_EQ(View(390, 200), kGrey);
}

TEST_F(LiveViewTest, BottomUpRowsAreDrawnUpright) {
    SendFrame(MakeFrame(320, 240, [](uint32_t x, uint32_t y) {
        if (y < 120) return x < 160 ? kRed : kGreen;
        return kBlue;
    }));
    EXPECT_EQ(View(10, 30), kRed);
    EXPECT_EQ(View(470, 30), kGreen);
    EXPECT_EQ(View(240, 370), kBlue);
}

TEST_F(LiveViewTest, DestinationFrameAndLinesAreDrawnOverThePicture) {
    dialog->SetDestFrameSize(960, 720);
    SetLines({480}, {360});
    SendFrame(SolidFrame(320, 240, kGreen));
    // The red box (0, 20)-(480, 380), one pixel wide, inside.
    for (POINT p : {POINT{0, 20}, POINT{479, 20}, POINT{0, 379}, POINT{479, 379}, POINT{100, 20}, POINT{100, 379},
                    POINT{0, 100}, POINT{479, 100}})
        EXPECT_EQ(View(p.x, p.y), kRed) << p.x << "," << p.y;
    EXPECT_EQ(View(100, 21), kGreen);
    EXPECT_EQ(View(1, 100), kGreen);
    // Blue lines at x = 240 and y = 200, over the centre cross, ending before the box's far edge.
    EXPECT_EQ(View(240, 100), kBlue);
    EXPECT_EQ(View(240, 20), kBlue);
    EXPECT_EQ(View(240, 379), kBlue);
    EXPECT_EQ(View(240, 380), kGrey);
    EXPECT_EQ(View(100, 200), kBlue);
    EXPECT_EQ(View(0, 200), kBlue);
    EXPECT_EQ(View(479, 200), kBlue);
    EXPECT_EQ(View(239, 100), kGreen);
    EXPECT_EQ(View(241, 100), kGreen);
    EXPECT_EQ(View(100, 199), kGreen);
    // The overlays live in the view only; the image keeps the bare picture.
    EXPECT_EQ(Image(240, 100), kGreen);
    EXPECT_EQ(Image(0, 20), kGreen);
    // The window gets exactly the view.
    EXPECT_EQ(WindowPixel(240, 100), kBlue);
    EXPECT_EQ(WindowPixel(0, 20), kRed);
}

TEST_F(LiveViewTest, CentreCrossIsDottedRedThroughTheBoxMiddle) {
    dialog->SetDestFrameSize(960, 720);
    SetLines({0}, {0});  // blue lines on the box's left and top edges, out of the cross's way
    SendFrame(SolidFrame(320, 240, kGreen));
    EXPECT_EQ(View(0, 100), kBlue);
    EXPECT_EQ(View(100, 20), kBlue);
    int red = 0, other = 0;
    for (int y = 21; y < 379; ++y) (View(240, y) == kRed ? red : other)++;
    EXPECT_GT(red, 60);
    EXPECT_GT(other, 60);  // dotted, not solid
    red = other = 0;
    for (int x = 1; x < 479; ++x) (View(x, 200) == kRed ? red : other)++;
    EXPECT_GT(red, 60);
    EXPECT_GT(other, 60);
    EXPECT_NE(View(239, 100), kRed);
    EXPECT_NE(View(100, 199), kRed);
}

TEST_F(LiveViewTest, SeveralLinesAreScaledFromTheBoxCorner) {
    dialog->SetDestFrameSize(960, 720);
    SetLines({100, 900}, {10, 700});
    SendFrame(SolidFrame(320, 240, kGreen));
    EXPECT_EQ(View(50, 100), kBlue);    // 100 * 0.5
    EXPECT_EQ(View(450, 100), kBlue);   // 900 * 0.5
    EXPECT_EQ(View(100, 25), kBlue);    // 20 + 10 * 0.5
    EXPECT_EQ(View(100, 370), kBlue);   // 20 + 700 * 0.5
}

TEST_F(LiveViewTest, UprightDestinationFrameSpansTheHeightCentredAcrossTheWidth) {
    dialog->SetDestFrameSize(300, 400);
    SetLines({150}, {200});
    SendFrame(SolidFrame(320, 240, kGreen));
    // s = 360 / 400: the box is 270 wide, from 105 to 375, over the drawn picture's height.
    EXPECT_EQ(View(104, 100), kGreen);
    EXPECT_EQ(View(105, 100), kRed);
    EXPECT_EQ(View(374, 100), kRed);
    EXPECT_EQ(View(375, 100), kGreen);
    EXPECT_EQ(View(200, 20), kRed);
    EXPECT_EQ(View(200, 379), kRed);
    EXPECT_EQ(View(240, 60), kBlue);   // 105 + 150 * 0.9
    EXPECT_EQ(View(200, 200), kBlue);  // 20 + 200 * 0.9
}

TEST_F(LiveViewTest, NoBoxOrCrossWithoutLinesInBothDirections) {
    dialog->SetDestFrameSize(960, 720);
    SendFrame(SolidFrame(320, 240, kGreen));
    EXPECT_EQ(View(0, 20), kGreen);
    EXPECT_EQ(View(240, 100), kGreen);

    SetLines({}, {360});  // no vertical line
    SendFrame(SolidFrame(320, 240, kGreen));
    EXPECT_EQ(View(0, 20), kGreen);
    EXPECT_EQ(View(100, 200), kGreen);

    SetLines({480}, {360});
    dialog->SetDestFrameSize(0, 720);  // lines but no frame size
    SendFrame(SolidFrame(320, 240, kGreen));
    EXPECT_EQ(View(0, 20), kGreen);
    EXPECT_EQ(View(240, 100), kGreen);
}

TEST_F(LiveViewTest, HiddenViewKeepsTheAreaGreyAndIgnoresFrames) {
    SendFrame(SolidFrame(320, 240, kGreen));
    ASSERT_EQ(WindowPixel(240, 200), kGreen);
    Access::SetViewShown(*dialog, FALSE);
    SendFrame(SolidFrame(320, 240, kRed));
    EXPECT_EQ(WindowPixel(240, 200), kGrey);
    EXPECT_EQ(WindowPixel(0, 0), kGrey);
    EXPECT_EQ(WindowPixel(479, 399), kGrey);
    EXPECT_EQ(View(240, 200), kGreen);  // nothing new was composed
    EXPECT_EQ(Image(240, 200), kGreen);
}

TEST_F(LiveViewTest, DamagedFramesAreNotDrawn) {
    SendFrame(SolidFrame(320, 240, kGreen));
    auto corrupt = [](std::vector<uint8_t> frame, size_t at, int32_t value) {
        memcpy(&frame[at], &value, sizeof value);
        return frame;
    };
    const std::vector<uint8_t> good = SolidFrame(32, 24, kRed);
    std::vector<uint8_t> thirtyTwoBit = good;
    thirtyTwoBit[28] = 32;
    const std::vector<std::vector<uint8_t>> damaged = {
        corrupt(good, 18, 0),          // no width
        corrupt(good, 22, -24),        // top-down rows
        corrupt(good, 18, 20000),      // absurd width
        corrupt(good, 10, 0),          // pixels inside the headers
        corrupt(good, 10, 0x7FFFFFF),  // pixels far away
        thirtyTwoBit,
    };
    for (const auto& frame : damaged) SendFrame(frame);
    SendFrame(nullptr);
    EXPECT_EQ(View(240, 200), kGreen);
    EXPECT_EQ(WindowPixel(240, 200), kGreen);
    // The image was cleared for each of them, and the next good frame is drawn again.
    EXPECT_EQ(Image(240, 200), kGrey);
    SendFrame(good);
    EXPECT_EQ(View(240, 200), kRed);
}

TEST_F(LiveViewTest, LiveFramesFromTheCameraAreDrawn) {
    SourceInfo records[2] = {};
    ASSERT_TRUE(dialog->GetSouceInfo(records, 2));
    ASSERT_TRUE(dialog->Connect(&records[0]));
    Access::SetViewShown(*dialog, FALSE);
    ASSERT_TRUE(dialog->OpenViewFinder(TRUE));
    // The simulated scene is not a flat grey: some pixel of the view changes.
    EXPECT_TRUE(test_support::PumpUntil([&] { return View(240, 200) != 0 && View(240, 200) != kGrey; }, 5000));
    ASSERT_TRUE(dialog->Disconnect());
    EXPECT_EQ(WindowPixel(240, 200), kGrey);
}
