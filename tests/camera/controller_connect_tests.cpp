// Connecting, disconnecting, the busy cursor, and the SDK's event callbacks.
#include <cstring>

#include "camera/camera_shared.h"
#include "sdk/sdk_loader.h"
#include "tests/camera/controller_fixture.h"
#include "tests/common/test_support.h"

namespace {

using test_support::TakeMessageBoxes;
using Names = std::vector<std::string>;

// A message box shows its text without trailing blanks.
std::string BoxText(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

const Names kConnectCalls = {
    "CDOpenSource",        "CDLockUI",           "CDRegisterEventCallbackFunction",
    "CDEnumVolumeReset",   "CDEnumVolumeNext",   "CDGetVolumeInfo",
    "CDEnumVolumeRelease", "CDEnumDevicePropertyReset", "CDGetDevicePropertyData",
    "CDGetDevicePropertyData", "CDEnumDevicePropertyRelease", "CDEnterReleaseControl",
    "CDSelectReleaseDataKind", "CDUnlockUI"};

class ConnectTest : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        Start();
        owner.Clear();
    }
    // The simulator resets only while the SDK is not started.
    void EndSdk() {
        if (IsSdkLoaded()) camera->End();
        ASSERT_FALSE(IsSdkLoaded());
    }
    const SimCall* Find(const std::vector<SimCall>& calls, const char* name, int nth = 0) {
        for (const SimCall& c : calls)
            if (std::strcmp(c.name, name) == 0 && nth-- == 0) return &c;
        return nullptr;
    }
};

TEST_F(ConnectTest, SuccessfulConnectMakesTheseCallsAndTellsTheOwner) {
    SourceInfo source = Source(0);
    Sim().SimLogClear();
    ASSERT_TRUE(camera->Connect(&source));
    EXPECT_EQ(Joined(kConnectCalls), Joined(SimCallNames()));
    auto calls = SimCalls();
    cdContext ownerContext = reinterpret_cast<cdContext>(owner.Handle());
    EXPECT_EQ(ownerContext, Find(calls, "CDRegisterEventCallbackFunction")->args[2]);
    EXPECT_EQ(ownerContext, Find(calls, "CDEnterReleaseControl")->args[2]);
    EXPECT_EQ(8u, Find(calls, "CDGetDevicePropertyData", 0)->args[1]);
    EXPECT_EQ(2u, Find(calls, "CDGetDevicePropertyData", 1)->args[1]);
    EXPECT_EQ(0u, Find(calls, "CDEnumDevicePropertyReset")->args[1]);
    EXPECT_EQ(2u, Find(calls, "CDSelectReleaseDataKind")->args[1]) << "pictures for a compact camera";
    cdHSource handle = camera->GetSourceHandle();
    EXPECT_NE(0u, handle);
    EXPECT_EQ(handle, Find(calls, "CDUnlockUI")->args[0]);

    EXPECT_TRUE(camera->IsConnected());
    EXPECT_TRUE(camera->IsViewfinderAvailable());
    EXPECT_TRUE(CameraAliveFlag());
    EXPECT_STREQ("Test Compact", camera->GetCameraName());
    EXPECT_EQ(0u, camera->GetLastError());

    // Sent during the call: zoom enable, then the status with the camera name.
    ASSERT_EQ(2u, owner.All().size());
    EXPECT_EQ(WM_CAM_ZOOM_ENABLE, owner.All()[0].message);
    EXPECT_EQ(1u, owner.All()[0].wParam);
    EXPECT_FALSE(owner.All()[0].posted);
    EXPECT_EQ(WM_CAM_STATUS, owner.All()[1].message);
    EXPECT_EQ(1u, owner.All()[1].wParam);
    EXPECT_EQ("Test Compact", owner.All()[1].text);
    // Posted: the viewfinder is available, and the host should hear of it.
    ASSERT_TRUE(owner.PumpUntil([&] { return owner.Count(WM_CAM_VIEWFINDER_ENABLE) > 0; }));
    auto enable = owner.Of(WM_CAM_VIEWFINDER_ENABLE);
    ASSERT_EQ(1u, enable.size());
    EXPECT_TRUE(enable[0].posted);
    EXPECT_EQ(1u, enable[0].wParam);
    EXPECT_EQ(1, enable[0].lParam);
    EXPECT_TRUE(TakeMessageBoxes().empty());
    EXPECT_TRUE(SimViolations().empty()) << Joined(SimViolations());
}

