// A controller on the simulated camera, owned by a window that records what it is sent.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "camera/camera_controller.h"
#include "camera/camera_messages.h"
#include "tests/common/sim_access.h"
#include "tests/common/test_support.h"

using test_support::Drain;

struct ReceivedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool fromOtherThread;  // sent by another thread; posted ones and this thread's are not
    std::string text;      // WM_CAM_STATUS: the camera name; WM_CAM_FILE_SAVED: the path; WM_CAM_FRAME: the frame
};

// A message-only window in the camera dialog's place.
class RecordingOwner {
public:
    RecordingOwner();
    RecordingOwner(const RecordingOwner&) = delete;
    RecordingOwner& operator=(const RecordingOwner&) = delete;
    ~RecordingOwner() { DestroyWindow(m_hwnd); }

    HWND Handle() const { return m_hwnd; }
    const std::vector<ReceivedMessage>& All() const { return m_received; }
    std::vector<ReceivedMessage> Of(UINT message) const {
        std::vector<ReceivedMessage> result;
        for (const auto& r : m_received)
            if (r.message == message) result.push_back(r);
        return result;
    }
    size_t Count(UINT message) const { return Of(message).size(); }
    void Clear() {
        m_received.clear();
        reports.clear();
    }
    std::function<void(const ReceivedMessage&)> onMessage;  // acts like the dialog
    // Takes the release thread's reports when they are announced and, unless told not to, says
    // each frame is drawn, as the dialog does.
    CameraController* controller = nullptr;
    bool drawFrames = true;
    std::vector<ReleaseReport> reports;
    std::vector<ReleaseReport> ReportsOf(ReleaseReport::Kind kind) const {
        std::vector<ReleaseReport> result;
        for (const auto& r : reports)
            if (r.kind == kind) result.push_back(r);
        return result;
    }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    std::vector<ReceivedMessage> m_received;
};

class CameraControllerProbe {
public:
    // Until the release thread is parked between batches (or has ended).
    static void WaitUntilReleaseIdle(CameraController& c) { c.m_releaseThread.WaitUntilIdle(); }
    static bool HasReleaseThread(const CameraController& c) { return c.m_releaseThread.Exists(); }
    static bool WorkerLives(const CameraController& c) { return c.m_viewfinder.Exists(); }
    static void SetMemoryAllocate(CameraController& c, MemoryStreamAllocate allocate) { c.m_memoryAllocate = allocate; }
};

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Ends the SDK, resets the simulator to two cameras (a compact "Test Compact" with viewfinder
    // and zoom, an EOS "Test Reflex") plus `extra` keys, and makes a new controller.
    void Fresh(const std::string& extra = "");
    void Start() { ASSERT_TRUE(camera->Begin()); }
    SourceInfo Source(uint32_t index);
    void Connect(uint32_t index = 0) {
        SourceInfo source = Source(index);
        ASSERT_TRUE(camera->Connect(&source)) << "last error " << camera->GetLastError();
    }
    void StartAndConnect(uint32_t index = 0) {  // then clears the owner's record and the call log
        Start();
        Connect(index);
        Drain();
        owner.Clear();
        Sim().SimLogClear();
    }
    // A release, or a series of one (no pause for an interval of a second), and its whole batch.
    bool Shoot(bool series = false) {
        if (!(series ? camera->ShootSeries(1, 1) : camera->Release())) return false;
        // Parked again: the batch is done (and a release before this would not wake the thread).
        CameraControllerProbe::WaitUntilReleaseIdle(*camera);
        Drain();
        return true;
    }
    bool WaitForFrames(size_t n) {
        return test_support::PumpUntil([&] { return owner.Count(WM_CAM_FRAME) >= n; });
    }
    bool FrameQueued() const {  // a frame message still waits in the owner's queue
        MSG msg;
        return PeekMessageA(&msg, owner.Handle(), WM_CAM_FRAME, WM_CAM_FRAME, PM_NOREMOVE | PM_QS_POSTMESSAGE) != 0;
    }
    bool WorkerLives() const;

    RecordingOwner owner;
    std::unique_ptr<CameraController> camera;
    std::string folder;  // the save folder of every fresh controller, emptied before the test
};

int ProcessThreadCount();
