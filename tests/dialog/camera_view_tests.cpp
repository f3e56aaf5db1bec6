// Live-view drawing, checked by reading the composed view, the bare image and the window back.
#include <windows.h>

#include <algorithm>

#include "camera/camera_messages.h"
#include "tests/dialog/dialog_test_support.h"

namespace {
constexpr COLORREF kGrey = 0x787878, kGreen = RGB(0, 255, 0), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);
const std::vector<uint8_t> kLandscape = SolidFrame(320, 240, kGreen);
enum Surface { kView, kWindow };
}  // namespace

// A live-view-only window of 480 x 400 with the view shown.
class LiveViewTest : public CameraWindowTest {
protected:
    void SetUp() override {
        CameraWindowTest::SetUp();
        const RECT area{0, 0, 480, 400};
        OpenModeless(0, &area);
        ASSERT_NE(Access::Dc(*dialog), nullptr);
        Access::SetViewShown(*dialog, TRUE);
    }
    void SendFrame(const uint8_t* frame, size_t size) {
        SendMessageA(hwnd(), WM_CAM_FRAME, reinterpret_cast<WPARAM>(frame), static_cast<LPARAM>(size));
    }
    void SendFrame(const std::vector<uint8_t>& frame) { SendFrame(frame.data(), frame.size()); }
    COLORREF View(int x, int y, Surface on = kView) const {
        return on == kWindow ? WindowPixel(x, y) : GetPixel(Access::Dc(*dialog), x, y) & 0xFFFFFF;
    }
};

TEST_F(LiveViewTest, FramesAndOverlaysLandWhereTheGeometrySays) {
    struct Probe {
        int x, y;
        COLORREF colour;
        Surface on = kView;
    };
    struct DrawCase {
        const char* name;
        std::vector<uint8_t> frame;
        uint32_t frameWidth, frameHeight;  // the destination frame
        std::vector<uint32_t> xs, ys;
        std::vector<Probe> probes;
        uint32_t xCount = 0, yCount = 0;  // when not 0, passed instead of the lists' sizes
        BOOL shown = TRUE;
    };
    const std::vector<DrawCase> cases = {
        {"landscape 320x240 drawn 480x360 at (0,20)", kLandscape, 0, 0, {}, {},
         {{0, 20, kGreen}, {479, 379, kGreen}, {240, 19, kGrey}, {240, 380, kGrey}, {0, 20, kGreen, kWindow}}},
        {"portrait 240x320 drawn 300x400 at (90,0)", SolidFrame(240, 320, kGreen), 0, 0, {}, {},
         {{90, 0, kGreen}, {389, 399, kGreen}, {89, 200, kGrey}, {390, 200, kGrey}}},
        {"bottom-up rows of 954 bytes padded to 956 drawn upright",
         MakeFrame(318, 240, [](uint32_t x, uint32_t y) { return y < 120 ? (x < 159 ? kRed : kGreen) : kBlue; }), 0, 0,
         {}, {}, {{10, 30, kRed}, {470, 30, kGreen}, {240, 370, kBlue}, {10, 370, kBlue}}},
        // The red box (0,20)-(480,380) one pixel wide inside; blue lines at x 240 and y 200 over the
        // cross, ending before the box's far edge.
        {"960x720 frame with lines at 480 and 360", kLandscape, 960, 720, {480}, {360},
         {{0, 20, kRed}, {479, 379, kRed}, {100, 20, kRed}, {479, 100, kRed}, {100, 21, kGreen}, {1, 100, kGreen},
          {240, 20, kBlue}, {240, 379, kBlue}, {240, 380, kGrey}, {0, 200, kBlue}, {479, 200, kBlue},
          {239, 100, kGreen}, {100, 199, kGreen}, {240, 100, kBlue, kWindow}}},
        {"lines scaled from the box corner", kLandscape, 960, 720, {100, 900}, {10, 700},
         {{50, 100, kBlue}, {450, 100, kBlue}, {100, 25, kBlue}, {100, 370, kBlue}}},
        {"upright 300x400 frame: box 270 wide from 105", kLandscape, 300, 400, {150}, {200},
         {{104, 100, kGreen}, {105, 100, kRed}, {374, 100, kRed}, {375, 100, kGreen}, {240, 60, kBlue}}},
        {"no box or cross without lines", kLandscape, 960, 720, {}, {}, {{0, 20, kGreen}, {240, 100, kGreen}}},
        {"nor without vertical lines", kLandscape, 960, 720, {}, {360}, {{0, 20, kGreen}, {100, 200, kGreen}}},
        {"nor without horizontal lines", kLandscape, 960, 720, {480}, {}, {{0, 20, kGreen}, {240, 100, kGreen}}},
        {"nor without frame size", kLandscape, 0, 720, {480}, {360}, {{0, 20, kGreen}, {240, 100, kGreen}}},
        // Counts no array can hold leave the lines missing; the host's short arrays are not read.
        {"impossible x count", kLandscape, 960, 720, {480}, {360}, {{0, 20, kGreen}}, 0xFFFFFFFE, 1},
        {"impossible y count", kLandscape, 960, 720, {480}, {360}, {{0, 20, kGreen}}, 1,
         CameraDialog::kMaxAdjustLines + 1},
        // Hidden: the window is grey and the red frame is not composed over the last green one.
        {"hidden view stays grey", SolidFrame(320, 240, kRed), 0, 0, {}, {},
         {{240, 200, kGrey, kWindow}, {0, 0, kGrey, kWindow}, {479, 399, kGrey, kWindow}, {240, 200, kGreen}}, 0, 0,
         FALSE},
    };
    for (const DrawCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(dialog->SetDestFrameSize(c.frameWidth, c.frameHeight));
        std::vector<uint32_t> xs = c.xs, ys = c.ys;
        xs.push_back(0);  // keeps data() valid for empty lists
        ys.push_back(0);
        const bool given = !c.xCount;
        EXPECT_EQ(dialog->SetAdjustLinePos(given ? uint32_t(c.xs.size()) : c.xCount, xs.data(),
                                           given ? uint32_t(c.ys.size()) : c.yCount, ys.data()), given);
        // The host scribbles over its arrays, and calls with a null array change nothing.
        std::fill(xs.begin(), xs.end(), 7u);
        std::fill(ys.begin(), ys.end(), 7u);
        EXPECT_FALSE(dialog->SetAdjustLinePos(9, nullptr, 1, &ys[0]));
        EXPECT_FALSE(dialog->SetAdjustLinePos(1, &xs[0], 9, nullptr));
        Access::SetViewShown(*dialog, c.shown);
        SendFrame(c.frame);
        for (const Probe& p : c.probes) EXPECT_EQ(View(p.x, p.y, p.on), p.colour) << p.x << "," << p.y << "@" << p.on;
    }

    // The centre cross is dotted red through the box middle, seen with the blue lines on the box's
    // left and top edges, out of its way.
    uint32_t zero[1] = {0};
    ASSERT_TRUE(dialog->SetDestFrameSize(960, 720));
    ASSERT_TRUE(dialog->SetAdjustLinePos(1, zero, 1, zero));
    Access::SetViewShown(*dialog, TRUE);
    SendFrame(kLandscape);
    int red[2] = {}, other[2] = {};  // down, across
    for (int i = 21; i < 379; ++i)
        for (int d = 0; d < 2; ++d) ++((d ? View(i + 50, 200) : View(240, i)) == kRed ? red[d] : other[d]);
    for (int d = 0; d < 2; ++d) {  // dotted, not solid
        EXPECT_GT(red[d], 60) << d;
        EXPECT_GT(other[d], 60) << d;
    }
    EXPECT_NE(kRed, View(239, 100));
    EXPECT_NE(kRed, View(100, 199));
    EXPECT_EQ(kBlue, View(0, 100));
}

