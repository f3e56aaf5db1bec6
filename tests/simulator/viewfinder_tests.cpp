// Live frames: their format, their lifetime, their thread and the end of the viewfinder.
#include <atomic>
#include <mutex>

#include "platform/handles.h"
#include "tests/common/test_support.h"
#include "tests/simulator/sim_fixture.h"

namespace {

// What the frame callback saw; shared with it through the context.
struct FrameLog {
    std::mutex lock;
    std::vector<const uint8_t*> frames;
    std::vector<std::vector<uint8_t>> copies;  // the first few frames as they were delivered
    std::vector<uint32_t> sizes;
    std::vector<DWORD> threads;
    std::vector<ULONGLONG> times;
    std::atomic<bool> stopped{false};  // set once CDTermViewfinder returned
    std::atomic<int> afterStop{0};
    std::atomic<int> count{0};
    std::atomic<int> overwritten{0};  // frames found changed three frames later
    HANDLE gate = nullptr;  // while not signalled, the callback waits (as on the component's frame lock)
};

DWORD WINAPI OpenGateLater(void* gate) {
    Sleep(100);
    SetEvent(static_cast<HANDLE>(gate));
    return 0;
}

cdError CDAPI OnFrame(const void* frame, uint32_t size, uint32_t format, cdContext context) {
    FrameLog& log = *reinterpret_cast<FrameLog*>(context);
    if (log.stopped) ++log.afterStop;
    if (log.gate) WaitForSingleObject(log.gate, INFINITE);
    std::lock_guard<std::mutex> guard(log.lock);
    const uint8_t* bytes = static_cast<const uint8_t*>(frame);
    const size_t earlier = log.frames.size() >= 3 ? log.frames.size() - 3 : log.copies.size();
    if (earlier < log.copies.size() &&
        memcmp(log.frames[earlier], log.copies[earlier].data(), log.copies[earlier].size()) != 0) {
        ++log.overwritten;
    }
    log.frames.push_back(bytes);
    if (log.copies.size() < 4) log.copies.emplace_back(bytes, bytes + size);
    log.sizes.push_back(format == 1 ? size : 0);
    log.threads.push_back(GetCurrentThreadId());
    log.times.push_back(GetTickCount64());
    ++log.count;
    return 0;
}

class ViewfinderTest : public SimTest {
protected:
    void Open(const char* ini = nullptr) {
        if (ini) Configure(ini);
        StartSdk();
        Connect();
    }
    void Start() {
        ASSERT_EQ(cdOK, sdk_.CDStartViewfinder(source_, 1, OnFrame, reinterpret_cast<cdContext>(&log_)));
        viewfinder_ = true;
    }
    void Stop() {
        ASSERT_EQ(cdOK, sdk_.CDTermViewfinder(source_));
        log_.stopped = true;
        viewfinder_ = false;
    }
    bool WaitFrames(int n) {
        return test_support::PumpUntil([&] { return log_.count >= n; }, 10000);
    }
    void TearDown() override {
        if (source_) DisconnectAndFinish();
        SimTest::TearDown();
    }
    FrameLog log_;
};

uint32_t Word(const uint8_t* p, size_t at) {
    uint32_t value = 0;
    memcpy(&value, p + at, 4);
    return value;
}

TEST_F(ViewfinderTest, FramesAreCompleteBmpFilesWithPaddedRows) {
    Open("[Camera1]\nViewWidth=81\nViewHeight=61\nViewFps=30\n");
    Start();
    ASSERT_TRUE(WaitFrames(2));
    Stop();
    std::lock_guard<std::mutex> guard(log_.lock);
    const std::vector<uint8_t>& frame = log_.copies[0];
    const size_t rowBytes = 244;  // 81 * 3 = 243, padded
    ASSERT_EQ(54 + rowBytes * 61, frame.size());
    EXPECT_EQ(frame.size(), log_.sizes[0]) << "delivered as format 1 with its size";
    EXPECT_EQ('B', frame[0]);
    EXPECT_EQ('M', frame[1]);
    EXPECT_EQ(54u, Word(frame.data(), 10));
    EXPECT_EQ(40u, Word(frame.data(), 14));
    EXPECT_EQ(81u, Word(frame.data(), 18));
    EXPECT_EQ(61u, Word(frame.data(), 22));
    EXPECT_EQ(24, frame[28]);
    EXPECT_NE(log_.copies[0], log_.copies[1]) << "a live scene";
}

TEST_F(ViewfinderTest, FramesComeOnTheSimulatorsThreadAndStayValidForSeveralFrames) {
    Open("[Camera1]\nViewFps=50\n");
    Start();
    ASSERT_TRUE(WaitFrames(8));
    Stop();
    std::lock_guard<std::mutex> guard(log_.lock);
    for (DWORD thread : log_.threads) {
        EXPECT_NE(GetCurrentThreadId(), thread);
        EXPECT_EQ(log_.threads[0], thread) << "one viewfinder thread";
    }
    EXPECT_NE(log_.frames[0], log_.frames[1]) << "a ring of buffers, not one";
    EXPECT_EQ(0, log_.overwritten.load()) << "each of the first frames was intact when the third frame after it came";
    EXPECT_GE(sim_.SimFramesDelivered(), 8u);
}

TEST_F(ViewfinderTest, FramesAreNotDeliveredFasterThanTheConfiguredRate) {
    Open("[Camera1]\nViewFps=20\n");
    Start();
    ASSERT_TRUE(WaitFrames(6));
    Stop();
    std::lock_guard<std::mutex> guard(log_.lock);
    ULONGLONG span = log_.times[5] - log_.times[0];
    EXPECT_GE(span, 5 * 50u * 8 / 10) << "five periods of 50 ms, with some slack for the timer";
}

TEST_F(ViewfinderTest, NoFrameArrivesAfterTheStopReturnedEvenWhenTheCallbackWasWaiting) {
    Open("[Camera1]\nViewFps=50\n");
    UniqueHandle gate(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    log_.gate = gate.get();
    Start();
    ASSERT_TRUE(WaitFrames(2));
    ResetEvent(gate.get());  // the next callback waits about 100 ms
    UniqueHandle opener(CreateThread(nullptr, 0, OpenGateLater, gate.get(), 0, nullptr));
    Stop();
    WaitForSingleObject(opener.get(), INFINITE);
    int seen = log_.count;
    test_support::PumpFor(150);
    EXPECT_EQ(seen, log_.count.load());
    EXPECT_EQ(0, log_.afterStop.load());
    EXPECT_EQ(0u, Setting("Viewfinder"));
}

TEST_F(ViewfinderTest, RestartingReusesTheFrameMemory) {
    Open();
    Start();
    ASSERT_TRUE(WaitFrames(1));
    Stop();
    const uint8_t* first = log_.frames[0];
    log_.stopped = false;
    Start();
    ASSERT_TRUE(WaitFrames(2));
    Stop();
    EXPECT_EQ('B', first[0]) << "an old frame address still points at a frame";
}

TEST_F(ViewfinderTest, ASwitchedOffCameraDeliversNoMoreFrames) {
    Open("[Camera1]\nViewFps=50\n");
    Start();
    ASSERT_TRUE(WaitFrames(2));
    ASSERT_EQ(1u, sim_.SimPowerOff());
    int atPowerOff = log_.count;
    test_support::PumpFor(200);
    EXPECT_LE(log_.count.load(), atPowerOff + 1) << "at most the frame that was on its way";
    EXPECT_EQ(cdOK, sdk_.CDTermViewfinder(source_)) << "stopping stays possible";
    viewfinder_ = false;
}

TEST_F(ViewfinderTest, StartingNeedsTheCapabilityTheFormatAndNoRunningViewfinder) {
    Open("[Camera1]\nCapability=0\n");
    EXPECT_EQ(cdNOT_SUPPORTED, sdk_.CDStartViewfinder(source_, 1, OnFrame, reinterpret_cast<cdContext>(&log_)));
    DisconnectAndFinish();
    Open("");
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDStartViewfinder(source_, 2, OnFrame, reinterpret_cast<cdContext>(&log_)));
    EXPECT_EQ(cdINVALID_POINTER, sdk_.CDStartViewfinder(source_, 1, nullptr, 0));
    Start();
    EXPECT_EQ(cdSEQUENCE_ERROR, sdk_.CDStartViewfinder(source_, 1, OnFrame, reinterpret_cast<cdContext>(&log_)));
    EXPECT_EQ(1u, Setting("Viewfinder"));
    Stop();
    EXPECT_EQ(cdOK, sdk_.CDTermViewfinder(source_)) << "stopping a stopped viewfinder is harmless";
    EXPECT_TRUE(Violations().empty());
}

cdError CDAPI StopFromInside(const void*, uint32_t, uint32_t, cdContext context) {
    auto* args = reinterpret_cast<std::pair<PFN_CDTermViewfinder, cdHSource>*>(context);
    args->first(args->second);
    return 0;
}

TEST_F(ViewfinderTest, TheCallbackMayStopTheViewfinderItself) {
    Open();
    std::pair<PFN_CDTermViewfinder, cdHSource> args(sdk_.CDTermViewfinder, source_);
    ASSERT_EQ(cdOK, sdk_.CDStartViewfinder(source_, 1, StopFromInside, reinterpret_cast<cdContext>(&args)));
    EXPECT_TRUE(test_support::PumpUntil([&] { return Setting("Viewfinder") == 0; }));
    EXPECT_EQ(cdOK, sdk_.CDTermViewfinder(source_));
}

}  // namespace
