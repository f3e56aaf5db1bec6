// Releases: the release thread, saved files, memory mode, and the threads' ends.
#include <algorithm>
#include <cstring>

#include "camera/camera_shared.h"
#include "camera/release_names.h"
#include "sdk/sdk_loader.h"
#include "tests/camera/camera_fixture.h"
#include "tests/common/test_support.h"

namespace {

using test_support::PumpFor;
using test_support::PumpUntil;

struct SavedName {
    std::string prefix, extension, stamp;
    uint32_t counter;
};

// "<prefix><14 digits><6+ digits>.<ext>"
SavedName Parse(const std::string& name) {
    size_t dot = name.rfind('.'), digits = std::min(name.find_first_of("0123456789"), dot - 20);
    return {name.substr(0, digits), name.substr(dot + 1), name.substr(digits, 14),
            static_cast<uint32_t>(std::stoul(name.substr(digits + 14, dot - digits - 14)))};
}

std::string NowStamp() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return FormatTimeStamp({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond});
}

void* NoMemory(size_t) { return nullptr; }

using ReleaseTest = ControllerTest;

TEST_F(ReleaseTest, EachItemBecomesAFileNamedByItsKindTheTimeAndTheCounter) {
    // Kinds without names of their own: the first of a batch has no prefix, later ones take
    // the previous item's parts. Raw only makes a picture CRW.
    Fresh("[Camera1]\nItems=0x30:1:100,0x20:2:3000,0x10:2:700,0x40:1:100,0x50:2:500,0x20:1:900\n");
    StartAndConnect();
    const char* const expected[] = {".JPG", "FV.CRW", "TH.JPG", "TH.JPG", "FP.JPG", "FV.JPG"};
    uint32_t counter = CameraFileCounter();
    std::string before = NowStamp();
    Sim().SimLogClear();
    ASSERT_TRUE(Shoot());
    std::string after = NowStamp();
    EXPECT_EQ(counter + 6, CameraFileCounter());
    auto files = FilesIn(folder);
    ASSERT_EQ(6u, files.size());
    ASSERT_EQ(6u, Sim().SimSentItemCount());
    for (const auto& f : files) {
        SCOPED_TRACE(f);
        SavedName n = Parse(f);
        uint32_t i = n.counter - counter;  // consecutive, in the order the camera sent them
        ASSERT_LT(i, 6u);
        EXPECT_EQ(expected[i], n.prefix + "." + n.extension);
        EXPECT_LE(before, n.stamp);
        EXPECT_LE(n.stamp, after);
    }
    // Each file as it is written, then the batch with all of them and the path built last; all
    // posted, the release thread never waits for the window.
    std::vector<std::string> paths(files.size());
    for (const auto& f : files) paths.at(Parse(f).counter - counter) = folder + "\\" + f;
    std::vector<std::string> items;
    for (const auto& r : owner.ReportsOf(ReleaseReport::ItemSaved)) items.push_back(r.path);
    EXPECT_EQ(paths, items);
    auto batches = owner.ReportsOf(ReleaseReport::BatchDone);
    ASSERT_EQ(1u, batches.size());
    EXPECT_EQ(paths, batches[0].files);
    EXPECT_EQ(paths.back(), batches[0].path) << "the path built last";
    EXPECT_FALSE(owner.Of(WM_CAM_RELEASE_REPORT).at(0).fromOtherThread) << "posted";
    // The viewfinder command is off during the batch, and back on (the camera has one) after it.
    auto enable = owner.Of(WM_CAM_VIEWFINDER_ENABLE);
    ASSERT_EQ(2u, enable.size());
    EXPECT_FALSE(enable[0].fromOtherThread);
    EXPECT_EQ((std::vector<WPARAM>{0, 1}), (std::vector<WPARAM>{enable[0].wParam, enable[1].wParam}));

    // The shot on this thread; each item described, then transferred, on the release thread.
    EXPECT_EQ("CDLockUI CDRelease CDUnlockUI", CallLog(GetCurrentThreadId()));
    EXPECT_EQ(0u, SimCalls()[1].args[1] | SimCalls()[1].args[2] | SimCalls()[1].args[3]);
    EXPECT_EQ(1u, SimCalls()[1].args[4]);
    EXPECT_EQ(12u, SimCalls("CDGetReleasedData").size());
    EXPECT_EQ("", Boxes());
    EXPECT_EQ("", Violations());
}

