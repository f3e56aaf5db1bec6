#include "camera/file_stream.h"
#include "platform/handles.h"
#include "tests/camera/stream_cases.h"
#include "tests/common/sim_access.h"
#include "tests/common/test_support.h"

namespace {

std::string Path() { return test_support::ExeFolder() + "\\stream_item.bin"; }

TEST(FileStream, EveryErrorOfEveryOperation) {
    RunStreamCases(
        &StreamCase::file,
        [](cdStream* s) {
            ASSERT_TRUE(test_support::WriteTextFile(Path(), "keep"));  // mode 1 needs a file
            ASSERT_TRUE(BuildFileStream(s, Path().c_str()));
        },
        [](cdStream* s) {
            ReleaseFileStream(s);
            DeleteFileA(Path().c_str());
        });
}

TEST(FileStream, ModeZeroTouchesNothingAndReleaseClosesWhatIsOpen) {
    cdStream s{};
    EXPECT_FALSE(BuildFileStream(&s, nullptr));
    EXPECT_FALSE(BuildFileStream(&s, std::string(260, 'a').c_str()));
    EXPECT_FALSE(s.Open);
    ASSERT_TRUE(BuildFileStream(&s, std::string(259, 'a').c_str()));
    ReleaseFileStream(&s);
    ASSERT_TRUE(BuildFileStream(&s, Path().c_str()));
    cdError e = cdOK;
    s.Open(s.context, 0, &e);
    EXPECT_EQ(cdSTREAM_BAD_OPTIONS, e);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Path().c_str())) << "no file made";
    ASSERT_TRUE(test_support::WriteTextFile(Path(), "keep"));
    s.Open(s.context, 0, &e);
    EXPECT_EQ("keep", ReadFileBytes(Path())) << "nor emptied";
    s.Open(s.context, 2, &e);
    uint32_t n = 3;
    s.Write(s.context, "new", &n, &e);
    ASSERT_EQ(cdOK, e);
    ReleaseFileStream(&s);  // still open
    UniqueFile exclusive(CreateFileA(Path().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(exclusive) << "no handle is left behind";
    exclusive.reset();
    EXPECT_EQ("new", ReadFileBytes(Path())) << "mode 2 empties what was there";
    DeleteFileA(Path().c_str());
}

}  // namespace
