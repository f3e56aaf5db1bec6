// Start-up, sources, connecting, the SDK's events, and every SDK failure the controller meets.
#include <cstring>
#include <tuple>

#include "camera/camera_shared.h"
#include "sdk/sdk_loader.h"
#include "tests/camera/camera_fixture.h"
#include "tests/common/test_support.h"

namespace {

using test_support::PumpUntil;

TEST_F(ControllerTest, BeginListsAndEndWithNoSdkCallOutsideThem) {
    SourceInfo records[257] = {}, source = {};
    source.sourceType = 1;
    uint32_t count = 77;
    EXPECT_FALSE(camera->GetAllCameraSourceInfo(records, &count));
    EXPECT_EQ(0u, count);
    EXPECT_FALSE(camera->Connect(&source));
    Start();
    EXPECT_EQ("CDStartSDK", CallLog());
    EXPECT_EQ(0u, SimCalls().at(0).args[1]) << "option 0";
    EXPECT_EQ(1u, owner.Of(WM_CAM_STATUS).at(0).wParam);
    // Registered by name, so the process's other windows agree on the numbers.
    EXPECT_EQ(RegisterWindowMessageA("Camera Event ReleaseOn"), CameraMessages().releaseOn);
    EXPECT_EQ(RegisterWindowMessageA("Camera Event ReleaseComplete"), CameraMessages().releaseComplete);
    EXPECT_EQ(RegisterWindowMessageA("Camera Event Abort PC EVF"), CameraMessages().abortPcEvf);
    Sim().SimLogClear();
    ASSERT_TRUE(camera->GetAllCameraSourceInfo(records, &count));
    ASSERT_EQ(2u, count);
    EXPECT_STREQ("Test Reflex", records[1].modelName);
    EXPECT_EQ("CDEnumDeviceReset CDGetDeviceCount CDEnumDeviceNext CDEnumDeviceNext CDEnumDeviceRelease", CallLog());
    EXPECT_EQ(1u, SimCalls()[0].args[0]) << "enumeration kind 1";
    camera->SetSaveFolder("");
    EXPECT_FALSE(camera->Release()) << "no source";
    EXPECT_FALSE(camera->StartReleaseThread());
    EXPECT_STREQ("c:\\Canon", camera->GetSaveFolder()) << "the default";
    Sim().SimLogClear();
    ASSERT_TRUE(camera->End());
    EXPECT_EQ(0u, owner.Of(WM_CAM_STATUS).at(1).wParam);
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, FALSE}),
              (std::vector<BOOL>{camera->GetSourceCount(&count), camera->Connect(&source), camera->End()}));
    EXPECT_EQ("CDFinishSDK", CallLog()) << "ended: no call any more";
    Fresh("[Simulator]\nCameras=300\n");  // never more than 256 records written
    Start();
    std::memset(&records[256], 0x5A, sizeof(SourceInfo));
    ASSERT_TRUE(camera->GetAllCameraSourceInfo(records, &count));
    ASSERT_TRUE(camera->GetSourceInfo(records, 1000));
    EXPECT_EQ(256u, count);
    EXPECT_EQ(0x5A5A5A5Au, records[256].sourceType);
}

TEST_F(ControllerTest, ConnectAndDisconnectMakeTheseCallsAndABusyCameraOpensNothing) {
    Start();
    SourceInfo source = Source(0), none = source;
    none.sourceType = 0;
    auto busy = [&](const char* nameBefore) {
        ASSERT_EQ(1u, Sim().SimSetFault("CDOpenSource", cdDEVICE_BUSY, 1));
        owner.Clear();
        EXPECT_FALSE(camera->Connect(&source));
        EXPECT_EQ(cdDEVICE_BUSY, camera->GetLastError());
        EXPECT_TRUE(camera->IsConnected()) << "an attempt";
        EXPECT_FALSE(camera->GetSourceHandle()) << "nothing open";
        // (shown without its trailing blank)
        EXPECT_EQ("Warning: The camera is busy. Probably TWAIN or other programs are hot linking it!\n", Boxes());
        EXPECT_EQ(nameBefore, owner.Of(WM_CAM_STATUS).at(0).text) << "the name as it was before";
        EXPECT_TRUE(camera->Disconnect());
    };
    busy("");
    owner.Clear();
    Sim().SimLogClear();
    ASSERT_TRUE(camera->Connect(&source));
    EXPECT_EQ("CDOpenSource CDLockUI CDRegisterEventCallbackFunction CDEnumVolumeReset CDEnumVolumeNext "
              "CDGetVolumeInfo CDEnumVolumeRelease CDEnumDevicePropertyReset CDGetDevicePropertyData "
              "CDGetDevicePropertyData CDEnumDevicePropertyRelease CDEnterReleaseControl CDSelectReleaseDataKind "
              "CDUnlockUI", CallLog());
    cdHSource handle = camera->GetSourceHandle();
    EXPECT_TRUE(handle);
    EXPECT_TRUE(camera->IsConnected());
    EXPECT_TRUE(camera->IsCameraAlive());
    // Sent during the call: zoom enable, then the status with the name.
    ASSERT_EQ(2u, owner.All().size());
    EXPECT_EQ(WM_CAM_ZOOM_ENABLE, owner.All()[0].message);
    EXPECT_EQ("Test Compact", owner.All()[1].text);
    Sim().SimLogClear();
    EXPECT_FALSE(camera->Connect(&source)) << "a source is open";
    EXPECT_TRUE(camera->Disconnect());
    EXPECT_EQ("CDExitReleaseControl CDUnregisterEventCallbackFunction CDCloseSource", CallLog());
    for (const SimCall& c : SimCalls()) EXPECT_EQ(handle, c.args[0]) << c.name;
    EXPECT_FALSE(camera->IsConnected());
    EXPECT_FALSE(camera->IsCameraAlive());
    EXPECT_FALSE(camera->GetSourceHandle());
    Sim().SimLogClear();
    EXPECT_TRUE(camera->Disconnect()) << "not connected: done at once";
    EXPECT_FALSE(camera->Connect(&none));
    EXPECT_EQ("", CallLog());
    busy("Test Compact");
}

