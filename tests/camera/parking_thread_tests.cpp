#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>

#include "camera/parking_thread.h"
#include "tests/camera/recording_owner.h"

namespace {

// A worker like the release thread: one job per resumption, parked in between.
struct Worker {
    ParkingThread thread;
    std::atomic<int> jobs{0};
    HANDLE started = CreateEventA(nullptr, FALSE, FALSE, nullptr);  // a job began
    HANDLE finish = CreateEventA(nullptr, TRUE, TRUE, nullptr);     // jobs may end
    HWND notify = nullptr;                                          // sent to during each job
    ~Worker() {
        thread.Stop();
        CloseHandle(started);
        CloseHandle(finish);
    }
    static DWORD WINAPI Main(LPVOID argument) {
        auto* w = static_cast<Worker*>(argument);
        if (!w->thread.WaitUntilResumed()) return 0;
        do {
            SetEvent(w->started);
            WaitForSingleObject(w->finish, INFINITE);
            if (w->notify) SendMessageA(w->notify, WM_USER + 1, 0, 0);
            ++w->jobs;
        } while (w->thread.Park());
        return 0;
    }
};

TEST(ParkingThread, AResumeRightAfterTheStartIsNotLost) {
    Worker w;
    ASSERT_TRUE(w.thread.Start(Worker::Main, &w));
    EXPECT_TRUE(w.thread.Exists());
    w.thread.Resume();
    w.thread.WaitUntilIdle();
    EXPECT_EQ(1, w.jobs.load());
    EXPECT_FALSE(w.thread.HasEnded());
    EXPECT_FALSE(w.thread.Start(Worker::Main, &w)) << "one thread at a time";
}

TEST(ParkingThread, AResumeWhileWorkingHasNoEffect) {
    Worker w;
    ResetEvent(w.finish);
    ASSERT_TRUE(w.thread.Start(Worker::Main, &w));
    w.thread.Resume();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(w.started, 5000));
    w.thread.Resume();  // like a second release during a batch
    SetEvent(w.finish);
    w.thread.WaitUntilIdle();
    EXPECT_EQ(1, w.jobs.load());
    EXPECT_NE(WAIT_OBJECT_0, WaitForSingleObject(w.started, 50)) << "no second job";
    w.thread.Resume();
    w.thread.WaitUntilIdle();
    EXPECT_EQ(2, w.jobs.load());
}

TEST(ParkingThread, StopEndsParkedAndNeverResumedThreads) {
    Worker parked;
    ASSERT_TRUE(parked.thread.Start(Worker::Main, &parked));
    parked.thread.Resume();
    parked.thread.WaitUntilIdle();
    parked.thread.Stop();
    EXPECT_FALSE(parked.thread.Exists());
    EXPECT_TRUE(parked.thread.HasEnded());

    Worker idle;
    ASSERT_TRUE(idle.thread.Start(Worker::Main, &idle));
    idle.thread.Stop();
    EXPECT_EQ(0, idle.jobs.load());
    idle.thread.Stop();  // harmless twice
    idle.thread.WaitUntilIdle();
    // Started again after a stop, it works as new.
    ASSERT_TRUE(idle.thread.Start(Worker::Main, &idle));
    idle.thread.Resume();
    idle.thread.WaitUntilIdle();
    EXPECT_EQ(1, idle.jobs.load());
}

TEST(ParkingThread, WaitingHandlesWhatTheWorkerSends) {
    RecordingOwner window;
    Worker w;
    w.notify = window.Handle();
    ASSERT_TRUE(w.thread.Start(Worker::Main, &w));
    w.thread.Resume();
    w.thread.WaitUntilIdle();  // would never return if the sent message were not handled
    EXPECT_EQ(1u, window.Count(WM_USER + 1));
    w.thread.Resume();
    w.thread.Stop();
    EXPECT_EQ(2u, window.Count(WM_USER + 1));
}

}  // namespace
