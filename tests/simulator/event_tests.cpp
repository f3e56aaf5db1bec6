// Device and release events, the calls that end them, and cameras that are switched off.
#include <atomic>
#include <functional>

#include "platform/handles.h"
#include "tests/simulator/sim_fixture.h"

namespace {

struct EventLog {
    std::atomic<int> count{0}, afterEnd{0};
    std::atomic<bool> ended{false}, finished{true};
    uint32_t event = 0, firstWord = 0, size = 0;
    DWORD thread = 0;
    HANDLE entered = nullptr;  // set as a callback starts, which then takes a while
    HWND window = nullptr;     // sent to by the callback, as the component's callback does
};

cdError CDAPI OnEvent(uint32_t event, const void* data, uint32_t size, cdContext context) {
    EventLog& log = *reinterpret_cast<EventLog*>(context);
    log.finished = false;
    if (log.ended) ++log.afterEnd;
    log.event = event, log.size = size, log.firstWord = data && size >= 4 ? *static_cast<const uint32_t*>(data) : 0;
    log.thread = GetCurrentThreadId();
    if (log.entered) SetEvent(log.entered), Sleep(50);
    if (log.window) SendMessageW(log.window, WM_NULL, 0, 0);
    ++log.count;
    log.finished = true;
    return 0;
}

class EventTest : public SimTest {
protected:
    EventTest() {
        events_ = releaseEvents_ = OnEvent;
        eventContext_ = reinterpret_cast<cdContext>(&device_);
        releaseContext_ = reinterpret_cast<cdContext>(&release_);
    }
    static bool Drained() { return test_support::PumpUntil([] { return sim_.SimPendingEvents() == 0; }); }
    EventLog device_, release_;
};

TEST_F(EventTest, EventsComeOnTheSimulatorsThreadInTheOrderRaisedAndAShotRaisesTwo) {
    Open();
    const uint32_t data[2] = {3, 9};
    ASSERT_TRUE(sim_.SimFireDeviceEvent(0x00010005, 77));
    ASSERT_TRUE(sim_.SimFireReleaseEvent(0x1D, data, sizeof data));
    ASSERT_TRUE(Drained());
    EXPECT_EQ(1, device_.count.load()) << "device events go to the device callback only";
    EXPECT_EQ((std::vector<uint32_t>{0x00010005, 77, 4, 0x1D, 3, 8}),
              (std::vector<uint32_t>{device_.event, device_.firstWord, device_.size, release_.event, release_.firstWord,
                                     release_.size}));
    EXPECT_NE(GetCurrentThreadId(), device_.thread);
    EXPECT_NE(GetCurrentThreadId(), release_.thread);
    ASSERT_TRUE(sim_.SimFireReleaseEvent(0x20000, nullptr, 0));
    ASSERT_TRUE(sim_.SimPressShutter());
    ASSERT_TRUE(Drained());
    EXPECT_EQ(3, release_.count.exchange(0));
    EXPECT_EQ(0x1Eu, release_.event) << "the shutter button, raised last, came last";
    const uint32_t n = Shoot();
    ASSERT_TRUE(Drained());
    EXPECT_EQ(2, release_.count.exchange(0)) << "release start and complete";
    EXPECT_EQ(0x1Du << 16 | n, release_.event << 16 | release_.firstWord) << "complete, with the item count";
}

TEST_F(EventTest, ASwitchedOffCameraSaysSoAndFailsAllButTheTidyingCallsUntilItIsBackOn) {
    for (auto off : {sim_.SimPowerOff, sim_.SimUnplug}) {
        Open();
        ASSERT_EQ(1u, off());
        ASSERT_TRUE(Drained());
        EXPECT_EQ(off == sim_.SimPowerOff ? cdEVENT_SHUTDOWN_POWER_OFF : cdEVENT_SHUTDOWN_UNPLUGGED, device_.event);
        EXPECT_EQ(0u, off() + sim_.SimFireDeviceEvent(1, 0) + sim_.SimPressShutter()) << "a dead camera raises nothing";
        uint16_t wb = 0;
        uint32_t n = 0;
        cdHSource again = 0;
        SourceInfo info = {};
        info.sourceType = info.deviceIndex = 1;
        for (cdError status : {sdk_.CDGetWBSetting(source_, &wb), sdk_.CDLockUI(source_),
                               sdk_.CDRelease(source_, 0, nullptr, 0, 1, &n), sdk_.CDOpenSource(&info, &again)}) {
            EXPECT_EQ(cdDEVICE_NOT_FOUND, status);
        }
        EXPECT_EQ(1u, sim_.SimPowerOn());
        EXPECT_EQ(cdDEVICE_BUSY, sdk_.CDOpenSource(&info, &again)) << "the dead source still holds it";
        for (auto tidy : {sdk_.CDUnlockUI, sdk_.CDTermViewfinder, sdk_.CDExitReleaseControl}) {
            EXPECT_EQ(cdOK, tidy(source_));
        }
        EXPECT_EQ(cdOK, sdk_.CDFinishSDK()) << "a switched-off source may simply be forgotten";
        Open();  // and the camera is back
        DisconnectAndFinish();
    }
}

TEST_F(EventTest, TheCallsThatEndEventsWaitForTheRunningCallbackAndNoneComesAfter) {
    const struct {
        bool device;
        std::function<cdError()> end;
        size_t breaches;
    } cases[] = {{true, [&] { return sdk_.CDUnregisterEventCallbackFunction(source_, registration_); }, 0},
                 {false, [&] { return sdk_.CDExitReleaseControl(source_); }, 0},
                 {true, [&] { return sdk_.CDCloseSource(source_); }, 1}};  // while registered
    UniqueHandle entered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    // Created on this thread: the callback's message waits for this thread while it is inside the call.
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        Open();
        EventLog& log = c.device ? device_ : release_;
        log.count = 0, log.ended = false, log.entered = entered.get(), log.window = window;
        ResetEvent(entered.get());
        if (c.device) sdk_.CDExitReleaseControl(source_);
        for (int i = 0; i < 6; ++i) c.device ? sim_.SimFireDeviceEvent(1, 0) : sim_.SimPressShutter();
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(entered.get(), 5000));
        EXPECT_EQ(cdOK, c.end());
        log.ended = true;
        EXPECT_TRUE(log.finished) << "no callback runs once the call returned";
        ASSERT_TRUE(Drained());
        EXPECT_EQ(0, log.afterEnd.load());
        EXPECT_LT(log.count.load(), 6) << "the events still queued were dropped";
        EXPECT_EQ(c.breaches, Violations().size());
        log.entered = nullptr, log.window = nullptr;
        source_ = 0;
        sim_.SimReset();
    }
    DestroyWindow(window);
}

}  // namespace
