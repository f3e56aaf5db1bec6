// A controller with a recording owner window, on the simulated camera.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "camera/camera_controller.h"
#include "camera/camera_messages.h"
#include "tests/camera/recording_owner.h"
#include "tests/camera/sim_access.h"

// Two cameras: a compact one with the PC viewfinder and zoom, and an EOS one.
extern const char kTwoCameras[];

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the simulator's configuration (before Start).
    void Configure(const std::string& ini);
    // Begin with the owner window set.
    void Start();
    // The record of source `index` as the SDK lists it.
    SourceInfo Source(uint32_t index);
    void Connect(uint32_t index = 0);
    // An empty folder under the test program's folder, removed again after the test.
    std::string TempFolder(const std::string& name);
    // Position of the first call named `name` at or after `from`, or -1 when there is none.
    static int IndexOf(const std::vector<std::string>& names, const std::string& name, size_t from = 0);

    RecordingOwner owner;
    std::unique_ptr<CameraController> camera;
    std::vector<std::string> m_folders;
};

// Reaches the controller's threads.
class CameraControllerProbe {
public:
    // Until the release thread is parked between batches (or has ended).
    static void WaitUntilReleaseIdle(CameraController& c) { c.m_releaseThread.WaitUntilIdle(); }
    static bool HasReleaseThread(const CameraController& c) { return c.m_releaseThread.Exists(); }
    static void SetMemoryAllocate(CameraController& c, MemoryStreamAllocate allocate) { c.m_memoryAllocate = allocate; }
};

// Files of a folder (names only), sorted.
std::vector<std::string> FilesIn(const std::string& folder);
std::string ReadFileBytes(const std::string& path);
// Number of threads of this process.
int ProcessThreadCount();