TEST_F(ConnectTest, DisconnectLeavesReleaseControlUnregistersAndCloses) {
    Connect(0);
    cdHSource handle = camera->GetSourceHandle();
    Sim().SimLogClear();
    EXPECT_TRUE(camera->Disconnect());
    EXPECT_EQ("CDExitReleaseControl CDUnregisterEventCallbackFunction CDCloseSource", Joined(SimCallNames()));
    for (const SimCall& c : SimCalls()) EXPECT_EQ(handle, c.args[0]) << c.name;
    EXPECT_FALSE(camera->IsConnected());
    EXPECT_EQ(0u, camera->GetSourceHandle());
    EXPECT_FALSE(CameraAliveFlag());

    // Not connected: done at once.
    Sim().SimLogClear();
    EXPECT_TRUE(camera->Disconnect());
    EXPECT_EQ(0u, Sim().SimLogCount());

    // The camera can be connected again, and End then has nothing to close.
    Connect(0);
    EXPECT_TRUE(camera->Disconnect());
    ASSERT_TRUE(camera->End());
    EXPECT_TRUE(SimViolations().empty()) << Joined(SimViolations());
}

TEST_F(ConnectTest, StorageCheckReadsUntilAVolumeHasSpaceOrTheListEnds) {
    Configure(std::string(kTwoCameras) + "[Camera1]\nVolumes=2\nVolumeSpace=0,0\n");
    Connect(0);  // no volume with space is still a connection
    camera->Disconnect();
    SourceInfo source = Source(0);
    Sim().SimLogClear();
    ASSERT_TRUE(camera->Connect(&source));
    Names names = SimCallNames();
    int reset = IndexOf(names, "CDEnumVolumeReset");
    int release = IndexOf(names, "CDEnumVolumeRelease");
    ASSERT_GE(reset, 0);
    EXPECT_EQ("CDEnumVolumeNext CDGetVolumeInfo CDEnumVolumeNext CDGetVolumeInfo CDEnumVolumeNext",
              Joined(Names(names.begin() + reset + 1, names.begin() + release)));
    EXPECT_EQ(cdENUM_NA, SimCalls()[release - 1].status & 0xFFFF);
}

struct ConnectFault {
    const char* entry;
    const char* callsAfter;  // what follows the failing call
};

TEST_F(ConnectTest, EachFailingStepKeepsItsStatusAndLeavesTheSourceOpen) {
    const ConnectFault faults[] = {
        {"CDLockUI", ""},
        {"CDRegisterEventCallbackFunction", ""},
        {"CDEnumVolumeReset", ""},
        {"CDEnumVolumeNext", "CDEnumVolumeRelease"},
        {"CDGetVolumeInfo", "CDEnumVolumeRelease"},
        {"CDEnumDevicePropertyReset", ""},
        {"CDGetDevicePropertyData", "CDEnumDevicePropertyRelease"},
        {"CDEnterReleaseControl", ""},
        {"CDSelectReleaseDataKind", ""},  // reported by SetReleaseState; the UI stays locked
        {"CDUnlockUI", "CDExitReleaseControl"},
    };
    uint32_t status = 0x00070085;
    for (const ConnectFault& f : faults) {
        SCOPED_TRACE(f.entry);
        EndSdk();
        ASSERT_EQ(1u, Sim().SimReset());
        Configure(kTwoCameras);
        camera = std::make_unique<CameraController>();
        camera->SetOwner(owner.Handle());
        ASSERT_TRUE(camera->Begin());
        SourceInfo source = Source(0);
        owner.Clear();
        Sim().SimLogClear();
        Sim().SimSetFault(f.entry, status, 1);
        EXPECT_FALSE(camera->Connect(&source));
        Names names = SimCallNames();
        int failed = IndexOf(names, f.entry);
        ASSERT_GE(failed, 0);
        EXPECT_EQ(f.callsAfter, Joined(Names(names.begin() + failed + 1, names.end())));
        EXPECT_EQ(status & 0xFFFF, camera->GetLastError());
        EXPECT_TRUE(camera->IsConnected()) << "an attempt was made";
        EXPECT_NE(0u, camera->GetSourceHandle()) << "what was opened stays open";
        EXPECT_TRUE(CameraAliveFlag());
        auto status1 = owner.Of(WM_CAM_STATUS);
        ASSERT_EQ(1u, status1.size());
        EXPECT_EQ("Test Compact", status1[0].text);
        // Refused until a disconnect: no call at all.
        Sim().SimLogClear();
        EXPECT_FALSE(camera->Connect(&source));
        EXPECT_EQ(0u, Sim().SimLogCount());
        EXPECT_TRUE(TakeMessageBoxes().empty());
        camera->Disconnect();
        camera->End();
        ++status;
    }
}

