#include <gtest/gtest.h>

#include "sdk/sdk_loader.h"
#include "tests/common/test_support.h"

using test_support::TakeMessageBoxes;

namespace {

std::string BinFolder() {  // the test runs in bin\sdk_tests
    std::string exe = test_support::ExeFolder();
    return exe.substr(0, exe.rfind('\\'));
}

std::string LoadedPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(SdkModule(), path, MAX_PATH);
    return path;
}

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override { TakeMessageBoxes(); }
    void TearDown() override {
        UnloadSdk();
        SetDllDirectoryA(nullptr);
        DeleteFileA((test_support::ExeFolder() + "\\CDSDK.dll").c_str());
    }
};

TEST_F(LoaderTest, ResolvesAll82EntriesOfACompleteLibrary) {
    ASSERT_EQ(0, LoadSdk(BinFolder().c_str()));
    EXPECT_TRUE(IsSdkLoaded());
    const void* const* table = reinterpret_cast<const void* const*>(&g_sdk);
    for (int i = 0; i < CDSDK_ENTRY_POINT_COUNT; ++i) {
        EXPECT_EQ(reinterpret_cast<FARPROC>(const_cast<void*>(table[i])), GetProcAddress(SdkModule(), SdkEntryName(i)))
            << SdkEntryName(i);
    }
    EXPECT_STREQ("CDGetFunctions", SdkEntryName(0));
    EXPECT_STREQ("CDSelectViewFinderCameraOutput", SdkEntryName(81));
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

TEST_F(LoaderTest, RefusesALibraryWithoutAFLockWithItsPosition) {
    EXPECT_EQ(-81, LoadSdk((BinFolder() + "\\variants\\no_aflock").c_str()));
    EXPECT_FALSE(IsSdkLoaded());
    EXPECT_EQ(nullptr, SdkModule());
    auto boxes = TakeMessageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(0u, boxes[0].text.find("CDSDK.dll 6.0 or laster vesion is required:\n")) << boxes[0].text;
    UnloadSdk();  // harmless after a refusal
    EXPECT_FALSE(IsSdkLoaded());
}

TEST_F(LoaderTest, NamesTheLastMissingEntryAndShowsOneBox) {
    EXPECT_EQ(-40, LoadSdk((BinFolder() + "\\variants\\no_5_40").c_str()));
    EXPECT_EQ(1u, TakeMessageBoxes().size());
    EXPECT_FALSE(IsSdkLoaded());
}

TEST_F(LoaderTest, NoLibraryAnywhereGivesMinusOneAndTheSystemText) {
    // Neither the folder nor this executable's folder nor the path holds a CDSDK.dll.
    EXPECT_EQ(-1, LoadSdk("C:\\no\\such\\folder"));
    EXPECT_EQ(nullptr, SdkModule());
    auto boxes = TakeMessageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(0u, boxes[0].text.find("CDSDK.dll"));
    EXPECT_GT(boxes[0].text.size(), strlen("CDSDK.dll")) << "system text follows directly";
    UnloadSdk();
}

TEST_F(LoaderTest, FallsBackToTheSystemSearchOrder) {
    SetDllDirectoryA(BinFolder().c_str());
    ASSERT_EQ(0, LoadSdk("C:\\no\\such\\folder"));
    EXPECT_EQ(BinFolder() + "\\CDSDK.dll", LoadedPath());
}

TEST_F(LoaderTest, TheGivenFolderWinsOverTheSearchPath) {
    // A refused library on the search path must not be the one taken.
    SetDllDirectoryA((BinFolder() + "\\variants\\no_aflock").c_str());
    std::string exeCopy = test_support::ExeFolder() + "\\CDSDK.dll";
    ASSERT_TRUE(CopyFileA((BinFolder() + "\\CDSDK.dll").c_str(), exeCopy.c_str(), FALSE));
    ASSERT_EQ(0, LoadSdk(test_support::ExeFolder().c_str()));
    EXPECT_EQ(exeCopy, LoadedPath());
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

TEST_F(LoaderTest, LoadingAgainReplacesTheLibrary) {
    ASSERT_EQ(0, LoadSdk(BinFolder().c_str()));
    HMODULE first = SdkModule();
    ASSERT_EQ(0, LoadSdk(BinFolder().c_str()));
    EXPECT_EQ(first, SdkModule());  // freed and loaded again: one reference only
    UnloadSdk();
    EXPECT_EQ(nullptr, GetModuleHandleA((BinFolder() + "\\CDSDK.dll").c_str()));
}

}  // namespace