TEST_F(ControllerTest, CapabilityBitsAndTheEosCamera) {
    struct Row {
        uint32_t camera;
        const char* extra;
        WPARAM viewfinder, zoom;
        uintptr_t releaseKind;
        const char* shot;  // this thread's calls of a release during live view
    } rows[] = {
        {0, "", 1, 1, 2, "CDLockUI CDRelease CDUnlockUI"},
        {0, "[Camera1]\nCapability=8\n", 0, 1, 2, nullptr},
        {1, "", 1, 0, 3, "CDLockUI CDTermViewfinder CDRelease CDUnlockUI"},  // EOS: picture and thumbnail
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.camera);
        Fresh(r.extra);
        Start();
        Connect(r.camera);
        EXPECT_EQ(r.releaseKind, SimCalls().rbegin()[1].args[1]) << "CDSelectReleaseDataKind";
        EXPECT_EQ(r.zoom, owner.Of(WM_CAM_ZOOM_ENABLE).at(0).wParam);
        EXPECT_EQ(0u, owner.Count(WM_CAM_VIEWFINDER_ENABLE)) << "posted, not sent";
        Drain();
        EXPECT_EQ(1, owner.Of(WM_CAM_VIEWFINDER_ENABLE).at(0).lParam) << "the host hears of it";
        EXPECT_EQ(r.viewfinder, owner.Of(WM_CAM_VIEWFINDER_ENABLE)[0].wParam);
        if (!r.shot) continue;
        ASSERT_TRUE(camera->BeginViewfinder());
        Sim().SimLogClear();
        ASSERT_TRUE(camera->Release());
        EXPECT_EQ(r.shot, CallLog(GetCurrentThreadId()));
    }
}

enum class Op { Begin, End, SourceInfo, Connect, Release, ReleaseLive, ViewfinderOn, Lcd };

