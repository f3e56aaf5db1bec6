// Live viewfinder, frame hand-off, LCD output and zoom.
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "camera/camera_shared.h"
#include "camera/viewfinder_worker.h"
#include "sdk/sdk_loader.h"
#include "tests/camera/controller_fixture.h"
#include "tests/common/test_support.h"

namespace {

using test_support::TakeMessageBoxes;

class ViewfinderTest : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        Start();
        Connect(0);
        owner.PumpFor(0);
        owner.Clear();
    }
    bool WorkerLives() const { return ViewfinderWorker::Instance().BelongsTo(camera.get()); }
    bool FrameQueued() const {
        MSG msg;
        return PeekMessageA(&msg, owner.Handle(), WM_CAM_FRAME, WM_CAM_FRAME, PM_NOREMOVE | PM_QS_POSTMESSAGE) != 0;
    }
    bool WaitForFrames(size_t n) {
        return owner.PumpUntil([&] { return owner.Count(WM_CAM_FRAME) >= n; }, 5000);
    }
};

TEST_F(ViewfinderTest, StartsAndStopsWithTheseCalls) {
    cdHSource source = camera->GetSourceHandle();
    Sim().SimLogClear();
    ASSERT_TRUE(camera->BeginViewfinder());
    EXPECT_EQ("CDLockUI CDStartViewfinder CDUnlockUI CDUnlockUI", Joined(SimCallNames()));
    SimCall start = SimCalls()[1];
    EXPECT_EQ(source, start.args[0]);
    EXPECT_EQ(1u, start.args[1]) << "BMP frames";
    EXPECT_EQ(reinterpret_cast<uintptr_t>(camera.get()), start.args[3]) << "the controller is the frame context";
    EXPECT_TRUE(WorkerLives());
    auto lcd = owner.Of(WM_CAM_LCD_ENABLE);
    ASSERT_EQ(1u, lcd.size());
    EXPECT_EQ(1u, lcd[0].wParam);
    EXPECT_FALSE(lcd[0].posted);

    ASSERT_TRUE(WaitForFrames(2));
    ReceivedMessage frame = owner.Of(WM_CAM_FRAME)[0];
    EXPECT_TRUE(frame.posted);
    EXPECT_EQ(0, frame.lParam);
    ASSERT_NE(0u, frame.wParam);
    EXPECT_EQ(0, std::memcmp(reinterpret_cast<const char*>(frame.wParam), "BM", 2)) << "a BMP file image";

    Sim().SimLogClear();
    ASSERT_TRUE(camera->BeginViewfinder());
    EXPECT_EQ("CDLockUI CDTermViewfinder CDUnlockUI CDUnlockUI", Joined(SimCallNames()));
    EXPECT_FALSE(WorkerLives());
    EXPECT_FALSE(FrameQueued()) << "no frame of the stopped viewfinder is left to draw";
    size_t before = owner.Count(WM_CAM_FRAME);
    owner.PumpFor(300);
    EXPECT_EQ(before, owner.Count(WM_CAM_FRAME));
    EXPECT_TRUE(SimViolations().empty()) << Joined(SimViolations());
}

TEST_F(ViewfinderTest, ThirtyFramesASecondGiveAtMostTenMessages) {
    ASSERT_TRUE(camera->BeginViewfinder());
    ASSERT_TRUE(WaitForFrames(1));
    uint32_t delivered0 = Sim().SimFramesDelivered();
    size_t messages0 = owner.Count(WM_CAM_FRAME);
    DWORD start = GetTickCount();
    owner.PumpFor(1200);
    DWORD elapsed = GetTickCount() - start;
    size_t messages = owner.Count(WM_CAM_FRAME) - messages0;
    uint32_t delivered = Sim().SimFramesDelivered() - delivered0;
    // One message per 100 ms at most, however fast the camera is.
    EXPECT_LE(messages, elapsed / 100 + 2) << delivered << " frames in " << elapsed << " ms";
    EXPECT_GE(messages, 1u);
    ASSERT_TRUE(camera->BeginViewfinder());
}