TEST_F(ConnectTest, AFailedOpenLeavesNothingOpen) {
    SourceInfo source = Source(0);
    Sim().SimSetFault("CDOpenSource", 0x00010080, 1);
    Sim().SimLogClear();
    EXPECT_FALSE(camera->Connect(&source));
    EXPECT_EQ("CDOpenSource", Joined(SimCallNames()));
    EXPECT_EQ(0x80u, camera->GetLastError());
    EXPECT_EQ(0u, camera->GetSourceHandle());
    EXPECT_TRUE(camera->IsConnected());
    EXPECT_TRUE(TakeMessageBoxes().empty()) << "reported, not shown";
    auto status = owner.Of(WM_CAM_STATUS);
    ASSERT_EQ(1u, status.size());
    EXPECT_EQ("", status[0].text) << "no name was taken";
    // With nothing open, the next attempt goes ahead.
    ASSERT_TRUE(camera->Connect(&source));
}

TEST_F(ConnectTest, ABusyCameraShowsTheWarningInsteadOfAReport) {
    Configure(std::string(kTwoCameras) + "[Camera1]\nBusy=1\n");
    SourceInfo busy = Source(0);
    EXPECT_FALSE(camera->Connect(&busy));
    EXPECT_EQ(cdDEVICE_BUSY, camera->GetLastError());
    EXPECT_TRUE(camera->IsConnected());
    EXPECT_EQ(0u, camera->GetSourceHandle());
    auto boxes = TakeMessageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Warning", boxes[0].caption);
    EXPECT_EQ(BoxText("The camera is busy. Probably TWAIN or other programs are hot linking it! "), boxes[0].text);
    auto status = owner.Of(WM_CAM_STATUS);
    ASSERT_EQ(1u, status.size());
    EXPECT_EQ(1u, status[0].wParam);
    EXPECT_EQ("", status[0].text) << "the name as it was before: empty at first";

    // After a camera was connected, the busy attempt names that one.
    camera->Disconnect();
    Connect(1);
    camera->Disconnect();
    owner.Clear();
    EXPECT_FALSE(camera->Connect(&busy));
    ASSERT_EQ(1u, owner.Count(WM_CAM_STATUS));
    EXPECT_EQ("Test Reflex", owner.Of(WM_CAM_STATUS)[0].text);
    EXPECT_EQ(1u, TakeMessageBoxes().size());
}

TEST_F(ConnectTest, AnEosCameraHasNoZoomAndReleasesPictureAndThumbnail) {
    SourceInfo source = Source(1);
    Sim().SimLogClear();
    ASSERT_TRUE(camera->Connect(&source));
    auto calls = SimCalls();
    ASSERT_NE(nullptr, Find(calls, "CDSelectReleaseDataKind"));
    EXPECT_EQ(3u, Find(calls, "CDSelectReleaseDataKind")->args[1]);
    uint32_t kind = 0;
    if (Sim().SimGetSetting("ReleaseDataKind", &kind)) {
        EXPECT_EQ(3u, kind);
    }
    ASSERT_EQ(1u, owner.Count(WM_CAM_ZOOM_ENABLE));
    EXPECT_EQ(0u, owner.Of(WM_CAM_ZOOM_ENABLE)[0].wParam);
    EXPECT_STREQ("Test Reflex", camera->GetCameraName()) << "the name of the source record";
}