// What the interface cannot show of a failing SDK call: the status kept, the calls that follow
// it on this thread, and what stays open. (Every entry failing under a host's whole day, with
// the results and the simulator's ledger, is the fault sweep's.)
TEST_F(ControllerTest, SdkFailuresKeepTheirStatusTidyUpAndLeaveOpenWhatTheyMust) {
    const uint32_t kStatus = 0x00070085;  // the last error keeps the low 16 bits
    const char* const kUnlock = "CDUnlockUI";
    struct Row {
        Op op;
        const char* entry;
        BOOL result;
        const char* after;         // this thread's calls after the failing one
        bool open = true;          // Begin, End: the library; viewfinder: its thread; else the source
        uint32_t lastError = 0x85;
        uint32_t sent = 0;         // items transferred all the same
    } rows[] = {
        // An SDK that did not start is unloaded; one that did not finish stays loaded.
        {Op::Begin, "CDStartSDK", FALSE, "", false}, {Op::End, "CDFinishSDK", FALSE, ""},
        // The whole status of a failing record is kept; the other records are still fetched.
        {Op::SourceInfo, "CDEnumDeviceNext", TRUE, "CDEnumDeviceNext CDEnumDeviceRelease", true, kStatus},
        // A connect failing after the open keeps the source for the disconnect to close.
        {Op::Connect, "CDOpenSource", FALSE, "", false}, {Op::Connect, "CDEnterReleaseControl", FALSE, ""},
        {Op::Connect, "CDSelectReleaseDataKind", FALSE, ""},  // the UI stays locked
        {Op::Connect, "CDUnlockUI", FALSE, "CDExitReleaseControl"},
        // After the shot: the transfers go ahead and store their own status.
        {Op::Release, "CDUnlockUI", FALSE, kUnlock, true, 0, 2}, {Op::ReleaseLive, "CDTermViewfinder", FALSE, kUnlock},
        // A refused start leaves it marked running: the thread waits for the next switch to stop it.
        {Op::ViewfinderOn, "CDLockUI", FALSE, kUnlock, false}, {Op::ViewfinderOn, "CDStartViewfinder", FALSE, kUnlock},
        {Op::Lcd, "CDSelectViewFinderCameraOutput", FALSE, "", true, 0},  // the status is not kept
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.entry);
        Fresh();
        SourceInfo records[2] = {}, source = {};
        if (r.op != Op::Begin) {
            Start();
            source = Source(r.op == Op::ReleaseLive ? 1 : 0);
            if (r.op != Op::Connect) { ASSERT_TRUE(camera->Connect(&source)); }
            if (r.op == Op::ReleaseLive) { ASSERT_TRUE(camera->BeginViewfinder()); }
        }
        Sim().SimLogClear();
        ASSERT_EQ(1u, Sim().SimSetFault(r.entry, kStatus, 1));
        BOOL result = r.op == Op::Begin          ? camera->Begin()
                      : r.op == Op::End          ? camera->End()
                      : r.op == Op::SourceInfo   ? camera->GetSourceInfo(records, 2)
                      : r.op == Op::Connect      ? camera->Connect(&source)
                      : r.op == Op::ViewfinderOn ? camera->BeginViewfinder()
                      : r.op == Op::Lcd          ? camera->ViewToLCD(TRUE)
                                                 : camera->Release();
        CameraControllerProbe::WaitUntilReleaseIdle(*camera);
        EXPECT_EQ(r.result, result);
        EXPECT_EQ(r.lastError, camera->GetLastError());
        std::string log = " " + CallLog(GetCurrentThreadId()) + " ", entry = " " + std::string(r.entry) + " ";
        ASSERT_NE(std::string::npos, log.find(entry));
        EXPECT_EQ(r.after + std::string(*r.after ? " " : ""), log.substr(log.find(entry) + entry.size()));
        bool open = r.op == Op::Begin || r.op == Op::End ? IsSdkLoaded()
                    : r.op == Op::ViewfinderOn           ? WorkerLives()
                                                         : camera->GetSourceHandle() != 0;
        EXPECT_EQ(r.open, open);
        if (r.op == Op::Connect) { EXPECT_TRUE(camera->IsConnected()) << "an attempt"; }
        EXPECT_EQ(r.sent, Sim().SimSentItemCount());
        EXPECT_EQ("", Boxes()) << "reported, never shown";
        if (r.op == Op::Begin) { EXPECT_TRUE(camera->Begin()) << "a second Begin starts"; }
    }
}

// Device events of the shutdown class (any low 16 bits) are sent from the SDK's thread with a
// warning; release events are posted. Others tell nothing.
TEST_F(ControllerTest, EventsTellTheOwner) {
    StartAndConnect();
    uint32_t three = 3;
    struct Row {
        bool device;
        uint32_t event;
        UINT message;  // 0: nothing
        WPARAM wParam;
    } rows[] = {
        {true, 0x00040000, WM_CAM_POWERED_OFF, kPoweredOffWarn}, {true, 0x0004ABCD, WM_CAM_POWERED_OFF, kPoweredOffWarn},
        {true, 0xFFF4FFFF, WM_CAM_POWERED_OFF, kPoweredOffWarn}, {true, 0x00030004, 0, 0}, {true, 0x00050000, 0, 0},
        {false, 0x1D, CameraMessages().releaseComplete, 3}, {false, 0x1E, WM_CAM_SHUTTER_PRESSED, 0},
        {false, 0x20, CameraMessages().abortPcEvf, 0},      {false, 0x20000, WM_CAM_DISCONNECT_REQUEST, 0},
        {false, 0x40000, WM_CAM_POWERED_OFF, 0},            {false, 0x1C, 0, 0}, {false, 0x21, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.event);
        owner.Clear();
        ASSERT_TRUE(r.device ? Sim().SimFireDeviceEvent(r.event, 0) : Sim().SimFireReleaseEvent(r.event, &three, 4));
        ASSERT_TRUE(PumpUntil([] { return Sim().SimPendingEvents() == 0; }));
        Drain();
        // Every event is posted: the SDK's thread never waits for the window. The window warns.
        EXPECT_EQ("", Boxes());
        ASSERT_EQ(r.message ? 1u : 0u, owner.All().size());
        if (!r.message) continue;
        const ReceivedMessage& m = owner.All()[0];
        EXPECT_EQ(std::make_tuple(r.message, r.wParam, LPARAM{0}, false),
                  std::make_tuple(m.message, m.wParam, m.lParam, m.fromOtherThread));
    }
    EXPECT_EQ(cdINVALID_PARAMETER, CameraController::OnReleaseEvent(0x1E, nullptr, 0, 0)) << "no owner";
}

}  // namespace