// The test plays the SDK's frame thread, so it knows which frame is the newest.
TEST_F(ViewfinderTest, EachMessageCarriesTheNewestFrame) {
    // The simulated camera delivers nothing of its own while the test does.
    ASSERT_EQ(1u, Sim().SimSetFault("CDStartViewfinder", 0, 1));
    ASSERT_TRUE(camera->BeginViewfinder());
    const int kFrames = 14;
    std::vector<std::vector<char>> frames(kFrames, std::vector<char>(64, 'f'));
    std::atomic<int> refused{0};
    DWORD start = GetTickCount();
    std::thread sdk([&] {
        for (int i = 0; i < kFrames; ++i) {
            if (CameraController::OnViewfinderFrame(frames[i].data(), 64, 1,
                                                    reinterpret_cast<cdContext>(camera.get())) != 0)
                ++refused;
            Sleep(33);
        }
    });
    while (WaitForSingleObject(reinterpret_cast<HANDLE>(sdk.native_handle()), 0) == WAIT_TIMEOUT) owner.PumpFor(10);
    sdk.join();
    const void* last = frames[kFrames - 1].data();
    ASSERT_TRUE(owner.PumpUntil([&] {
        auto all = owner.Of(WM_CAM_FRAME);
        return !all.empty() && reinterpret_cast<const void*>(all.back().wParam) == last;
    }, 2000)) << "the last frame is handed on";
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(0, refused.load());

    int previous = -1;
    auto messages = owner.Of(WM_CAM_FRAME);
    for (const auto& m : messages) {
        int index = -1;
        for (int i = 0; i < kFrames; ++i)
            if (reinterpret_cast<const void*>(m.wParam) == frames[i].data()) index = i;
        ASSERT_GE(index, 0) << "only frames the SDK delivered";
        EXPECT_GE(index, previous) << "never an older frame after a newer one";
        previous = index;
    }
    EXPECT_LE(messages.size(), elapsed / 100 + 2);

    // Frames of another format are ignored; frames without a context are refused.
    size_t count = owner.Count(WM_CAM_FRAME);
    EXPECT_EQ(0u, CameraController::OnViewfinderFrame(frames[0].data(), 64, 2,
                                                      reinterpret_cast<cdContext>(camera.get())));
    EXPECT_EQ(static_cast<cdError>(-1), CameraController::OnViewfinderFrame(frames[0].data(), 64, 1, 0));
    owner.PumpFor(250);
    EXPECT_EQ(count, owner.Count(WM_CAM_FRAME));

    ASSERT_EQ(1u, Sim().SimSetFault("CDTermViewfinder", 0, 1));
    ASSERT_TRUE(camera->BeginViewfinder());
    EXPECT_FALSE(WorkerLives());
}

TEST_F(ViewfinderTest, RepeatedStartAndStopNeverHangsOrLeavesAFrameBehind) {
    const DWORD pauses[] = {0, 0, 40, 120, 5, 150};
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(camera->BeginViewfinder());
        owner.PumpFor(pauses[round % 6]);
        ASSERT_TRUE(camera->BeginViewfinder());
        EXPECT_FALSE(WorkerLives());
        EXPECT_FALSE(FrameQueued());
        size_t after = owner.Count(WM_CAM_FRAME);
        owner.PumpFor(0);
        EXPECT_EQ(after, owner.Count(WM_CAM_FRAME));
    }
    owner.PumpFor(150);
    size_t total = owner.Count(WM_CAM_FRAME);
    owner.PumpFor(150);
    EXPECT_EQ(total, owner.Count(WM_CAM_FRAME));
    EXPECT_TRUE(SimViolations().empty()) << Joined(SimViolations());
}

