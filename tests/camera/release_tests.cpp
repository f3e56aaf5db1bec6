// Releases, the release thread, saved files and memory mode.
#include <algorithm>
#include <cstring>

#include "camera/camera_shared.h"
#include "camera/release_names.h"
#include "sdk/sdk_loader.h"
#include "tests/camera/controller_fixture.h"
#include "tests/common/test_support.h"

namespace {

using test_support::TakeMessageBoxes;

struct SavedName {
    std::string prefix, stamp, extension;
    uint32_t counter = 0;
};

// "<prefix><14 digits><6+ digits>.<ext>"
bool ParseSavedName(const std::string& name, SavedName* out) {
    size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    size_t digits = name.find_first_of("0123456789");
    if (digits == std::string::npos || dot - digits < 20) return false;
    out->prefix = name.substr(0, digits);
    out->stamp = name.substr(digits, 14);
    out->counter = static_cast<uint32_t>(std::stoul(name.substr(digits + 14, dot - digits - 14)));
    out->extension = name.substr(dot + 1);
    return true;
}

std::string NowStamp() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return FormatTimeStamp({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond});
}

std::string SentItem(uint32_t index) {
    uint32_t size = Sim().SimSentItemGet(index, nullptr, 0);
    std::string bytes(size, '\0');
    if (size) Sim().SimSentItemGet(index, &bytes[0], size);
    return bytes;
}

class ReleaseTest : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        folder = TempFolder("shots");
        camera->SetSaveFolder(folder.c_str());
    }
    void StartAndConnect(uint32_t index = 0) {
        Start();
        Connect(index);
        owner.PumpFor(0);
        owner.Clear();
    }
    // A release and its whole batch (file mode ends with WM_CAM_FILE_SAVED).
    bool ReleaseAndWaitForFileSaved() {
        size_t before = owner.Count(WM_CAM_FILE_SAVED);
        if (!camera->Release()) return false;
        bool saved = owner.PumpUntil([&] { return owner.Count(WM_CAM_FILE_SAVED) > before; });
        // A release before the thread has parked again would not wake it.
        CameraControllerProbe::WaitUntilReleaseIdle(*camera);
        return saved;
    }
    // Waits until the batch's closing WM_CAM_VIEWFINDER_ENABLE (lParam 0, after a 0) came.
    bool WaitForBatchEnd(size_t batches) {
        CameraControllerProbe::WaitUntilReleaseIdle(*camera);
        return owner.PumpUntil([&] {
            size_t ends = 0;
            for (const auto& m : owner.Of(WM_CAM_VIEWFINDER_ENABLE))
                if (m.lParam == 0 && m.wParam != 0) ++ends;
            return ends >= batches;
        });
    }
    size_t CallCount(const char* name) {
        size_t n = 0;
        for (const auto& c : SimCallNames()) n += c == name;
        return n;
    }

    std::string folder;
};