TEST_F(ConnectTest, CapabilityBitFourDecidesTheViewfinder) {
    Configure(std::string(kTwoCameras) + "[Camera1]\nCapability=8\n");
    Connect(0);
    ASSERT_TRUE(owner.PumpUntil([&] { return owner.Count(WM_CAM_VIEWFINDER_ENABLE) > 0; }));
    auto enable = owner.Of(WM_CAM_VIEWFINDER_ENABLE);
    EXPECT_EQ(0u, enable[0].wParam);
    EXPECT_EQ(1, enable[0].lParam);
    EXPECT_TRUE(enable[0].posted);
    EXPECT_FALSE(camera->IsViewfinderAvailable());
}

TEST_F(ConnectTest, RecordsThatCannotBeConnectedTouchNothing) {
    SourceInfo none = Source(0);
    none.sourceType = 0;
    Sim().SimLogClear();
    EXPECT_FALSE(camera->Connect(&none));
    EXPECT_FALSE(camera->Connect(nullptr));
    EXPECT_EQ(0u, Sim().SimLogCount());
    EXPECT_FALSE(camera->IsConnected());
    EXPECT_TRUE(owner.All().empty());

    Connect(0);
    owner.Clear();
    SourceInfo other = Source(1);
    Sim().SimLogClear();
    EXPECT_FALSE(camera->Connect(&other)) << "a source is open";
    EXPECT_EQ(0u, Sim().SimLogCount());
    EXPECT_TRUE(owner.All().empty());
}

TEST_F(ConnectTest, AModelNameWithoutTerminatorIsCutAt259) {
    SourceInfo source = Source(0);
    std::memset(source.modelName, 'M', sizeof source.modelName);
    ASSERT_TRUE(camera->Connect(&source)) << "the SDK finds the camera by its index";
    size_t length = std::strlen(camera->GetCameraName());
    EXPECT_GE(length, 256u);
    EXPECT_LE(length, 259u);
    EXPECT_EQ(0, std::memcmp(camera->GetCameraName(), source.modelName, 256));
}

TEST_F(ConnectTest, DisconnectFailuresKeepTheSourceOpen) {
    struct Case {
        const char* entry;
        const char* calls;
    } cases[] = {
        {"CDExitReleaseControl", "CDExitReleaseControl"},
        {"CDUnregisterEventCallbackFunction", "CDExitReleaseControl CDUnregisterEventCallbackFunction"},
        {"CDCloseSource", "CDExitReleaseControl CDUnregisterEventCallbackFunction CDCloseSource"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        EndSdk();
        ASSERT_EQ(1u, Sim().SimReset());
        Configure(kTwoCameras);
        camera = std::make_unique<CameraController>();
        camera->SetOwner(owner.Handle());
        ASSERT_TRUE(camera->Begin());
        Connect(0);
        Sim().SimLogClear();
        Sim().SimSetFault(c.entry, 0x00090086, 1);
        EXPECT_FALSE(camera->Disconnect());
        EXPECT_EQ(c.calls, Joined(SimCallNames()));
        EXPECT_EQ(0x86u, camera->GetLastError());
        EXPECT_FALSE(camera->IsConnected());
        EXPECT_NE(0u, camera->GetSourceHandle());
        camera->End();
    }
}

TEST_F(ConnectTest, BatteryLowDisconnectsWithoutTalkingToTheCamera) {
    Connect(0);
    camera->SetBatteryLow(true);
    Sim().SimLogClear();
    EXPECT_TRUE(camera->Disconnect());
    EXPECT_EQ(0u, Sim().SimLogCount());
    EXPECT_FALSE(camera->IsConnected());
    EXPECT_NE(0u, camera->GetSourceHandle());
    camera->SetBatteryLow(false);
}

// A .cur image (1 bpp, 32 x 32); the cursor loader takes it whatever the file is called.
std::string TinyCursorFile() {
    std::string f;
    auto u16 = [&](uint16_t v) { f.append(reinterpret_cast<const char*>(&v), 2); };
    auto u32 = [&](uint32_t v) { f.append(reinterpret_cast<const char*>(&v), 4); };
    u16(0), u16(2), u16(1);                                        // cursor directory, one image
    f += char(32), f += char(32), f += char(0), f += char(0);       // 32 x 32
    u16(1), u16(1), u32(40 + 8 + 128 + 128), u32(22);              // hot spot, size, offset
    u32(40), u32(32), u32(64), u16(1), u16(1), u32(0), u32(256);   // BITMAPINFOHEADER
    u32(0), u32(0), u32(0), u32(0);
    u32(0x000000), u32(0xFFFFFF);                                  // palette
    f.append(128, '\x55');                                         // XOR mask
    f.append(128, '\0');                                           // AND mask
    return f;
}

class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder) {
        GetCurrentDirectoryA(MAX_PATH, m_previous);
        SetCurrentDirectoryA(folder.c_str());
    }
    ~CurrentFolder() { SetCurrentDirectoryA(m_previous); }

