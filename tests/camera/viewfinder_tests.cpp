// Live viewfinder, frame hand-off, LCD output and zoom.
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

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
    ASSERT_TRUE(frame.wParam && std::memcmp(reinterpret_cast<const char*>(frame.wParam), "BM", 2) == 0) << "a BMP";

    Sim().SimLogClear();
    ASSERT_TRUE(camera->BeginViewfinder());
    EXPECT_EQ("CDLockUI CDTermViewfinder CDUnlockUI CDUnlockUI", CallLog());
    EXPECT_FALSE(WorkerLives() || FrameQueued()) << "no frame of the stopped viewfinder is left to draw";
    owner.Clear();
    ASSERT_TRUE(camera->NotifyViewfinderState(1));
    EXPECT_EQ(0u, owner.Of(WM_CAM_LCD_ENABLE).at(0).wParam) << "stopped: the LCD is not offered";
    // A disconnect stops a running viewfinder first.
    ASSERT_TRUE(camera->BeginViewfinder());
    ASSERT_TRUE(WaitForFrames(owner.Count(WM_CAM_FRAME) + 1));
    Sim().SimLogClear();
    ASSERT_TRUE(camera->Disconnect());
    EXPECT_EQ("CDTermViewfinder CDExitReleaseControl CDUnregisterEventCallbackFunction CDCloseSource", CallLog());
    EXPECT_FALSE(WorkerLives() || FrameQueued());
    EXPECT_EQ("", Violations());
}

// The test plays the SDK's frame thread at 30 frames a second, so it knows the newest frame.
TEST_F(ViewfinderTest, AtMostTenMessagesASecondEachWithTheNewestFrame) {
    StartAndConnect();
    ASSERT_EQ(1u, Sim().SimSetFault("CDStartViewfinder", 0, 1));  // the camera sends none of its own
    ASSERT_TRUE(camera->BeginViewfinder());
    std::vector<std::vector<char>> frames(14, std::vector<char>(64, 'f'));
    cdContext context = reinterpret_cast<cdContext>(camera.get());
    std::atomic<int> refused{0};
    DWORD start = GetTickCount();
    std::thread sdk([&] {
        for (auto& f : frames) {
            refused += CameraController::OnViewfinderFrame(f.data(), 64, 1, context) != 0;
            Sleep(33);
        }
    });
    while (WaitForSingleObject(reinterpret_cast<HANDLE>(sdk.native_handle()), 0) == WAIT_TIMEOUT) PumpFor(10);
    sdk.join();
    ASSERT_TRUE(PumpUntil([&] {
        auto all = owner.Of(WM_CAM_FRAME);
        return !all.empty() && reinterpret_cast<const void*>(all.back().wParam) == frames.back().data();
    }, 2000)) << "the last frame is handed on";
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(0, refused.load());
    auto messages = owner.Of(WM_CAM_FRAME);
    EXPECT_LE(messages.size(), elapsed / 100 + 2);
    size_t previous = 0;
    for (const auto& m : messages) {
        size_t index = 0;
        while (index < frames.size() && reinterpret_cast<const void*>(m.wParam) != frames[index].data()) ++index;
        ASSERT_LT(index, frames.size()) << "only frames the SDK delivered";
        EXPECT_GE(index, previous) << "never an older frame after a newer one";
        previous = index;
    }
    // Frames of another format are ignored; frames without a context are refused.
    EXPECT_EQ(0u, CameraController::OnViewfinderFrame(frames[0].data(), 64, 2, context));
    EXPECT_EQ(static_cast<cdError>(-1), CameraController::OnViewfinderFrame(frames[0].data(), 64, 1, 0));
    PumpFor(250);
    EXPECT_EQ(messages.size(), owner.Count(WM_CAM_FRAME));
}

TEST_F(ViewfinderTest, LcdOutputAndZoom) {
    StartAndConnect();
    Sim().SimSetFault("CDSelectViewFinderCameraOutput", 0x00010007, 1);
    EXPECT_FALSE(camera->ViewToLCD(TRUE));
    EXPECT_EQ("ViewToLCD: ViewToLCD UNSupport this function\n", Boxes());
    Sim().SimLogClear();
    uint32_t position = 0;
    EXPECT_FALSE(camera->SetZoomPos(11)) << "beyond the maximum of 10";
    EXPECT_TRUE(camera->SetZoomPos(10) && camera->GetCurrentZoomPos(&position) && position == 10);
    EXPECT_EQ("CDLockUI CDGetMaximumZoomPos CDUnlockUI CDLockUI CDGetMaximumZoomPos CDSetZoomPos CDUnlockUI "
              "CDLockUI CDGetZoomPos CDUnlockUI", CallLog());
}

}  // namespace
