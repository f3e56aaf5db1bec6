// The camera switched off or unplugged at each stage of a booth day: the host hears of it, the
// window returns to its disconnected state, nothing hangs, and the next connect works.
#include <atomic>
#include <thread>

#include "camera/camera_messages.h"
#include "resources/resource_ids.h"
#include "tests/common/sim_access.h"
#include "tests/common/test_support.h"
#include "tests/hardening/booth.h"

namespace {

const char kGoneCamera[] =
    "[Simulator]\nCameras=1\nChunkSize=1024\n"
    "[Camera1]\nModel=Gone Compact\nCapability=4\nViewFps=30\nItems=0x20:1:40000,0x10:1:3000\n";
// (the box shows the text without its trailing blank)
constexpr char kPoweredOffWarning[] = "Warning: The camera was powered off manually or by power low.";

enum class Way { PowerOff, Unplug, ReleaseEvent };
const char* const kWayNames[] = {"power off", "unplug", "release event 0x40000"};

void GoAway(Way way) {
    if (way == Way::ReleaseEvent) Sim().SimFireReleaseEvent(cdRELEASE_EVENT_CAM_POWER_OFF, nullptr, 0);
    if (way == Way::Unplug)
        Sim().SimUnplug();
    else
        Sim().SimPowerOff();
}

// The camera goes at one stage of the day; `way` where the test chooses the moment.
using Stage = void (*)(Booth&, Way);
struct StageCase {
    const char* name;
    Stage stage;
    bool heard;  // false: the connect fails first and its tidy-up unregisters before the event comes
};

const StageCase kStages[] = {
    {"during connect",
     [](Booth& b, Way) {
         Sim().SimPowerOffAt("CDEnumVolumeReset", 0);
         b.ConnectFirst();
     },
     false},
    {"during live view",
     [](Booth& b, Way way) {
         if (!b.ConnectFirst()) return;
         b.ViewOn();
         GoAway(way);
     },
     true},
    {"in the middle of a transfer",
     [](Booth& b, Way) {
         if (!b.ConnectFirst()) return;
         Sim().SimPowerOffAt("CDGetReleasedData", 5);
         b.Do("TakePhoto", [&] { return b.Object()->TakePhoto(nullptr); });
     },
     true},
    {"with the settings dialog open",
     [](Booth& b, Way way) {
         if (!b.ConnectFirst()) return;
         bool gone = false;
         b.onSettings = [&](HWND settings) {
             if (!gone) GoAway(way);
             gone = true;
             if (b.Notes(Booth::PoweredOff)) PostMessageA(settings, WM_COMMAND, IDOK, 0);
         };
         b.Settings();
         b.onSettings = nullptr;
     },
     true},
    {"during a timer series",
     [](Booth& b, Way way) {
         if (!b.ConnectFirst()) return;
         std::thread camera([way] {  // goes away after the series' first shot
             uint32_t shots = 0;
             for (int i = 0; i < 500 && !(Sim().SimGetSetting("Shots", &shots) && shots >= 1); ++i) Sleep(10);
             GoAway(way);
         });
         SendMessageA(b.CameraWindow(), WM_CAM_TIMER_SHOOT, 2, 2);
         camera.join();
     },
     true},
};

void Recover(Booth& b) {
    b.Do("PoweredOff", [&] { return b.WaitForNote(Booth::PoweredOff, 1, 5000) ? S_OK : E_FAIL; });
    test_support::PumpFor(50);
    LONG connected = -1;
    b.Do("IsConnected", [&] { return FAILED(b.Object()->IsConnected(&connected, nullptr)) ? E_FAIL : connected ? S_OK : S_FALSE; });
    b.Do("Controls", [&] {
        HWND w = b.CameraWindow();
        bool idle = IsWindowEnabled(GetDlgItem(w, IDC_HandleCanonDlg_Connect));
        for (int id : {IDC_HandleCanonDlg_DisCnect, IDC_HandleCanonDlg_Release, IDC_HndlCnnDlg_ViewFinder})
            idle = idle && !IsWindowEnabled(GetDlgItem(w, id));
        return idle ? S_OK : E_FAIL;
    });
    Sim().SimPowerOn();
    if (b.ConnectFirst()) b.Disconnect();
}

TEST(CameraGone, AtEveryStageTheHostHearsTheWindowResetsAndTheNextConnectWorks) {
    for (const StageCase& stage : kStages)
        for (Way way : {Way::PowerOff, Way::Unplug, Way::ReleaseEvent}) {
            std::string folder = FreshBoothDay(kGoneCamera);
            Booth booth(folder);
            const std::string where = std::string(stage.name) + ", " + kWayNames[static_cast<int>(way)];
            booth.RunOrEnd(
                [&](Booth& b) {
                    b.Open();
                    stage.stage(b, way);
                    Recover(b);
                    b.Close();
                },
                30000, where);
            std::string expected = std::string(stage.heard ? "PoweredOff=0 " : "") +
                                   "IsConnected=1 Controls=0 GetDeviceCounts=0 GetSouceInfo=0 Connect=0 "
                                   "Disconnect=0 IsConnected=1 DestroyKamvioDlg=0 ";
            std::string steps = booth.StepText();
            EXPECT_NE(std::string::npos, steps.find(expected)) << where << ": " << steps;
            EXPECT_GE(booth.Notes(Booth::Status), 3) << where << ": started, connected, powered off";
            // The warning comes on a thread of its own, once the window has reset itself.
            std::string boxes;
            test_support::PumpUntil([&] { return (boxes += Boxes()).find(kPoweredOffWarning) != std::string::npos; },
                                    stage.heard ? 3000 : 0);
            if (stage.heard) { EXPECT_NE(std::string::npos, boxes.find(kPoweredOffWarning)) << where << ": " << boxes; }
            EXPECT_EQ("", Violations()) << where;
            EXPECT_EQ("", CheckShots(folder, false)) << where;
        }
}

}  // namespace