TEST_F(ReleaseTest, TwoItemsBecomeTwoFilesWithTheirBytes) {
    StartAndConnect();
    uint32_t counter = CameraFileCounter();
    std::string before = NowStamp();
    Sim().SimLogClear();
    ASSERT_TRUE(ReleaseAndWaitForFileSaved());
    std::string after = NowStamp();
    EXPECT_EQ(counter + 2, CameraFileCounter());

    auto files = FilesIn(folder);
    ASSERT_EQ(2u, files.size());
    SavedName picture, thumbnail;
    for (const auto& f : files) {
        SavedName n;
        ASSERT_TRUE(ParseSavedName(f, &n)) << f;
        (n.prefix == "FV" ? picture : thumbnail) = n;
        EXPECT_GE(n.stamp, before);
        EXPECT_LE(n.stamp, after);
        EXPECT_EQ(f.size(), 2u + 14 + 6 + 4) << f;
    }
    EXPECT_EQ("FV", picture.prefix);
    EXPECT_EQ("JPG", picture.extension);
    EXPECT_EQ(counter, picture.counter) << "the picture comes first";
    EXPECT_EQ("TH", thumbnail.prefix);
    EXPECT_EQ("JPG", thumbnail.extension);
    EXPECT_EQ(counter + 1, thumbnail.counter);

    // Byte for byte what the camera sent, in the order it sent them.
    ASSERT_EQ(2u, Sim().SimSentItemCount());
    for (const auto& f : files) {
        SavedName n;
        ParseSavedName(f, &n);
        EXPECT_EQ(SentItem(n.counter - counter), ReadFileBytes(folder + "\\" + f)) << f;
    }

    // The dialog hears of the last path; the viewfinder command is off during the batch.
    auto saved = owner.Of(WM_CAM_FILE_SAVED);
    ASSERT_EQ(1u, saved.size());
    EXPECT_FALSE(saved[0].posted);
    EXPECT_TRUE(saved[0].fromOtherThread);
    EXPECT_EQ(folder + "\\" + files[1], saved[0].text) << "the thumbnail, built last";
    EXPECT_EQ(0, saved[0].lParam);
    auto enable = owner.Of(WM_CAM_VIEWFINDER_ENABLE);
    ASSERT_EQ(2u, enable.size());
    EXPECT_EQ(0u, enable[0].wParam);
    EXPECT_EQ(0, enable[0].lParam);
    EXPECT_TRUE(enable[0].posted);
    EXPECT_EQ(1u, enable[1].wParam) << "the camera has a viewfinder";
    EXPECT_EQ(0, enable[1].lParam);

    // Calls: the shot on this thread, the transfers on the release thread.
    auto calls = SimCalls();
    ASSERT_GE(calls.size(), 7u);
    EXPECT_EQ("CDLockUI CDRelease CDUnlockUI", Joined({calls[0].name, calls[1].name, calls[2].name}));
    EXPECT_EQ(0u, calls[1].args[1]);
    EXPECT_EQ(0u, calls[1].args[2]);
    EXPECT_EQ(0u, calls[1].args[3]);
    EXPECT_EQ(1u, calls[1].args[4]);
    std::vector<SimCall> transfers;
    for (const auto& c : calls)
        if (std::strcmp(c.name, "CDGetReleasedData") == 0) transfers.push_back(c);
    ASSERT_EQ(4u, transfers.size());
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NE(GetCurrentThreadId(), transfers[i].threadId);
        bool query = i % 2 == 0;
        EXPECT_EQ(query ? 0u : reinterpret_cast<uintptr_t>(camera.get()), transfers[i].args[2]) << i;
        EXPECT_EQ(query ? 0u : 3u, transfers[i].args[3]) << i;
        EXPECT_EQ(query, transfers[i].args[5] == 0) << i;
    }
    EXPECT_TRUE(TakeMessageBoxes().empty());
    EXPECT_TRUE(SimViolations().empty()) << Joined(SimViolations());
}

TEST_F(ReleaseTest, RawPicturesAreCrwAndTheViewfinderStopsFirstWhenTheCameraAsks) {
    StartAndConnect(1);  // EOS camera: raw picture, capability 12
    ASSERT_TRUE(camera->BeginViewfinder());
    ASSERT_TRUE(owner.PumpUntil([&] { return owner.Count(WM_CAM_FRAME) > 0; }));
    Sim().SimLogClear();
    ASSERT_TRUE(ReleaseAndWaitForFileSaved());
    auto names = SimCallNames();
    EXPECT_EQ("CDLockUI CDTermViewfinder", Joined({names[0], names[1]}));
    EXPECT_EQ(2, IndexOf(names, "CDRelease"));
    size_t frames = owner.Count(WM_CAM_FRAME);
    owner.PumpFor(250);
    EXPECT_EQ(frames, owner.Count(WM_CAM_FRAME)) << "the viewfinder stays off";

    auto files = FilesIn(folder);
    ASSERT_EQ(2u, files.size());
    EXPECT_EQ("CRW", files[0].substr(files[0].size() - 3)) << files[0];
    EXPECT_EQ("FV", files[0].substr(0, 2));
    EXPECT_EQ("JPG", files[1].substr(files[1].size() - 3));
    EXPECT_EQ("TH", files[1].substr(0, 2));

    // The next switch starts it again.
    Sim().SimLogClear();
    ASSERT_TRUE(camera->BeginViewfinder());
    EXPECT_EQ(1, IndexOf(SimCallNames(), "CDStartViewfinder"));
    ASSERT_TRUE(camera->BeginViewfinder());
    EXPECT_TRUE(SimViolations().empty()) << Joined(SimViolations());
}

