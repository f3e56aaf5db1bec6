// Device events and release events: their threads, data and contexts, and their end.
#include <atomic>

#include "platform/handles.h"
#include "tests/common/test_support.h"
#include "tests/simulator/sim_fixture.h"

namespace {

struct EventLog {
    std::atomic<int> count{0};
    uint32_t event = 0;
    uint32_t firstWord = 0;
    uint32_t size = 0;
    DWORD thread = 0;
    std::atomic<bool> unregistered{false};
    std::atomic<int> afterUnregister{0};
    HANDLE entered = nullptr;  // set when a callback starts
    DWORD holdMs = 0;          // how long the callback takes
    std::atomic<bool> finished{false};
    HWND window = nullptr;  // sent a message by the callback, when set
};

cdError CDAPI OnEvent(uint32_t event, const void* data, uint32_t size, cdContext context) {
    EventLog& log = *reinterpret_cast<EventLog*>(context);
    if (log.unregistered) ++log.afterUnregister;
    log.event = event;
    log.size = size;
    log.firstWord = 0;
    if (data && size >= 4) memcpy(&log.firstWord, data, 4);
    log.thread = GetCurrentThreadId();
    if (log.entered) SetEvent(log.entered);
    if (log.holdMs) Sleep(log.holdMs);
    if (log.window) SendMessageW(log.window, WM_NULL, 0, 0);  // as the component's callback does
    log.finished = true;
    ++log.count;
    return 0;
}

class EventTest : public SimTest {
protected:
    void Open() {
        StartSdk();
        SourceInfo info = FirstSource();
        ASSERT_EQ(cdOK, sdk_.CDOpenSource(&info, &source_));
        ASSERT_EQ(cdOK, sdk_.CDRegisterEventCallbackFunction(source_, OnEvent, Context(device_), &registration_));
        ASSERT_EQ(cdOK, sdk_.CDEnterReleaseControl(source_, OnEvent, Context(release_)));
    }
    static cdContext Context(EventLog& log) { return reinterpret_cast<cdContext>(&log); }
    bool Drained() {
        return test_support::PumpUntil([&] { return sim_.SimPendingEvents() == 0; });
    }
    void TearDown() override {
        if (source_) DisconnectAndFinish();
        SimTest::TearDown();
    }
    EventLog device_, release_;
};

TEST_F(EventTest, DeviceEventsComeOnAnotherThreadWithTheirContextAndData) {
    Open();
    ASSERT_EQ(1u, sim_.SimFireDeviceEvent(0x00010005, 77));
    ASSERT_TRUE(Drained());
    EXPECT_EQ(1, device_.count.load());
    EXPECT_EQ(0x00010005u, device_.event);
    EXPECT_EQ(77u, device_.firstWord);
    EXPECT_EQ(4u, device_.size);
    EXPECT_NE(0u, device_.thread);
    EXPECT_NE(GetCurrentThreadId(), device_.thread);
    EXPECT_EQ(0, release_.count.load()) << "device events go to the device callback only";
}

TEST_F(EventTest, ReleaseEventsCarryTheirDataAndTheShutterButtonIs0x1E) {
    Open();
    uint32_t data[2] = {3, 9};
    ASSERT_EQ(1u, sim_.SimFireReleaseEvent(0x1D, data, sizeof data));
    ASSERT_TRUE(Drained());
    EXPECT_EQ(0x1Du, release_.event);
    EXPECT_EQ(3u, release_.firstWord);
    EXPECT_EQ(8u, release_.size);
    ASSERT_EQ(1u, sim_.SimPressShutter());
    ASSERT_TRUE(Drained());
    EXPECT_EQ(0x1Eu, release_.event);
    EXPECT_EQ(0u, release_.size);
    EXPECT_NE(GetCurrentThreadId(), release_.thread);
    for (uint32_t event : {0x20u, 0x20000u, 0x40000u, 0x1Cu}) ASSERT_EQ(1u, sim_.SimFireReleaseEvent(event, nullptr, 0));
    ASSERT_TRUE(Drained());
    EXPECT_EQ(6, release_.count.load());
    EXPECT_EQ(0x1Cu, release_.event) << "in the order raised";
    EXPECT_EQ(0, device_.count.load());
}

TEST_F(EventTest, AShotRaisesReleaseStartAndCompleteWithTheItemCount) {
    Open();
    uint32_t n = 0;
    ASSERT_EQ(cdOK, sdk_.CDRelease(source_, 0, nullptr, 0, 1, &n));
    ASSERT_TRUE(Drained());
    EXPECT_EQ(2, release_.count.load());
    EXPECT_EQ(0x1Du, release_.event);
    EXPECT_EQ(n, release_.firstWord);
}

TEST_F(EventTest, ReleaseEventsCanBeSwitchedOff) {
    Configure("[Simulator]\nReleaseEvents=0\n");
    Open();
    uint32_t n = 0;
    ASSERT_EQ(cdOK, sdk_.CDRelease(source_, 0, nullptr, 0, 1, &n));
    EXPECT_EQ(0u, sim_.SimPendingEvents());
    EXPECT_EQ(0, release_.count.load());
}

TEST_F(EventTest, NothingToFireWithoutACallback) {
    StartSdk();
    EXPECT_EQ(0u, sim_.SimFireDeviceEvent(1, 0));
    EXPECT_EQ(0u, sim_.SimPressShutter());
    EXPECT_EQ(0u, sim_.SimPowerOff());
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
}

TEST_F(EventTest, SwitchingOffSendsTheShutdownClassThenCallsFail) {
    Open();
    ASSERT_EQ(1u, sim_.SimPowerOff());
    ASSERT_TRUE(Drained());
    EXPECT_EQ(cdEVENT_SHUTDOWN_POWER_OFF, device_.event);
    EXPECT_EQ(4u, (device_.event >> 16) & 0xF);
    uint16_t wb = 0;
    EXPECT_EQ(cdDEVICE_NOT_FOUND, sdk_.CDGetWBSetting(source_, &wb));
    EXPECT_EQ(0u, sim_.SimFireDeviceEvent(1, 0)) << "a dead camera raises nothing";
    DisconnectAndFinish();
    EXPECT_TRUE(Violations().empty()) << Violations()[0];
}

TEST_F(EventTest, UnpluggingSendsItsOwnShutdownEvent) {
    Open();
    ASSERT_EQ(1u, sim_.SimUnplug());
    ASSERT_TRUE(Drained());
    EXPECT_EQ(cdEVENT_SHUTDOWN_UNPLUGGED, device_.event);
}

TEST_F(EventTest, UnregisterWaitsForARunningCallbackAndNoneComesAfterIt) {
    Open();
    UniqueHandle entered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    device_.entered = entered.get();
    device_.holdMs = 150;
    ASSERT_EQ(1u, sim_.SimFireDeviceEvent(1, 0));
    for (int i = 0; i < 5; ++i) sim_.SimFireDeviceEvent(2, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(entered.get(), 5000));
    ASSERT_EQ(cdOK, sdk_.CDUnregisterEventCallbackFunction(source_, registration_));
    device_.unregistered = true;
    EXPECT_TRUE(device_.finished) << "the running callback ended before the unregister returned";
    ASSERT_TRUE(Drained());
    EXPECT_EQ(0, device_.afterUnregister.load());
    EXPECT_LT(device_.count.load(), 6) << "the events still queued were dropped";
    EXPECT_EQ(cdOK, sdk_.CDExitReleaseControl(source_));
    EXPECT_EQ(cdOK, sdk_.CDCloseSource(source_));
    source_ = 0;
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
}

TEST_F(EventTest, ExitingReleaseControlEndsReleaseEvents) {
    Open();
    UniqueHandle entered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    release_.entered = entered.get();
    release_.holdMs = 100;
    sim_.SimPressShutter();
    sim_.SimPressShutter();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(entered.get(), 5000));
    ASSERT_EQ(cdOK, sdk_.CDExitReleaseControl(source_));
    release_.unregistered = true;
    EXPECT_TRUE(release_.finished);
    ASSERT_TRUE(Drained());
    EXPECT_EQ(0, release_.afterUnregister.load());
    EXPECT_EQ(0u, sim_.SimPressShutter());
}

