// Begin, End, and the lists of sources.
#include <cstring>

#include "camera/camera_shared.h"
#include "sdk/sdk_loader.h"
#include "tests/camera/controller_fixture.h"
#include "tests/common/test_support.h"

namespace {

using StartupTest = ControllerTest;

TEST_F(StartupTest, BeginStartsVersionSixAndTellsTheOwner) {
    Sim().SimLogClear();
    Start();
    EXPECT_TRUE(IsSdkLoaded());
    auto calls = SimCalls();
    ASSERT_EQ(1u, calls.size());
    EXPECT_STREQ("CDStartSDK", calls[0].name);
    EXPECT_NE(0u, calls[0].args[0]);
    EXPECT_EQ(0u, calls[0].args[1]) << "option 0";
    EXPECT_TRUE(SimViolations().empty()) << Joined(SimViolations());
    auto status = owner.Of(WM_CAM_STATUS);
    ASSERT_EQ(1u, status.size());
    EXPECT_EQ(1u, status[0].wParam);
    EXPECT_FALSE(status[0].posted);
    EXPECT_EQ(reinterpret_cast<LPARAM>(camera->GetCameraName()), status[0].lParam);
    EXPECT_EQ("", status[0].text);

    // The three names are registered, so other windows of the process agree on the numbers.
    EXPECT_EQ(RegisterWindowMessageA("Camera Event ReleaseOn"), CameraMessages().releaseOn);
    EXPECT_EQ(RegisterWindowMessageA("Camera Event ReleaseComplete"), CameraMessages().releaseComplete);
    EXPECT_EQ(RegisterWindowMessageA("Camera Event Abort PC EVF"), CameraMessages().abortPcEvf);

    owner.Clear();
    Sim().SimLogClear();
    ASSERT_TRUE(camera->End());
    EXPECT_FALSE(IsSdkLoaded());
    EXPECT_EQ(std::vector<std::string>{"CDFinishSDK"}, SimCallNames());
    status = owner.Of(WM_CAM_STATUS);
    ASSERT_EQ(1u, status.size());
    EXPECT_EQ(0u, status[0].wParam);
}

TEST_F(StartupTest, AFailedStartKeepsTheStatusAndTheLibrary) {
    Sim().SimSetFault("CDStartSDK", 0x00020087, 1);
    EXPECT_FALSE(camera->Begin());
    EXPECT_EQ(0x87u, camera->GetLastError()) << "low 16 bits";
    EXPECT_TRUE(IsSdkLoaded());
    EXPECT_EQ(0u, owner.Count(WM_CAM_STATUS));
    EXPECT_TRUE(test_support::TakeMessageBoxes().empty()) << "SDK failures show nothing";
    // A second Begin reloads the library and starts.
    ASSERT_TRUE(camera->Begin());
}

TEST_F(StartupTest, AFailedFinishKeepsTheLibraryLoaded) {
    Start();
    owner.Clear();
    Sim().SimSetFault("CDFinishSDK", 0x88, 1);
    EXPECT_FALSE(camera->End());
    EXPECT_EQ(0x88u, camera->GetLastError());
    EXPECT_TRUE(IsSdkLoaded());
    EXPECT_EQ(0u, owner.Count(WM_CAM_STATUS));
    ASSERT_TRUE(camera->End());
}

TEST_F(StartupTest, WithoutTheLibraryNothingCallsTheSdk) {
    // Never started: every SDK-facing operation fails without a call.
    Sim().SimLogClear();
    SourceInfo records[256];
    uint32_t count = 77;
    EXPECT_FALSE(camera->GetAllCameraSourceInfo(records, &count));
    EXPECT_EQ(0u, count);
    count = 77;
    EXPECT_FALSE(camera->GetSourceCount(&count));
    EXPECT_EQ(0u, count);
    EXPECT_FALSE(camera->GetSourceInfo(records, 2));
    SourceInfo source{};
    source.sourceType = 1;
    EXPECT_FALSE(camera->Connect(&source));
    EXPECT_FALSE(camera->IsConnected());
    EXPECT_FALSE(camera->End());
    EXPECT_EQ(0u, Sim().SimLogCount());

    // Started, then ended: the same.
    Start();
    ASSERT_TRUE(camera->End());
    Sim().SimLogClear();
    EXPECT_FALSE(camera->GetAllCameraSourceInfo(records, &count));
    EXPECT_FALSE(camera->Connect(&source));
    EXPECT_EQ(0u, Sim().SimLogCount());
}

TEST_F(StartupTest, SourceListNamesEveryCamera) {
    Start();
    SourceInfo records[256];
    uint32_t count = 0;
    Sim().SimLogClear();
    ASSERT_TRUE(camera->GetAllCameraSourceInfo(records, &count));
    EXPECT_EQ(2u, count);
    EXPECT_STREQ("Test Compact", records[0].modelName);
    EXPECT_STREQ("Test Reflex", records[1].modelName);
    EXPECT_NE(0u, records[0].sourceType);
    EXPECT_EQ((std::vector<std::string>{"CDEnumDeviceReset", "CDGetDeviceCount", "CDEnumDeviceNext",
                                        "CDEnumDeviceNext", "CDEnumDeviceRelease"}),
              SimCallNames());
    EXPECT_EQ(1u, SimCalls()[0].args[0]) << "enumeration kind 1";

    count = 0;
    ASSERT_TRUE(camera->GetSourceCount(&count));
    EXPECT_EQ(2u, count);
    SourceInfo two[2] = {};
    ASSERT_TRUE(camera->GetSourceInfo(two, 2));
    EXPECT_STREQ("Test Reflex", two[1].modelName);
    EXPECT_TRUE(SimViolations().empty()) << Joined(SimViolations());
}

TEST_F(StartupTest, AtMost256SourcesAreWritten) {
    Configure("[Simulator]\nCameras=300\n");
    Start();
    std::vector<SourceInfo> records(257);
    std::memset(&records[256], 0x5A, sizeof(SourceInfo));
    uint32_t count = 0;
    ASSERT_TRUE(camera->GetAllCameraSourceInfo(records.data(), &count));
    EXPECT_EQ(256u, count);
    EXPECT_NE(0u, records[255].sourceType);
    EXPECT_EQ(0x5A5A5A5Au, records[256].sourceType) << "nothing written past the 256th record";
    EXPECT_EQ(0x5A, records[256].reserved[10]);

    ASSERT_TRUE(camera->GetSourceInfo(records.data(), 1000));
    EXPECT_EQ(0x5A5A5A5Au, records[256].sourceType);
    EXPECT_TRUE(SimViolations().empty()) << Joined(SimViolations());
}

TEST_F(StartupTest, SourceListFailures) {
    Start();
    SourceInfo records[256];
    uint32_t count = 99;

    EXPECT_FALSE(camera->GetAllCameraSourceInfo(nullptr, &count));
    EXPECT_FALSE(camera->GetAllCameraSourceInfo(records, nullptr));

    Sim().SimSetFault("CDEnumDeviceReset", 0x00030061, 1);
    EXPECT_FALSE(camera->GetAllCameraSourceInfo(records, &count));
    EXPECT_EQ(0x61u, camera->GetLastError());
    EXPECT_EQ(99u, count) << "the count is not written when the reset fails";

    Sim().SimSetFault("CDGetDeviceCount", 0x62, 1);
    EXPECT_FALSE(camera->GetAllCameraSourceInfo(records, &count));
    EXPECT_EQ(0x62u, camera->GetLastError());
    EXPECT_EQ(0u, count);

    // Success clears the last error.
    ASSERT_TRUE(camera->GetAllCameraSourceInfo(records, &count));
    EXPECT_EQ(0u, camera->GetLastError());

    Sim().SimSetFault("CDEnumDeviceReset", 0x61, 1);
    count = 5;
    EXPECT_FALSE(camera->GetSourceCount(&count));
    EXPECT_EQ(0u, count);
    EXPECT_FALSE(camera->GetSourceCount(nullptr));
    EXPECT_FALSE(camera->GetSourceInfo(nullptr, 2));

    // A failing record keeps its whole status, the others are still fetched.
    SourceInfo two[2] = {};
    Sim().SimSetFault("CDEnumDeviceNext", 0x00050080, 1);
    EXPECT_TRUE(camera->GetSourceInfo(two, 2));
    EXPECT_EQ(0x00050080u, camera->GetLastError());
    EXPECT_NE(0u, two[1].sourceType);
    EXPECT_TRUE(test_support::TakeMessageBoxes().empty());
    EXPECT_TRUE(SimViolations().empty()) << Joined(SimViolations());
}

TEST_F(StartupTest, NoCameraGivesAnEmptyListWithoutError) {
    Configure("[Simulator]\nCameras=0\n");
    Start();
    SourceInfo records[256];
    uint32_t count = 5;
    EXPECT_FALSE(camera->GetAllCameraSourceInfo(records, &count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ(0u, camera->GetLastError());
    EXPECT_FALSE(camera->GetSourceCount(&count));
    EXPECT_TRUE(SimViolations().empty()) << Joined(SimViolations());
}

TEST_F(StartupTest, SaveModeAndSaveFolderRefuseBadValues) {
    EXPECT_TRUE(camera->SetSaveMode(1));
    EXPECT_FALSE(camera->SetSaveMode(2));
    EXPECT_FALSE(camera->SetSaveMode(255));
    EXPECT_TRUE(camera->SetSaveMode(0));

    EXPECT_TRUE(camera->SetSaveFolder("d:\\pictures"));
    EXPECT_STREQ("d:\\pictures", camera->GetSaveFolder());
    EXPECT_FALSE(camera->SetSaveFolder(std::string(260, 'a').c_str()));
    EXPECT_FALSE(camera->SetSaveFolder(nullptr));
    EXPECT_STREQ("d:\\pictures", camera->GetSaveFolder());
    EXPECT_TRUE(camera->SetSaveFolder(std::string(259, 'a').c_str()));
    EXPECT_EQ(259u, strlen(camera->GetSaveFolder()));
}

}  // namespace