TEST_F(ViewfinderTest, FailedStartsAndStops) {
    Sim().SimSetFault("CDLockUI", 0x00040085, 1);
    Sim().SimLogClear();
    EXPECT_FALSE(camera->BeginViewfinder());
    EXPECT_EQ("CDLockUI CDUnlockUI", Joined(SimCallNames()));
    EXPECT_EQ(0x85u, camera->GetLastError());
    EXPECT_FALSE(WorkerLives());

    // A refused start leaves the viewfinder marked running: the next call tries to stop it.
    Sim().SimSetFault("CDStartViewfinder", 0x86, 1);
    Sim().SimLogClear();
    EXPECT_FALSE(camera->BeginViewfinder());
    EXPECT_EQ("CDLockUI CDStartViewfinder CDUnlockUI", Joined(SimCallNames()));
    EXPECT_EQ(0x86u, camera->GetLastError());
    EXPECT_EQ(0u, owner.Count(WM_CAM_LCD_ENABLE));
    Sim().SimSetFault("CDTermViewfinder", 0, 1);
    Sim().SimLogClear();
    EXPECT_TRUE(camera->BeginViewfinder());
    EXPECT_EQ("CDLockUI CDTermViewfinder CDUnlockUI CDUnlockUI", Joined(SimCallNames()));
    EXPECT_FALSE(WorkerLives()) << "the idle worker ended";

    // A refused stop keeps it running; the next one stops it.
    ASSERT_TRUE(camera->BeginViewfinder());
    ASSERT_TRUE(WaitForFrames(1));
    Sim().SimSetFault("CDTermViewfinder", 0x87, 1);
    EXPECT_FALSE(camera->BeginViewfinder());
    EXPECT_EQ(0x87u, camera->GetLastError());
    EXPECT_TRUE(WorkerLives());
    size_t before = owner.Count(WM_CAM_FRAME);
    ASSERT_TRUE(WaitForFrames(before + 1)) << "frames still come";
    EXPECT_TRUE(camera->BeginViewfinder());
    EXPECT_FALSE(WorkerLives());
}

TEST_F(ViewfinderTest, NotifyTellsTheValueOnlyWhileRunning) {
    EXPECT_TRUE(camera->NotifyViewfinderState(1));
    ASSERT_EQ(1u, owner.Count(WM_CAM_LCD_ENABLE));
    EXPECT_EQ(0u, owner.Of(WM_CAM_LCD_ENABLE)[0].wParam);
    ASSERT_TRUE(camera->BeginViewfinder());
    owner.Clear();
    camera->NotifyViewfinderState(1);
    camera->NotifyViewfinderState(0);
    auto lcd = owner.Of(WM_CAM_LCD_ENABLE);
    ASSERT_EQ(2u, lcd.size());
    EXPECT_EQ(1u, lcd[0].wParam);
    EXPECT_EQ(0u, lcd[1].wParam);
    ASSERT_TRUE(camera->BeginViewfinder());
}

TEST_F(ViewfinderTest, PauseHoldsTheFramesAndLetsThemGoOn) {
    EXPECT_TRUE(camera->PauseViewfinder(5)) << "nothing to pause: returns at once";
    ASSERT_TRUE(camera->BeginViewfinder());
    ASSERT_TRUE(WaitForFrames(1));
    owner.PumpFor(0);
    uint32_t delivered = Sim().SimFramesDelivered();
    EXPECT_TRUE(camera->PauseViewfinder(1));
    // The worker kept the frame lock, so the camera's frame thread waited too.
    EXPECT_LE(Sim().SimFramesDelivered() - delivered, 6u);
    size_t before = owner.Count(WM_CAM_FRAME);
    owner.PumpFor(0);
    EXPECT_LE(owner.Count(WM_CAM_FRAME) - before, 2u) << "no frames piled up during the pause";
    ASSERT_TRUE(WaitForFrames(owner.Count(WM_CAM_FRAME) + 2)) << "frames go on after the pause";
    ASSERT_TRUE(camera->BeginViewfinder());
}