TEST_F(ReleaseTest, AFailedTransferEndsTheBatchAndDoesNotCount) {
    StartAndConnect();
    std::string missing = folder + "\\missing";
    camera->SetSaveFolder(missing.c_str());
    uint32_t counter = CameraFileCounter();
    ASSERT_TRUE(ReleaseAndWaitForFileSaved());
    EXPECT_EQ(counter, CameraFileCounter());
    EXPECT_EQ(2u, CallCount("CDGetReleasedData")) << "the second item was not asked for";
    EXPECT_NE(0u, camera->GetLastError() & 0xFFFF);
    auto saved = owner.Of(WM_CAM_FILE_SAVED);
    ASSERT_EQ(1u, saved.size());
    EXPECT_EQ(0u, saved[0].text.find(missing + "\\FV")) << "the path built last: " << saved[0].text;
    EXPECT_TRUE(TakeMessageBoxes().empty());

    // The next shot's batch runs normally.
    camera->SetSaveFolder(folder.c_str());
    ASSERT_TRUE(ReleaseAndWaitForFileSaved());
    auto files = FilesIn(folder);
    ASSERT_FALSE(files.empty());
    uint32_t lowest = UINT32_MAX;
    for (const auto& f : files) {
        SavedName n;
        ASSERT_TRUE(ParseSavedName(f, &n)) << f;
        lowest = std::min(lowest, n.counter);
    }
    EXPECT_EQ(counter, lowest) << "the failed item took no number";
}