TEST_F(ReleaseTest, AFailedItemEndsTheBatchAndTakesNoNumber) {
    int baseline = ProcessThreadCount();
    StartAndConnect();
    uint32_t counter = CameraFileCounter();
    const std::string missing = folder + "\\missing", tooLong = folder + "\\" + std::string(232 - folder.size(), 'x');
    // A missing folder fails the first transfer, and the second item is not asked for. A failed
    // description, or a path of 260 characters, transfers nothing, and the dialog gets an empty
    // path.
    const struct {
        std::string folder;
        bool describeFails;
        size_t asked;
        std::string path;
    } rows[] = {{missing, false, 2, missing + "\\FV"}, {folder, true, 1, ""}, {tooLong, false, 1, ""}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.folder.size());
        ASSERT_TRUE(camera->SetSaveFolder(r.folder.c_str()));
        if (r.describeFails) Sim().SimSetFault("CDGetReleasedData", 0x00010086, 1);
        owner.Clear();
        Sim().SimLogClear();
        ASSERT_TRUE(Shoot());
        EXPECT_EQ(r.asked, SimCalls("CDGetReleasedData").size());
        auto batches = owner.ReportsOf(ReleaseReport::BatchDone);
        ASSERT_EQ(1u, batches.size());
        EXPECT_EQ(r.path, batches[0].path.substr(0, r.path.empty() ? std::string::npos : r.path.size()));
        EXPECT_EQ(0u, batches[0].files.size());
        EXPECT_TRUE(FilesIn(folder).empty());
        EXPECT_EQ(counter, CameraFileCounter()) << "failed items take no number";
    }
    EXPECT_EQ("", Boxes());
    // The controller takes no folder beyond 259 characters.
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, TRUE, TRUE}),
              (std::vector<BOOL>{camera->SetSaveFolder(std::string(260, 'a').c_str()), camera->SetSaveFolder(nullptr),
                                 camera->SetSaveFolder(std::string(259, 'a').c_str()), camera->SetSaveFolder(folder.c_str())}));
    // The parked thread survives a disconnect; a series resumes it.
    EXPECT_TRUE(camera->Disconnect());
    Connect(0);
    Sim().SimLogClear();
    EXPECT_TRUE(camera->ShootSeries(5, 0));
    EXPECT_EQ("", CallLog());
    ASSERT_TRUE(Shoot(true));
    EXPECT_EQ(1u, SimCalls("CDRelease").size());
    EXPECT_EQ(2u, FilesIn(folder).size());
    EXPECT_TRUE(camera->Disconnect());
    owner.controller = nullptr;
    camera.reset();  // without End: its parked thread ends with it, and its part of the SDK
    EXPECT_FALSE(IsSdkLoaded());
    EXPECT_EQ(baseline, ProcessThreadCount());
}

TEST_F(ReleaseTest, TheFirstReleaseFixesTheSaveMode) {
    for (uint8_t first : {1, 0}) {
        SCOPED_TRACE(first);
        Fresh();
        ASSERT_TRUE(camera->SetSaveMode(first));
        StartAndConnect();
        uint32_t counter = CameraFileCounter();
        ASSERT_TRUE(Shoot());
        ASSERT_TRUE(camera->SetSaveMode(1 - first));  // the thread keeps its procedure
        ASSERT_TRUE(Shoot());
        // Memory mode: a report for each item, and no file.
        EXPECT_EQ(first ? 0u : 4u, FilesIn(folder).size());
        EXPECT_EQ(counter + (first ? 0 : 4), CameraFileCounter());
        EXPECT_EQ(first ? 4u : 0u, owner.ReportsOf(ReleaseReport::MemoryItem).size());
        auto batches = owner.ReportsOf(ReleaseReport::BatchDone);
        ASSERT_EQ(2u, batches.size());
        for (const auto& b : batches) EXPECT_EQ(first == 1, b.memory);
        EXPECT_EQ(4u, Sim().SimSentItemCount());
        EXPECT_EQ(0u, camera->GetLastError());
        if (!first) continue;
        // Memory it cannot have: nothing is transferred.
        CameraControllerProbe::SetMemoryAllocate(*camera, NoMemory);
        ASSERT_TRUE(Shoot());
        EXPECT_EQ(4u, owner.ReportsOf(ReleaseReport::MemoryItem).size());
        EXPECT_EQ(4u, Sim().SimSentItemCount());
        EXPECT_EQ("ReleaseProgressFunc: Allocate memory failed!\n", Boxes());
    }
    EXPECT_FALSE(camera->SetSaveMode(2));
    EXPECT_EQ("", Violations());
}

TEST_F(ReleaseTest, PowerOffDuringLiveViewAndATransferEndsEveryThread) {
    Fresh("[Simulator]\nChunkSize=512\n[Camera1]\nItems=0x20:1:4000000,0x10:1:700\n");
    int baseline = ProcessThreadCount();
    StartAndConnect();
    ASSERT_TRUE(camera->BeginViewfinder());
    ASSERT_TRUE(WaitForFrames(2));
    ASSERT_TRUE(camera->Release());
    owner.onMessage = [&](const ReceivedMessage& m) {  // as the dialog does
        if (m.message == WM_CAM_POWERED_OFF) camera->OnCameraPoweredOff();
    };
    ASSERT_TRUE(Sim().SimPowerOff());
    ASSERT_TRUE(PumpUntil([&] { return !camera->IsConnected(); }));
    ASSERT_TRUE(PumpUntil([] { return Sim().SimPendingEvents() == 0; }));
    EXPECT_FALSE(camera->GetSourceHandle());
    EXPECT_FALSE(camera->IsCameraAlive());
    EXPECT_FALSE(WorkerLives());
    EXPECT_FALSE(CameraControllerProbe::HasReleaseThread(*camera)) << "forgotten, and ended";
    size_t frames = owner.Count(WM_CAM_FRAME);
    PumpFor(250);
    EXPECT_EQ(frames, owner.Count(WM_CAM_FRAME)) << "no frame after the camera went";
    EXPECT_EQ("Test Compact", owner.Of(WM_CAM_STATUS).at(0).text) << "the status goes out with the name";
    Sim().SimLogClear();
    EXPECT_EQ((std::vector<BOOL>{TRUE, FALSE, TRUE}),
              (std::vector<BOOL>{camera->Disconnect(), camera->BeginViewfinder(), camera->End()}));
    // Nothing is left to disconnect; the gone source is closed by the end, not from the event.
    EXPECT_EQ("CDExitReleaseControl CDUnregisterEventCallbackFunction CDCloseSource CDFinishSDK", CallLog());
    EXPECT_EQ(baseline, ProcessThreadCount());
}

}  // namespace
