#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "camera/file_stream.h"
#include "tests/camera/controller_fixture.h"
#include "tests/common/test_support.h"

namespace {

class FileStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = test_support::ExeFolder() + "\\ctl_tmp";
        CreateDirectoryA(folder.c_str(), nullptr);
        folder += "\\streams";
        CreateDirectoryA(folder.c_str(), nullptr);
        path = folder + "\\item.bin";
        DeleteFileA(path.c_str());
        ASSERT_TRUE(BuildFileStream(&s, path.c_str()));
    }
    void TearDown() override {
        ReleaseFileStream(&s);
        DeleteFileA(path.c_str());
        RemoveDirectoryA(folder.c_str());
    }
    cdError Open(uint16_t mode) {
        cdError e = 0xDEAD;
        s.Open(s.context, mode, &e);
        return e;
    }
    cdError Close() {
        cdError e = 0xDEAD;
        s.Close(s.context, &e);
        return e;
    }
    cdError Write(const std::string& data, uint32_t* done = nullptr) {
        uint32_t n = static_cast<uint32_t>(data.size());
        cdError e = 0xDEAD;
        s.Write(s.context, data.data(), &n, &e);
        if (done) *done = n;
        return e;
    }
    cdError Read(std::string* out, uint32_t size) {
        out->assign(size, '\0');
        cdError e = 0xDEAD;
        s.Read(s.context, &(*out)[0], &size, &e);
        out->resize(size);
        return e;
    }
    cdError Seek(uint16_t origin, int32_t offset) {
        cdError e = 0xDEAD;
        s.Seek(s.context, origin, offset, &e);
        return e;
    }
    bool Exists() const { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::string folder;
    std::string path;
    cdStream s{};
};

TEST_F(FileStreamTest, BuildRefusesPathsItCannotHold) {
    cdStream other{};
    EXPECT_FALSE(BuildFileStream(&other, nullptr));
    EXPECT_FALSE(BuildFileStream(&other, std::string(260, 'a').c_str()));
    EXPECT_EQ(0u, other.context);
    EXPECT_EQ(nullptr, other.Open);
    EXPECT_TRUE(BuildFileStream(&other, std::string(259, 'a').c_str()));
    ReleaseFileStream(&other);
    EXPECT_EQ(0u, other.context);
    EXPECT_EQ(nullptr, other.Tell);
    EXPECT_FALSE(Exists()) << "building touches no file";
}

TEST_F(FileStreamTest, ModesOutsideOneToFourTouchNothing) {
    for (uint16_t mode : {0, 5, 6, 7, 8, 16, 0xFFFF}) EXPECT_EQ(cdSTREAM_BAD_OPTIONS, Open(mode)) << mode;
    EXPECT_FALSE(Exists());
    ASSERT_TRUE(test_support::WriteTextFile(path, "keep"));
    EXPECT_EQ(cdSTREAM_BAD_OPTIONS, Open(0));
    EXPECT_EQ("keep", ReadFileBytes(path)) << "an existing file is not emptied";
    cdError e = 0xDEAD;
    s.Open(0, 2, &e);
    EXPECT_EQ(cdSTREAM_OPEN_ERROR, e);
}

TEST_F(FileStreamTest, ReadModeNeedsAnExistingFileAndSharesWithReaders) {
    EXPECT_EQ(cdSTREAM_OPEN_ERROR, Open(1));
    EXPECT_FALSE(Exists());
    ASSERT_TRUE(test_support::WriteTextFile(path, "hello"));
    ASSERT_EQ(cdOK, Open(1));
    EXPECT_EQ(cdSTREAM_ALREADY_OPEN, Open(1));
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, reader) << "others may read";
    if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
    std::string data;
    ASSERT_EQ(cdOK, Read(&data, 5));
    EXPECT_EQ("hello", data);
    EXPECT_EQ(cdSTREAM_WRITE_ERROR, Write("x")) << "read access only";
    EXPECT_EQ(cdOK, Close());
}