TEST_F(ViewfinderTest, CameraLcdOutput) {
    Sim().SimLogClear();
    EXPECT_TRUE(camera->ViewToLCD(TRUE));
    EXPECT_TRUE(camera->ViewToLCD(FALSE));
    auto calls = SimCalls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_STREQ("CDSelectViewFinderCameraOutput", calls[0].name);
    EXPECT_EQ(1u, calls[0].args[1]);
    EXPECT_EQ(3u, calls[1].args[1]);

    Sim().SimSetFault("CDSelectViewFinderCameraOutput", 0x00010085, 1);
    EXPECT_FALSE(camera->ViewToLCD(TRUE));
    EXPECT_EQ(0u, camera->GetLastError()) << "the status is not kept";
    EXPECT_TRUE(TakeMessageBoxes().empty());

    Sim().SimSetFault("CDSelectViewFinderCameraOutput", 0x00010007, 1);
    EXPECT_FALSE(camera->ViewToLCD(TRUE));
    auto boxes = TakeMessageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("ViewToLCD", boxes[0].caption);
    EXPECT_EQ("ViewToLCD UNSupport this function", boxes[0].text);
    EXPECT_EQ(0u, camera->GetLastError());
}

TEST_F(ViewfinderTest, ACameraWithoutLcdChoiceSaysSo) {
    camera->Disconnect();
    Configure(std::string(kTwoCameras) + "[Camera1]\nLcdOutput=0\n");
    Connect(0);
    EXPECT_FALSE(camera->ViewToLCD(FALSE));
    auto boxes = TakeMessageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("ViewToLCD UNSupport this function", boxes[0].text);
}

TEST_F(ViewfinderTest, Zoom) {
    uint32_t first = 0, second = 0, position = 0;
    Sim().SimLogClear();
    ASSERT_TRUE(camera->GetMaxZoomPos(&first, &second));
    EXPECT_EQ("CDLockUI CDGetMaximumZoomPos CDUnlockUI", Joined(SimCallNames()));
    EXPECT_EQ(10u, first);
    EXPECT_EQ(3u, second);
    ASSERT_TRUE(camera->GetCurrentZoomPos(&position));
    EXPECT_EQ(2u, position);

    Sim().SimLogClear();
    EXPECT_FALSE(camera->SetZoomPos(11));
    EXPECT_EQ("CDLockUI CDGetMaximumZoomPos CDUnlockUI", Joined(SimCallNames())) << "beyond the maximum";
    EXPECT_EQ(0u, camera->GetLastError());
    Sim().SimLogClear();
    EXPECT_TRUE(camera->SetZoomPos(10));
    EXPECT_EQ("CDLockUI CDGetMaximumZoomPos CDSetZoomPos CDUnlockUI", Joined(SimCallNames()));
    EXPECT_EQ(10u, SimCalls()[2].args[1]);
    ASSERT_TRUE(camera->GetCurrentZoomPos(&position));
    EXPECT_EQ(10u, position);
    uint32_t setting = 0;
    if (Sim().SimGetSetting("ZoomPos", &setting)) {
        EXPECT_EQ(10u, setting);
    }
    EXPECT_TRUE(SimViolations().empty()) << Joined(SimViolations());
}