TEST_F(ReleaseTest, AFailedQueryEndsTheBatchWithNoPath) {
    StartAndConnect();
    uint32_t counter = CameraFileCounter();
    Sim().SimSetFault("CDGetReleasedData", 0x00010086, 1);
    ASSERT_TRUE(ReleaseAndWaitForFileSaved());
    EXPECT_TRUE(FilesIn(folder).empty());
    EXPECT_EQ(counter, CameraFileCounter());
    auto saved = owner.Of(WM_CAM_FILE_SAVED);
    ASSERT_EQ(1u, saved.size());
    ASSERT_NE(0u, saved[0].wParam) << "never a null path";
    EXPECT_EQ("", saved[0].text) << "no path was built in this batch";
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

TEST_F(ReleaseTest, PathsBeyond259CharactersEndTheBatchBeforeAnyTransfer) {
    StartAndConnect();
    // A folder of 232 characters gives paths of exactly 259: they are written.
    std::string deep = folder;
    while (deep.size() + 101 < 232) {
        deep += "\\" + std::string(100, 'd');
        CreateDirectoryA(deep.c_str(), nullptr);
        m_folders.insert(m_folders.begin(), deep);
    }
    std::string exact = deep + "\\" + std::string(231 - deep.size(), 'e');
    ASSERT_EQ(232u, exact.size());
    ASSERT_TRUE(CreateDirectoryA(exact.c_str(), nullptr));
    m_folders.insert(m_folders.begin(), exact);
    camera->SetSaveFolder(exact.c_str());
    ASSERT_TRUE(ReleaseAndWaitForFileSaved());
    auto files = FilesIn(exact);
    ASSERT_EQ(2u, files.size());
    EXPECT_EQ(259u, exact.size() + 1 + files[0].size());
    EXPECT_EQ(259u, owner.Of(WM_CAM_FILE_SAVED)[0].text.size());

    // One more character: refused before the transfer, nothing written, nothing counted.
    std::string tooLong = exact + "f";
    camera->SetSaveFolder(tooLong.c_str());
    uint32_t counter = CameraFileCounter();
    Sim().SimLogClear();
    ASSERT_TRUE(ReleaseAndWaitForFileSaved());
    EXPECT_EQ(1u, CallCount("CDGetReleasedData")) << "the query only";
    EXPECT_EQ(counter, CameraFileCounter());
    EXPECT_EQ("", owner.Of(WM_CAM_FILE_SAVED).back().text);
}

TEST_F(ReleaseTest, KindsWithoutNamesOfTheirOwn) {
    Configure(std::string(kTwoCameras) + "[Camera1]\nItems=0x30:1:100,0x10:1:100,0x40:2:100\n");
    StartAndConnect();
    uint32_t counter = CameraFileCounter();
    ASSERT_TRUE(ReleaseAndWaitForFileSaved());
    auto files = FilesIn(folder);
    ASSERT_EQ(3u, files.size());
    std::vector<SavedName> names(3);
    for (const auto& f : files) {
        SavedName n;
        ASSERT_TRUE(ParseSavedName(f, &n)) << f;
        names[n.counter - counter] = n;
    }
    EXPECT_EQ("", names[0].prefix) << "first of the batch: no prefix";
    EXPECT_EQ("JPG", names[0].extension);
    EXPECT_EQ("TH", names[1].prefix);
    EXPECT_EQ("TH", names[2].prefix) << "the previous item's parts";
    EXPECT_EQ("JPG", names[2].extension);
}

TEST_F(ReleaseTest, MemoryModeTellsEachItemAndWritesNoFile) {
    ASSERT_TRUE(camera->SetSaveMode(1));
    StartAndConnect();
    uint32_t counter = CameraFileCounter();
    ASSERT_TRUE(camera->Release());
    ASSERT_TRUE(WaitForBatchEnd(1));
    auto saved = owner.Of(WM_CAM_FILE_SAVED);
    ASSERT_EQ(2u, saved.size()) << "one per item";
    for (const auto& m : saved) {
        EXPECT_EQ(0u, m.wParam);
        EXPECT_EQ(0, m.lParam);
        EXPECT_FALSE(m.posted);
    }
    EXPECT_TRUE(FilesIn(folder).empty());
    EXPECT_EQ(counter, CameraFileCounter());
    EXPECT_EQ(2u, Sim().SimSentItemCount());
    EXPECT_EQ(0u, camera->GetLastError());
    EXPECT_TRUE(SimViolations().empty()) << Joined(SimViolations());
}

void* NoMemory(size_t) { return nullptr; }

TEST_F(ReleaseTest, MemoryModeTransfersNothingItCannotHold) {
    ASSERT_TRUE(camera->SetSaveMode(1));
    StartAndConnect();
    CameraControllerProbe::SetMemoryAllocate(*camera, NoMemory);
    Sim().SimLogClear();
    ASSERT_TRUE(camera->Release());
    ASSERT_TRUE(WaitForBatchEnd(1));
    EXPECT_EQ(1u, CallCount("CDGetReleasedData")) << "the description only: no transfer without a stream";
    EXPECT_EQ(0u, Sim().SimSentItemCount());
    EXPECT_EQ(0u, owner.Count(WM_CAM_FILE_SAVED));
    auto boxes = TakeMessageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("ReleaseProgressFunc", boxes[0].caption);
    EXPECT_EQ("Allocate memory failed!", boxes[0].text);
    EXPECT_TRUE(SimViolations().empty()) << Joined(SimViolations());
}

TEST_F(ReleaseTest, ASaveModeChangeAfterTheFirstReleaseKeepsTheProcedure) {
    StartAndConnect();
    ASSERT_TRUE(ReleaseAndWaitForFileSaved());
    ASSERT_EQ(2u, FilesIn(folder).size());
    ASSERT_TRUE(camera->SetSaveMode(1));
    ASSERT_TRUE(ReleaseAndWaitForFileSaved());
    EXPECT_EQ(4u, FilesIn(folder).size()) << "still writing files";
    for (const auto& m : owner.Of(WM_CAM_FILE_SAVED)) EXPECT_NE(0u, m.wParam);

    // The other way round, on a fresh controller.
    camera->Disconnect();
    camera->End();
    camera = std::make_unique<CameraController>();
    camera->SetOwner(owner.Handle());
    camera->SetSaveFolder(folder.c_str());
    ASSERT_TRUE(camera->SetSaveMode(1));
    StartAndConnect();
    ASSERT_TRUE(camera->Release());
    ASSERT_TRUE(WaitForBatchEnd(1));
    ASSERT_TRUE(camera->SetSaveMode(0));
    ASSERT_TRUE(camera->Release());
    ASSERT_TRUE(WaitForBatchEnd(2));
    EXPECT_EQ(4u, FilesIn(folder).size()) << "no file from the memory thread";
    EXPECT_EQ(4u, owner.Count(WM_CAM_FILE_SAVED));
}

TEST_F(ReleaseTest, ReleaseFailures) {
    StartAndConnect();
    struct Case {
        const char* entry;
        const char* calls;
        bool transfers;
    } cases[] = {
        {"CDLockUI", "CDLockUI CDUnlockUI", false},
        {"CDRelease", "CDLockUI CDRelease CDUnlockUI", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        Sim().SimLogClear();
        Sim().SimSetFault(c.entry, 0x00030085, 1);
        EXPECT_FALSE(camera->Release());
        EXPECT_EQ(0x85u, camera->GetLastError());
        owner.PumpFor(100);
        EXPECT_EQ(c.calls, Joined(SimCallNames()));
    }
    EXPECT_EQ(0u, owner.Count(WM_CAM_FILE_SAVED)) << "no thread was started";

    // A failed unlock after the shot: the transfer is on its way all the same.
    Sim().SimSetFault("CDUnlockUI", 0x87, 1);
    Sim().SimLogClear();
    EXPECT_FALSE(camera->Release());
    EXPECT_EQ(0x87u, camera->GetLastError());
    ASSERT_TRUE(owner.PumpUntil([&] { return owner.Count(WM_CAM_FILE_SAVED) > 0; }));
    EXPECT_EQ(2u, FilesIn(folder).size());
    EXPECT_EQ(2u, CallCount("CDUnlockUI"));
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

TEST_F(ReleaseTest, AViewfinderThatWillNotStopBlocksTheShot) {
    StartAndConnect(1);
    ASSERT_TRUE(camera->BeginViewfinder());
    Sim().SimSetFault("CDTermViewfinder", 0x88, 1);
    Sim().SimLogClear();
    EXPECT_FALSE(camera->Release());
    EXPECT_EQ("CDLockUI CDTermViewfinder CDUnlockUI", Joined(SimCallNames()));
    EXPECT_EQ(0x88u, camera->GetLastError());
    ASSERT_TRUE(camera->BeginViewfinder()) << "still running: this stops it";
}

TEST_F(ReleaseTest, WithoutASourceTheDefaultFolderIsStillSetUp) {
    camera->SetSaveFolder("");
    Start();
    EXPECT_FALSE(camera->Release());
    EXPECT_STREQ("c:\\Canon", camera->GetSaveFolder());
    DWORD attributes = GetFileAttributesA("c:\\Canon");
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(camera->StartReleaseThread());
}

TEST_F(ReleaseTest, ShootSeriesReleasesCountTimes) {
    StartAndConnect();
    Sim().SimLogClear();
    EXPECT_TRUE(camera->ShootSeries(5, 0));
    EXPECT_EQ(0u, Sim().SimLogCount());
    // Intervals of 0 and 1 second mean no pause at all.
    EXPECT_TRUE(camera->ShootSeries(0, 1));
    EXPECT_TRUE(camera->ShootSeries(1, 2));
    EXPECT_EQ(3u, CallCount("CDRelease"));
    // Shots taken while a batch runs wait for a later release: at least the first is saved.
    ASSERT_TRUE(owner.PumpUntil([&] { return owner.Count(WM_CAM_FILE_SAVED) > 0; }));
    EXPECT_GE(FilesIn(folder).size(), 2u);
}

TEST_F(ReleaseTest, TheReleaseThreadSurvivesDisconnectAndEndsWithItsController) {
    int baseline = ProcessThreadCount();
    StartAndConnect();
    ASSERT_TRUE(ReleaseAndWaitForFileSaved());
    EXPECT_TRUE(camera->Disconnect());
    // Parked, and resumed by the next release after a reconnect.
    Connect(0);
    ASSERT_TRUE(ReleaseAndWaitForFileSaved());
    EXPECT_EQ(4u, FilesIn(folder).size());
    EXPECT_TRUE(camera->Disconnect());
    // Destroyed without End: its parked thread ends with it.
    camera.reset();
    camera = std::make_unique<CameraController>();
    ASSERT_TRUE(camera->End());
    EXPECT_EQ(baseline, ProcessThreadCount());
}

TEST_F(ReleaseTest, PowerOffDuringATransferEndsEveryThread) {
    Configure(std::string(kTwoCameras) + "[Simulator]\nChunkSize=512\n[Camera1]\nItems=0x20:1:4000000,0x10:1:700\n");
    int baseline = ProcessThreadCount();
    StartAndConnect();
    owner.onMessage = [&](const ReceivedMessage& m) {
        if (m.message == WM_CAM_POWERED_OFF) camera->OnCameraPoweredOff();
    };
    ASSERT_TRUE(camera->BeginViewfinder());
    ASSERT_TRUE(camera->Release());
    ASSERT_TRUE(Sim().SimPowerOff());
    ASSERT_TRUE(owner.PumpUntil([&] { return !camera->IsConnected() && Sim().SimPendingEvents() == 0; }));
    owner.PumpFor(50);
    EXPECT_EQ(0u, camera->GetSourceHandle());
    EXPECT_FALSE(CameraControllerProbe::HasReleaseThread(*camera)) << "forgotten, and ended";
    ASSERT_TRUE(camera->End());
    owner.PumpFor(0);
    EXPECT_EQ(baseline, ProcessThreadCount());
}

TEST_F(ReleaseTest, FullScenarioKeepsTheContract) {
    int baseline = ProcessThreadCount();
    StartAndConnect();
    ASSERT_TRUE(camera->BeginViewfinder());
    ASSERT_TRUE(owner.PumpUntil([&] { return owner.Count(WM_CAM_FRAME) > 1; }));
    uint32_t maximum = 0, other = 0;
    ASSERT_TRUE(camera->GetMaxZoomPos(&maximum, &other));
    ASSERT_TRUE(camera->SetZoomPos(maximum));
    ASSERT_TRUE(camera->Release());
    ASSERT_TRUE(camera->BeginViewfinder());
    // Disconnect while the batch may still run: it waits, so the source closes afterwards.
    ASSERT_TRUE(camera->Disconnect());
    EXPECT_EQ(2u, FilesIn(folder).size());
    ASSERT_TRUE(camera->End());
    EXPECT_TRUE(SimViolations().empty()) << Joined(SimViolations());
    EXPECT_TRUE(TakeMessageBoxes().empty());
    owner.PumpFor(0);
    EXPECT_EQ(baseline, ProcessThreadCount());
}

}  // namespace