TEST_F(FileStreamTest, WriteModesCreateOrEmptyAndShareWithNobody) {
    ASSERT_TRUE(test_support::WriteTextFile(path, "old contents"));
    ASSERT_EQ(cdOK, Open(2));
    HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               0, nullptr);
    EXPECT_EQ(INVALID_HANDLE_VALUE, other) << "no sharing";
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    uint32_t done = 0;
    ASSERT_EQ(cdOK, Write("new", &done));
    EXPECT_EQ(3u, done);
    std::string data;
    EXPECT_EQ(cdSTREAM_READ_ERROR, Read(&data, 3)) << "write access only";
    ASSERT_EQ(cdOK, Close());
    EXPECT_EQ("new", ReadFileBytes(path)) << "always created: the old contents are gone";

    ASSERT_EQ(cdOK, Open(3));
    ASSERT_EQ(cdOK, Write("abc"));
    ASSERT_EQ(cdOK, Seek(1, 0));
    ASSERT_EQ(cdOK, Read(&data, 3));
    EXPECT_EQ("abc", data);
    ASSERT_EQ(cdOK, Close());

    // Mode 4 opens what is there and creates what is not.
    ASSERT_EQ(cdOK, Open(4));
    ASSERT_EQ(cdOK, Read(&data, 3));
    EXPECT_EQ("abc", data);
    ASSERT_EQ(cdOK, Close());
    DeleteFileA(path.c_str());
    ASSERT_EQ(cdOK, Open(4));
    EXPECT_TRUE(Exists());
    ASSERT_EQ(cdOK, Close());
}

TEST_F(FileStreamTest, CloseReadWriteWithoutAnOpenFile) {
    EXPECT_EQ(cdSTREAM_CLOSE_ERROR, Close());
    cdError e = 0xDEAD;
    s.Close(0, &e);
    EXPECT_EQ(cdSTREAM_CLOSE_ERROR, e);
    std::string data;
    EXPECT_EQ(cdSTREAM_READ_ERROR, Read(&data, 4));
    EXPECT_EQ(0u, data.size()) << "nothing done";
    uint32_t done = 99;
    EXPECT_EQ(cdSTREAM_WRITE_ERROR, Write("abcd", &done));
    EXPECT_EQ(0u, done);
    uint32_t n = 4;
    char buffer[4];
    s.Read(0, buffer, &n, &e);
    EXPECT_EQ(cdSTREAM_READ_ERROR, e);
    n = 4;
    s.Write(0, buffer, &n, &e);
    EXPECT_EQ(cdSTREAM_WRITE_ERROR, e);
    // After a close the stream opens again.
    ASSERT_EQ(cdOK, Open(2));
    ASSERT_EQ(cdOK, Close());
    EXPECT_EQ(cdSTREAM_CLOSE_ERROR, Close());
    ASSERT_EQ(cdOK, Open(1));
    ASSERT_EQ(cdOK, Close());
}

TEST_F(FileStreamTest, SeekAndTell) {
    cdError e = 0xDEAD;
    s.Seek(0, 1, 0, &e);
    EXPECT_EQ(cdSTREAM_SEEK_ERROR, e);
    EXPECT_EQ(0u, s.Tell(0, &e));
    EXPECT_EQ(cdSTREAM_TELL_ERROR, e);
    EXPECT_EQ(cdSTREAM_SEEK_ERROR, Seek(1, 0)) << "not open";
    e = 0xDEAD;
    EXPECT_EQ(0u, s.Tell(s.context, &e));
    EXPECT_EQ(cdSTREAM_SEEK_ERROR, e) << "a failing tell reports a seek error";

    ASSERT_EQ(cdOK, Open(3));
    ASSERT_EQ(cdOK, Write("0123456789"));
    EXPECT_EQ(10u, s.Tell(s.context, &e));
    EXPECT_EQ(cdOK, e);
    ASSERT_EQ(cdOK, Seek(1, 2));
    EXPECT_EQ(2u, s.Tell(s.context, &e));
    ASSERT_EQ(cdOK, Seek(2, 3));
    EXPECT_EQ(5u, s.Tell(s.context, &e));
    ASSERT_EQ(cdOK, Seek(3, -4));
    EXPECT_EQ(6u, s.Tell(s.context, &e));
    std::string data;
    ASSERT_EQ(cdOK, Read(&data, 4));
    EXPECT_EQ("6789", data);
    for (uint16_t bad : {0, 4, 0xFFFF}) EXPECT_EQ(cdSTREAM_BAD_OPTIONS, Seek(bad, 0)) << bad;
    EXPECT_EQ(cdSTREAM_SEEK_ERROR, Seek(1, -1)) << "before the start";
    EXPECT_EQ(10u, s.Tell(s.context, nullptr));
    ASSERT_EQ(cdOK, Close());
}

TEST_F(FileStreamTest, ReleasingClosesAFileTheSdkLeftOpen) {
    ASSERT_EQ(cdOK, Open(2));
    ASSERT_EQ(cdOK, Write("partial"));
    ReleaseFileStream(&s);
    EXPECT_EQ(0u, s.context);
    HANDLE exclusive = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, exclusive) << "no handle is left behind";
    if (exclusive != INVALID_HANDLE_VALUE) CloseHandle(exclusive);
    EXPECT_EQ("partial", ReadFileBytes(path));
}

}  // namespace