// The window keeps its DrawDib handle from frame to frame: another picture size or shape must
// begin it again, or the pixels come out of the wrong rows.
TEST_F(LiveViewTest, FramesOfChangingSizesEachDrawTheirOwnPixels) {
    const struct {
        uint32_t w, h;
        COLORREF top, bottom;
    } frames[] = {
        {320, 240, kRed, kBlue}, {640, 480, kGreen, kRed}, {240, 320, kBlue, kGreen}, {320, 240, kRed, kBlue}};
    for (const auto& f : frames) {
        SCOPED_TRACE(testing::Message() << f.w << "x" << f.h);
        SendFrame(MakeFrame(f.w, f.h, [&](uint32_t, uint32_t y) { return y < f.h / 2 ? f.top : f.bottom; }));
        EXPECT_EQ(f.top, View(240, 100, kWindow));
        EXPECT_EQ(f.bottom, View(240, 300, kWindow));
    }
}

// Each frame is handed over with the size the message claims and nothing readable behind it.
TEST_F(LiveViewTest, FramesThatClaimMoreThanTheyHoldDrawNothingAndReadNothingBeyond) {
    SendFrame(kLandscape);
    // Which layouts are refused is the frame check's own test; here, that a refused one draws nothing.
    const std::vector<uint8_t> good = SolidFrame(32, 24, kRed);
    const std::pair<const char*, size_t> refused[] = {
        {"pixels one byte beyond the size", good.size() - 1}, {"an empty frame", 0}, {"a size no frame has", size_t(-1)}};
    for (const auto& [name, size] : refused) {
        GuardedBlock frame(std::min(size, good.size()));
        memcpy(frame.data(), good.data(), std::min(size, good.size()));
        SendFrame(frame.data(), size);
        EXPECT_EQ(kGreen, View(240, 200)) << name << ": the last picture";
        EXPECT_EQ(kGreen, View(240, 200, kWindow)) << name;
    }
    SendFrame(nullptr, good.size());
    EXPECT_EQ(View(240, 200), kGreen);
    GuardedBlock exact(good.size());
    memcpy(exact.data(), good.data(), good.size());
    SendFrame(exact.data(), good.size());
    EXPECT_EQ(View(240, 200), kRed) << "a frame that holds exactly what it claims";
}
