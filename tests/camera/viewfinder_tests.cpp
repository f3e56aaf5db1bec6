// Live viewfinder, frame hand-off, LCD output and zoom.
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "camera/viewfinder_frame.h"
#include "tests/camera/camera_fixture.h"
#include "tests/common/test_support.h"

namespace {

using test_support::PumpFor;
using test_support::PumpUntil;

using ViewfinderTest = ControllerTest;

TEST_F(ViewfinderTest, StartsAndStopsWithTheseCallsAndNoFrameAfter) {
    StartAndConnect();
    ASSERT_TRUE(camera->BeginViewfinder());
    EXPECT_EQ("CDLockUI CDStartViewfinder CDUnlockUI CDUnlockUI", CallLog());
    EXPECT_TRUE(WorkerLives());
    EXPECT_EQ(1u, owner.Of(WM_CAM_LCD_ENABLE).at(0).wParam);
    ASSERT_TRUE(WaitForFrames(2));
    ReceivedMessage frame = owner.Of(WM_CAM_FRAME)[0];
    EXPECT_FALSE(frame.fromOtherThread) << "posted";
    EXPECT_EQ(54 + 960 * 240, frame.lParam) << "the size of the camera's 320 x 240 frame";
    EXPECT_EQ("BM", frame.text.substr(0, 2));

    Sim().SimLogClear();
    ASSERT_TRUE(camera->BeginViewfinder());
    EXPECT_EQ("CDLockUI CDTermViewfinder CDUnlockUI CDUnlockUI", CallLog());
    EXPECT_FALSE(WorkerLives());
    EXPECT_FALSE(FrameQueued()) << "no frame of the stopped viewfinder is left to draw";
    owner.Clear();
    ASSERT_TRUE(camera->NotifyViewfinderState(1));
    EXPECT_EQ(0u, owner.Of(WM_CAM_LCD_ENABLE).at(0).wParam) << "stopped: the LCD is not offered";
    // A disconnect stops a running viewfinder first.
    ASSERT_TRUE(camera->BeginViewfinder());
    ASSERT_TRUE(WaitForFrames(owner.Count(WM_CAM_FRAME) + 1));
    Sim().SimLogClear();
    ASSERT_TRUE(camera->Disconnect());
    EXPECT_EQ("CDTermViewfinder CDExitReleaseControl CDUnregisterEventCallbackFunction CDCloseSource", CallLog());
    EXPECT_FALSE(WorkerLives());
    EXPECT_FALSE(FrameQueued());
    EXPECT_EQ("", Violations());
}

// The test plays the SDK's frame thread at 30 frames a second, so it knows the newest frame.
// Each frame carries bytes of its own and is scribbled over once its callback returns, as an
// SDK may reuse the memory.
TEST_F(ViewfinderTest, AtMostTenMessagesASecondEachWithACopyOfTheNewestFrame) {
    StartAndConnect();
    ASSERT_EQ(1u, Sim().SimSetFault("CDStartViewfinder", 0, 1));  // the camera sends none of its own
    ASSERT_TRUE(camera->BeginViewfinder());
    const int kFrames = 14;
    std::vector<char> memory(64);
    cdContext context = reinterpret_cast<cdContext>(camera.get());
    std::atomic<int> refused{0};
    DWORD start = GetTickCount();
    std::thread sdk([&] {
        for (int i = 0; i < kFrames; ++i) {
            std::fill(memory.begin(), memory.end(), char('a' + i));
            refused += CameraController::OnViewfinderFrame(memory.data(), 64, 1, context) != 0;
            std::fill(memory.begin(), memory.end(), 'x');
            Sleep(33);
        }
    });
    while (WaitForSingleObject(reinterpret_cast<HANDLE>(sdk.native_handle()), 0) == WAIT_TIMEOUT) PumpFor(10);
    sdk.join();
    const std::string last(64, char('a' + kFrames - 1));
    ASSERT_TRUE(PumpUntil([&] {
        auto all = owner.Of(WM_CAM_FRAME);
        return !all.empty() && all.back().text == last;
    }, 2000)) << "the last frame is handed on";
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(0, refused.load());
    auto messages = owner.Of(WM_CAM_FRAME);
    EXPECT_LE(messages.size(), elapsed / 100 + 2);
    int previous = 0;
    for (const auto& m : messages) {
        const int index = m.text.empty() ? -1 : m.text[0] - 'a';
        // Only whole frames as the SDK delivered them.
        ASSERT_GE(index, 0);
        ASSERT_LT(index, kFrames);
        ASSERT_EQ(std::string(64, m.text[0]), m.text);
        EXPECT_EQ(64, m.lParam);
        EXPECT_GE(index, previous) << "never an older frame after a newer one";
        previous = index;
    }
    // Ignored: frames of another format, and nothing to copy or more than any picture holds
    // (none of them is read). Refused: frames without a context.
    const std::pair<const void*, uint32_t> ignored[] = {
        {nullptr, 64}, {memory.data(), 0}, {memory.data(), viewfinder_frame::kMaxBytes + 1}, {memory.data(), ~0u}};
    for (const auto& [frame, size] : ignored)
        EXPECT_EQ(0u, CameraController::OnViewfinderFrame(frame, size, 1, context)) << size;
    EXPECT_EQ(0u, CameraController::OnViewfinderFrame(memory.data(), 64, 2, context));
    EXPECT_EQ(static_cast<cdError>(-1), CameraController::OnViewfinderFrame(memory.data(), 64, 1, 0));
    PumpFor(250);
    EXPECT_EQ(messages.size(), owner.Count(WM_CAM_FRAME));
}

TEST_F(ViewfinderTest, AHandedFrameStaysAsItWasUntilTheWindowHasDrawnIt) {
    StartAndConnect();
    ASSERT_EQ(1u, Sim().SimSetFault("CDStartViewfinder", 0, 1));  // the test delivers the first frames
    ASSERT_TRUE(camera->BeginViewfinder());
    owner.drawFrames = false;
    auto deliver = [&](char c) {
        const std::string frame(64, c);
        return CameraController::OnViewfinderFrame(frame.data(), 64, 1, reinterpret_cast<cdContext>(camera.get()));
    };
    ASSERT_EQ(0u, deliver('a'));
    ASSERT_TRUE(WaitForFrames(1));
    const WPARAM handed = owner.Of(WM_CAM_FRAME)[0].wParam;
    ASSERT_EQ(0u, deliver('b'));
    ASSERT_EQ(0u, deliver('c'));
    PumpFor(400);
    EXPECT_EQ(1u, owner.Count(WM_CAM_FRAME)) << "nothing new before the window has drawn";
    EXPECT_EQ(std::string(64, 'a'), std::string(reinterpret_cast<const char*>(handed), 64)) << "not rewritten";
    camera->FrameDrawn(reinterpret_cast<const void*>(handed + 1));
    PumpFor(300);
    EXPECT_EQ(1u, owner.Count(WM_CAM_FRAME)) << "done with another frame";
    camera->FrameDrawn(reinterpret_cast<const void*>(handed));
    ASSERT_TRUE(WaitForFrames(2));
    EXPECT_EQ(std::string(64, 'c'), owner.Of(WM_CAM_FRAME)[1].text) << "then the newest";
    // Left undrawn, then stopped: the stop drops the frame in flight, so the camera's frames come
    // again after the next start.
    ASSERT_TRUE(camera->BeginViewfinder());
    ASSERT_TRUE(camera->BeginViewfinder());
    EXPECT_TRUE(WaitForFrames(3));
    EXPECT_EQ("", Violations());
}

TEST_F(ViewfinderTest, LcdOutputAndZoom) {
    StartAndConnect();
    Sim().SimSetFault("CDSelectViewFinderCameraOutput", 0x00010007, 1);
    EXPECT_FALSE(camera->ViewToLCD(TRUE));
    EXPECT_EQ("ViewToLCD: ViewToLCD UNSupport this function\n", Boxes());
    Sim().SimLogClear();
    uint32_t position = 0;
    EXPECT_FALSE(camera->SetZoomPos(11)) << "beyond the maximum of 10";
    EXPECT_TRUE(camera->SetZoomPos(10));
    EXPECT_TRUE(camera->GetCurrentZoomPos(&position));
    EXPECT_EQ(10u, position);
    EXPECT_EQ("CDLockUI CDGetMaximumZoomPos CDUnlockUI CDLockUI CDGetMaximumZoomPos CDSetZoomPos CDUnlockUI "
              "CDLockUI CDGetZoomPos CDUnlockUI", CallLog());
}

}  // namespace
