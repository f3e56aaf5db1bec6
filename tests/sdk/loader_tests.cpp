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

TEST_F(LoaderTest, ResolvesAll82EntriesOfACompleteLibraryAndLoadingAgainReplacesIt) {
    ASSERT_EQ(0, LoadSdk(BinFolder().c_str()));
    EXPECT_TRUE(IsSdkLoaded());
    const void* const* table = reinterpret_cast<const void* const*>(&g_sdk);
    for (int i = 0; i < CDSDK_ENTRY_POINT_COUNT; ++i) {
        EXPECT_EQ(reinterpret_cast<FARPROC>(const_cast<void*>(table[i])), GetProcAddress(SdkModule(), SdkEntryName(i)))
            << SdkEntryName(i);
    }
    EXPECT_STREQ("CDGetFunctions", SdkEntryName(0));
    EXPECT_STREQ("CDSelectViewFinderCameraOutput", SdkEntryName(81));
    ASSERT_EQ(0, LoadSdk(BinFolder().c_str()));  // replaces the first: one reference only
    UnloadSdk();
    EXPECT_EQ(nullptr, GetModuleHandleA((BinFolder() + "\\CDSDK.dll").c_str()));
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

// A refusal names the missing entry by its position (the last one missing), or gives the system's
// text for a library that is nowhere; one box each time, and nothing stays loaded.
TEST_F(LoaderTest, RefusesAnIncompleteOrMissingLibraryWithOneBox) {
    const struct {
        std::string folder;
        int result;
        const char* text;  // how the box starts
    } cases[] = {{BinFolder() + "\\variants\\no_aflock", -81, "CDSDK.dll 6.0 or laster vesion is required:\n"},
                 {BinFolder() + "\\variants\\no_5_40", -40, "CDSDK.dll 6.0 or laster vesion is required:\n"},
                 {"C:\\no\\such\\folder", -1, "CDSDK.dll"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        EXPECT_EQ(c.result, LoadSdk(c.folder.c_str()));
        EXPECT_FALSE(IsSdkLoaded());
        EXPECT_EQ(nullptr, SdkModule());
        auto boxes = TakeMessageBoxes();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ("Kamvio", boxes[0].caption);
        EXPECT_EQ(0u, boxes[0].text.find(c.text)) << boxes[0].text;
        EXPECT_GT(boxes[0].text.size(), strlen(c.text)) << "the detail follows directly";
        UnloadSdk();  // harmless after a refusal
    }
}

TEST_F(LoaderTest, TheGivenFolderWinsOverTheSearchPathWhichIsTheFallback) {
    SetDllDirectoryA(BinFolder().c_str());
    ASSERT_EQ(0, LoadSdk("C:\\no\\such\\folder"));
    EXPECT_EQ(BinFolder() + "\\CDSDK.dll", LoadedPath());
    UnloadSdk();
    // A refused library on the search path must not be the one taken.
    SetDllDirectoryA((BinFolder() + "\\variants\\no_aflock").c_str());
    std::string exeCopy = test_support::ExeFolder() + "\\CDSDK.dll";
    ASSERT_TRUE(CopyFileA((BinFolder() + "\\CDSDK.dll").c_str(), exeCopy.c_str(), FALSE));
    ASSERT_EQ(0, LoadSdk(test_support::ExeFolder().c_str()));
    EXPECT_EQ(exeCopy, LoadedPath());
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

}  // namespace