TEST_F(ViewfinderTest, ZoomFailures) {
    uint32_t first = 77, second = 77, position = 77;
    // Only a failed lock fails the queries.
    Sim().SimSetFault("CDLockUI", 0x85, 1);
    Sim().SimLogClear();
    EXPECT_FALSE(camera->GetMaxZoomPos(&first, &second));
    EXPECT_EQ("CDLockUI CDUnlockUI", Joined(SimCallNames()));
    EXPECT_EQ(0x85u, camera->GetLastError());
    Sim().SimSetFault("CDGetMaximumZoomPos", 0x00020086, 1);
    EXPECT_TRUE(camera->GetMaxZoomPos(&first, &second));
    EXPECT_EQ(0x86u, camera->GetLastError());
    Sim().SimSetFault("CDLockUI", 0x85, 1);
    EXPECT_FALSE(camera->GetCurrentZoomPos(&position));
    Sim().SimSetFault("CDGetZoomPos", 0x87, 1);
    EXPECT_TRUE(camera->GetCurrentZoomPos(&position));
    EXPECT_EQ(0x87u, camera->GetLastError());

    Sim().SimSetFault("CDLockUI", 0x88, 1);
    Sim().SimLogClear();
    EXPECT_FALSE(camera->SetZoomPos(1));
    EXPECT_EQ("CDLockUI CDUnlockUI", Joined(SimCallNames()));
    Sim().SimSetFault("CDGetMaximumZoomPos", 0x89, 1);
    Sim().SimLogClear();
    EXPECT_FALSE(camera->SetZoomPos(1));
    EXPECT_EQ("CDLockUI CDGetMaximumZoomPos CDUnlockUI", Joined(SimCallNames()));
    EXPECT_EQ(0x89u, camera->GetLastError());
    Sim().SimSetFault("CDSetZoomPos", 0x8A, 1);
    EXPECT_TRUE(camera->SetZoomPos(1)) << "the move was asked for";
    EXPECT_EQ(0x8Au, camera->GetLastError());
    EXPECT_TRUE(TakeMessageBoxes().empty());

    camera->Disconnect();
    Sim().SimLogClear();
    EXPECT_FALSE(camera->GetMaxZoomPos(&first, &second));
    EXPECT_FALSE(camera->SetZoomPos(1));
    EXPECT_FALSE(camera->GetCurrentZoomPos(&position));
    EXPECT_FALSE(camera->ViewToLCD(TRUE));
    EXPECT_FALSE(camera->BeginViewfinder());
    EXPECT_EQ(0u, Sim().SimLogCount()) << "no source, no calls";
}

TEST_F(ViewfinderTest, DisconnectAndEndStopARunningViewfinder) {
    ASSERT_TRUE(camera->BeginViewfinder());
    ASSERT_TRUE(WaitForFrames(1));
    Sim().SimLogClear();
    EXPECT_TRUE(camera->Disconnect());
    EXPECT_EQ("CDTermViewfinder CDExitReleaseControl CDUnregisterEventCallbackFunction CDCloseSource",
              Joined(SimCallNames()));
    EXPECT_FALSE(WorkerLives());
    EXPECT_FALSE(FrameQueued());

    Connect(0);
    ASSERT_TRUE(camera->BeginViewfinder());
    ASSERT_TRUE(WaitForFrames(2));
    Sim().SimLogClear();
    ASSERT_TRUE(camera->End());
    EXPECT_EQ("CDTermViewfinder CDExitReleaseControl CDUnregisterEventCallbackFunction CDCloseSource CDFinishSDK",
              Joined(SimCallNames()));
    EXPECT_FALSE(WorkerLives());
    EXPECT_TRUE(SimViolations().empty()) << Joined(SimViolations());
}

TEST_F(ViewfinderTest, AnotherControllerCannotTakeTheRunningViewfinderThread) {
    ASSERT_TRUE(camera->BeginViewfinder());
    CameraController second;
    EXPECT_FALSE(ViewfinderWorker::Instance().Create(&second, nullptr, nullptr));
    EXPECT_TRUE(WorkerLives());
    ASSERT_TRUE(camera->BeginViewfinder());
}

TEST_F(ViewfinderTest, PowerOffDuringLiveViewEndsTheWorker) {
    owner.onMessage = [&](const ReceivedMessage& m) {
        if (m.message == WM_CAM_POWERED_OFF) camera->OnCameraPoweredOff();
    };
    ASSERT_TRUE(camera->BeginViewfinder());
    ASSERT_TRUE(WaitForFrames(2));
    ASSERT_TRUE(Sim().SimPowerOff());
    ASSERT_TRUE(owner.PumpUntil([&] { return !camera->IsConnected(); }));
    ASSERT_TRUE(owner.PumpUntil([] { return Sim().SimPendingEvents() == 0; }));
    EXPECT_FALSE(WorkerLives());
    EXPECT_FALSE(FrameQueued());
    size_t frames = owner.Count(WM_CAM_FRAME);
    owner.PumpFor(250);
    EXPECT_EQ(frames, owner.Count(WM_CAM_FRAME));
    EXPECT_EQ(0u, camera->GetSourceHandle());
    // Begin again finds nothing running.
    EXPECT_FALSE(camera->BeginViewfinder());
}

}  // namespace