private:
    char m_previous[MAX_PATH] = {};
};

TEST_F(ConnectTest, BusyCursorShowsDuringConnectAndIsPutBackOnEveryPath) {
    std::string folder = TempFolder("cursor");
    ASSERT_TRUE(test_support::WriteTextFile(folder + "\\Nature.ani", TinyCursorFile()));
    CurrentFolder here(folder);
    HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    SetCursor(arrow);
    ASSERT_EQ(arrow, GetCursor());

    Connect(0);
    ASSERT_EQ(1u, owner.Count(WM_CAM_ZOOM_ENABLE));
    HCURSOR during = owner.Of(WM_CAM_ZOOM_ENABLE)[0].cursor;
    EXPECT_NE(nullptr, during);
    EXPECT_NE(arrow, during) << "the busy cursor is shown while connecting";
    EXPECT_EQ(arrow, owner.Of(WM_CAM_STATUS)[0].cursor) << "put back before the status goes out";
    EXPECT_EQ(arrow, GetCursor());

    // A failing connect and a failing disconnect put it back too.
    camera->Disconnect();
    EXPECT_EQ(arrow, GetCursor());
    SourceInfo source = Source(0);
    Sim().SimSetFault("CDLockUI", 0x85, 1);
    EXPECT_FALSE(camera->Connect(&source));
    EXPECT_EQ(arrow, GetCursor());
    Sim().SimSetFault("CDExitReleaseControl", 0x85, 1);
    EXPECT_FALSE(camera->Disconnect());
    EXPECT_EQ(arrow, GetCursor());
}

TEST_F(ConnectTest, WithoutTheCursorFileTheCursorStays) {
    std::string folder = TempFolder("nocursor");
    CurrentFolder here(folder);
    HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    SetCursor(arrow);
    Connect(0);
    EXPECT_EQ(arrow, owner.Of(WM_CAM_ZOOM_ENABLE)[0].cursor);
    EXPECT_EQ(arrow, GetCursor());
}

// --- Events -------------------------------------------------------------------------------

class EventTest : public ConnectTest {
protected:
    void SetUp() override {
        ConnectTest::SetUp();
        Connect(0);
        owner.PumpFor(0);
        owner.Clear();
    }
    void Settle() {
        ASSERT_TRUE(owner.PumpUntil([] { return Sim().SimPendingEvents() == 0; }));
        owner.PumpFor(30);
    }
};

TEST_F(EventTest, AnyShutdownEventSendsPoweredOffOnce) {
    for (uint32_t event : {0x00040000u, 0x00040001u, 0x0004ABCDu, 0xFFF4FFFFu}) {
        SCOPED_TRACE(event);
        CameraAliveFlag() = true;
        owner.Clear();
        TakeMessageBoxes();
        ASSERT_TRUE(Sim().SimFireDeviceEvent(event, 0));
        Settle();
        auto off = owner.Of(WM_CAM_POWERED_OFF);
        ASSERT_EQ(1u, off.size());
        EXPECT_FALSE(off[0].posted);
        EXPECT_TRUE(off[0].fromOtherThread) << "sent from the SDK's thread";
        EXPECT_FALSE(CameraAliveFlag());
    }
}