TEST_F(EventTest, ACallbackThatSendsToTheUnregisteringThreadDoesNotDeadlock) {
    Open();
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    UniqueHandle entered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    device_.entered = entered.get();
    device_.holdMs = 50;
    device_.window = window;  // created on this thread: the callback waits for this thread
    ASSERT_EQ(1u, sim_.SimFireDeviceEvent(cdEVENT_SHUTDOWN_POWER_OFF, 0));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(entered.get(), 5000));
    ASSERT_EQ(cdOK, sdk_.CDUnregisterEventCallbackFunction(source_, registration_));
    EXPECT_TRUE(device_.finished);
    registration_ = 0;
    DestroyWindow(window);
    EXPECT_EQ(cdOK, sdk_.CDExitReleaseControl(source_));
    EXPECT_EQ(cdOK, sdk_.CDCloseSource(source_));
    source_ = 0;
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
}

TEST_F(EventTest, ClosingWaitsForTheRunningCallbackOfItsSource) {
    Open();
    UniqueHandle entered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    device_.entered = entered.get();
    device_.holdMs = 100;
    sim_.SimFireDeviceEvent(1, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(entered.get(), 5000));
    sdk_.CDExitReleaseControl(source_);
    sdk_.CDCloseSource(source_);  // out of order, but it still ends the callbacks of its source
    EXPECT_TRUE(device_.finished);
    EXPECT_TRUE(Reported("still has an event callback registered"));
    source_ = 0;
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
    EXPECT_EQ(0u, sim_.SimPendingEvents());
}

}  // namespace
