// The threads' hand-offs under stress: the viewfinder switched on and off and the shutter
// released while the simulator's threads deliver frames and events, a release while a batch
// still transfers, and the window destroyed while live view runs.
#include <atomic>
#include <thread>

#include "camera/camera_messages.h"
#include "tests/common/sim_access.h"
#include "tests/common/test_support.h"
#include "tests/hardening/booth.h"

namespace {

const char kBusyCamera[] =
    "[Simulator]\nCameras=1\nChunkSize=512\n"
    "[Camera1]\nModel=Busy Compact\nCapability=4\nViewFps=100\nItems=0x20:1:60000,0x10:1:2000\n";

// Device events of no interest and release events the component only passes on, as fast as the
// simulator takes them, until stopped.
class EventStorm {
public:
    EventStorm()
        : thread_([this] {
              const uint32_t release[] = {cdRELEASE_EVENT_RELEASE_START, cdRELEASE_EVENT_RELEASE_COMPLETE,
                                          cdRELEASE_EVENT_ABORT_PC_EVF};
              for (uint32_t i = 0; !stop_; ++i) {
                  uint32_t data = i;
                  Sim().SimFireDeviceEvent(0x00010000 | (i & 0xFF), data);
                  Sim().SimFireReleaseEvent(release[i % 3], &data, sizeof data);
                  if (Sim().SimPendingEvents() > 16) Sleep(1);
              }
          }) {}
    EventStorm(const EventStorm&) = delete;
    EventStorm& operator=(const EventStorm&) = delete;
    ~EventStorm() {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

bool FrameQueued(HWND window) {
    MSG msg;
    return PeekMessageA(&msg, window, WM_CAM_FRAME, WM_CAM_FRAME, PM_NOREMOVE | PM_QS_POSTMESSAGE) != 0;
}

TEST(Concurrency, ViewfinderSwitchesAndReleasesRaceFramesAndEvents) {
    std::string folder = FreshBoothDay(kBusyCamera);
    Booth booth(folder);
    int stops = 0, framesAfterStop = 0, shots = 0;
    booth.RunOrEnd(
              [&](Booth& b) {
                  b.Open();
                  if (!b.ConnectFirst()) return;
                  b.ViewOn();
                  EventStorm storm;
                  HWND window = b.CameraWindow();
                  for (int i = 0; i < 2000; ++i) {
                      SendMessageA(window, WM_CAM_VIEWFINDER_SWITCH, 0, 0);
                      uint32_t running = 1;
                      Sim().SimGetSetting("Viewfinder", &running);
                      if (!running) {
                          ++stops;
                          framesAfterStop += FrameQueued(window);
                      }
                      if (i % 400 == 0) {  // no more shots than the simulator keeps for the check
                          shots += SUCCEEDED(b.Object()->TakePhoto(nullptr));
                          Sim().SimPressShutter();  // the camera's own button: a release through the dialog
                      }
                      if (i % 4 == 0) test_support::PumpFor(0);
                  }
                  test_support::PumpFor(300);
                  b.Disconnect();
              },
              120000, "viewfinder switches");
    EXPECT_GE(stops, 900);
    EXPECT_EQ(0, framesAfterStop) << "frames queued after a stop returned";
    EXPECT_EQ(5, shots);
    EXPECT_EQ("", Violations());
    EXPECT_EQ("", CheckShots(folder));
    test_support::ClearMessageBoxes();
}

TEST(Concurrency, ShotsTakenDuringABatchWaitForTheNextReleases) {
    // A slow cable: the batch still runs when the next two shots are taken, on a loaded machine too.
    std::string folder = FreshBoothDay("[Simulator]\nCameras=1\nChunkSize=4096\nChunkDelayMs=20\n"
                                       "[Camera1]\nModel=Slow Compact\nItems=0x20:1:60000,0x10:1:2000\n");
    Booth booth(folder);
    booth.RunOrEnd(
              [](Booth& b) {
                  b.Open();
                  if (!b.ConnectFirst()) return;
                  for (int i = 0; i < 3; ++i) b.Do("TakePhoto", [&] { return b.Object()->TakePhoto(nullptr); });
                  b.WaitForNote(Booth::FileSaved, 1);
                  // The two shots taken during the batch wait in the camera: each later release
                  // fetches as many items as it made itself, the older ones first.
                  b.Shoot();
                  b.Shoot();
                  uint32_t waiting = 0;
                  Sim().SimGetSetting("PendingItems", &waiting);
                  b.Do("PendingItems", [&] { return waiting == 4 ? S_OK : E_FAIL; });
                  b.Disconnect();
              },
              120000, "release during a batch");
    EXPECT_EQ("InitKamvioDlg=0 CreateKamvioDlg=0 GetDeviceCounts=0 GetSouceInfo=0 Connect=0 TakePhoto=0 TakePhoto=0 "
              "TakePhoto=0 TakePhoto=0 FileSaved=0 TakePhoto=0 FileSaved=0 PendingItems=0 Disconnect=0 IsConnected=1 "
              "DestroyKamvioDlg=0 ",
              booth.StepText());
    EXPECT_EQ(6u, Sim().SimSentItemCount());
    EXPECT_EQ("", Violations());
    EXPECT_EQ("", CheckShots(folder));
}

TEST(Concurrency, DestroyWhileLiveViewRunsEndsEverything) {
    std::string folder = FreshBoothDay(kBusyCamera);
    Booth booth(folder);
    booth.RunOrEnd(
              [](Booth& b) {
                  EventStorm storm;
                  for (int i = 0; i < 20; ++i) {
                      b.Open();
                      if (b.ConnectFirst()) {
                          b.ViewOn();
                          if (i % 2) b.Do("TakePhoto", [&] { return b.Object()->TakePhoto(nullptr); });
                      }
                      b.Close();
                  }
              },
              120000, "destroy during live view");
    std::string steps = booth.StepText();
    EXPECT_EQ(std::string::npos, steps.find("=8")) << "a step failed: " << steps;
    EXPECT_EQ("", LeftOpen());
    EXPECT_EQ("", Violations());
    EXPECT_EQ("", CheckShots(folder));
    test_support::ClearMessageBoxes();
}

}  // namespace