TEST_F(EventTest, TheShutdownWarningIsShownOnTheSdkThread) {
    ASSERT_TRUE(Sim().SimFireDeviceEvent(cdEVENT_SHUTDOWN_POWER_OFF, 0));
    Settle();
    std::vector<test_support::CapturedBox> boxes;
    owner.PumpUntil([&] {
        for (auto& b : TakeMessageBoxes()) boxes.push_back(b);
        return !boxes.empty();
    });
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Warning", boxes[0].caption);
    EXPECT_EQ(BoxText("The camera was powered off manually or by power low. "), boxes[0].text);
}

TEST_F(EventTest, OtherDeviceEventsDoNothing) {
    CameraAliveFlag() = true;
    for (uint32_t event : {0x00010001u, 0x00030004u, 0x00050000u, 0x00000004u}) {
        ASSERT_TRUE(Sim().SimFireDeviceEvent(event, 0));
    }
    Settle();
    EXPECT_TRUE(owner.All().empty());
    EXPECT_TRUE(CameraAliveFlag());
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

TEST_F(EventTest, ReleaseEventsBecomePostedMessages) {
    uint32_t three = 3;
    struct Case {
        uint32_t event;
        UINT message;  // 0: nothing
        WPARAM wParam;
    } cases[] = {
        {0x1D, CameraMessages().releaseComplete, 3},
        {0x1E, WM_CAM_SHUTTER_PRESSED, 0},
        {0x20, CameraMessages().abortPcEvf, 0},
        {0x20000, WM_CAM_DISCONNECT_REQUEST, 0},
        {0x40000, WM_CAM_POWERED_OFF, 0},
        {0x1C, 0, 0},
        {0x21, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.event);
        owner.Clear();
        ASSERT_TRUE(Sim().SimFireReleaseEvent(c.event, &three, sizeof three));
        Settle();
        if (!c.message) {
            EXPECT_TRUE(owner.All().empty());
            continue;
        }
        ASSERT_EQ(1u, owner.All().size());
        EXPECT_EQ(c.message, owner.All()[0].message);
        EXPECT_EQ(c.wParam, owner.All()[0].wParam);
        EXPECT_EQ(0, owner.All()[0].lParam);
        EXPECT_TRUE(owner.All()[0].posted);
    }
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

TEST_F(EventTest, CallbacksWithoutAnOwner) {
    EXPECT_EQ(cdINVALID_PARAMETER, CameraController::OnReleaseEvent(0x1E, nullptr, 0, 0));
    CameraAliveFlag() = true;
    EXPECT_EQ(0u, CameraController::OnSdkEvent(cdEVENT_SHUTDOWN_POWER_OFF, nullptr, 0, 0));
    EXPECT_FALSE(CameraAliveFlag()) << "cleared even without an owner to tell";
    owner.PumpFor(20);
    EXPECT_TRUE(owner.All().empty());
    EXPECT_TRUE(TakeMessageBoxes().empty());
    // 0x1D without data posts 0.
    EXPECT_EQ(0u, CameraController::OnReleaseEvent(0x1D, nullptr, 0, reinterpret_cast<cdContext>(owner.Handle())));
    owner.PumpUntil([&] { return !owner.All().empty(); }, 1000);
    ASSERT_EQ(1u, owner.All().size());
    EXPECT_EQ(0u, owner.All()[0].wParam);
}

TEST_F(EventTest, PowerOffHandledLikeTheDialogForgetsTheSource) {
    owner.onMessage = [&](const ReceivedMessage& m) {
        if (m.message == WM_CAM_POWERED_OFF) camera->OnCameraPoweredOff();
    };
    ASSERT_TRUE(Sim().SimPowerOff());
    Settle();
    EXPECT_FALSE(camera->IsConnected());
    EXPECT_EQ(0u, camera->GetSourceHandle());
    EXPECT_FALSE(CameraAliveFlag());
    // The status goes out from inside the power-off handling.
    auto status = owner.Of(WM_CAM_STATUS);
    ASSERT_EQ(1u, status.size());
    EXPECT_EQ(1u, status[0].wParam);
    EXPECT_EQ("Test Compact", status[0].text);
    // Nothing is left to close: a disconnect is a no-op.
    Sim().SimLogClear();
    EXPECT_TRUE(camera->Disconnect());
    EXPECT_EQ(0u, Sim().SimLogCount());
}

}  // namespace
