#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "camera/memory_stream.h"

namespace {

// Allocations left before the allocator starts failing (< 0: never fails).
int g_allocationsLeft = -1;

void* LimitedAllocate(size_t size) {
    if (g_allocationsLeft == 0) return nullptr;
    if (g_allocationsLeft > 0) --g_allocationsLeft;
    return std::malloc(size);
}

class MemoryStreamTest : public ::testing::Test {
protected:
    void TearDown() override {
        ReleaseMemoryStream(&s);
        g_allocationsLeft = -1;
    }
    void Build(uint32_t capacity) { ASSERT_TRUE(BuildMemoryStream(&s, capacity, LimitedAllocate)); }
    cdError Open(uint16_t mode) {
        cdError e = 0xDEAD;
        s.Open(s.context, mode, &e);
        return e;
    }
    cdError Write(const void* data, uint32_t* size) {
        cdError e = 0xDEAD;
        s.Write(s.context, data, size, &e);
        return e;
    }
    cdError Read(void* data, uint32_t* size) {
        cdError e = 0xDEAD;
        s.Read(s.context, data, size, &e);
        return e;
    }
    cdError Seek(uint16_t origin, int32_t offset) {
        cdError e = 0xDEAD;
        s.Seek(s.context, origin, offset, &e);
        return e;
    }
    uint32_t Tell(cdError* e) { return s.Tell(s.context, e); }
    const MemoryStreamContext& C() { return *MemoryStreamState(&s); }

    cdStream s{};
};

TEST_F(MemoryStreamTest, BuildGivesAClosedStreamWithItsCapacity) {
    Build(100);
    EXPECT_EQ(0, C().state);
    EXPECT_EQ(0u, C().position);
    EXPECT_EQ(0u, C().end);
    EXPECT_EQ(100u, C().capacity);
    EXPECT_NE(nullptr, C().buffer);
    for (auto op : {(void*)s.Open, (void*)s.Close, (void*)s.Read, (void*)s.Write, (void*)s.Seek, (void*)s.Tell})
        EXPECT_NE(nullptr, op);
    ReleaseMemoryStream(&s);
    EXPECT_EQ(0u, s.context);
    EXPECT_EQ(nullptr, s.Open);
    EXPECT_EQ(nullptr, s.Tell);
    EXPECT_EQ(nullptr, MemoryStreamState(&s));

    Build(0);
    EXPECT_EQ(nullptr, C().buffer) << "capacity 0 has no buffer";
}

TEST_F(MemoryStreamTest, BuildFailsCleanlyWhenAnAllocationFails) {
    g_allocationsLeft = 0;  // the context
    EXPECT_FALSE(BuildMemoryStream(&s, 10, LimitedAllocate));
    EXPECT_EQ(0u, s.context);
    EXPECT_EQ(nullptr, s.Write);
    g_allocationsLeft = 1;  // the buffer
    EXPECT_FALSE(BuildMemoryStream(&s, 10, LimitedAllocate));
    EXPECT_EQ(0u, s.context);
    g_allocationsLeft = 0;  // capacity 0 needs only the context... which fails too
    EXPECT_FALSE(BuildMemoryStream(&s, 0, LimitedAllocate));
    EXPECT_FALSE(BuildMemoryStream(nullptr, 10));
}

TEST_F(MemoryStreamTest, OpenModesAndTheirErrors) {
    Build(8);
    cdError e = 0xDEAD;
    s.Open(0, 1, &e);
    EXPECT_EQ(cdSTREAM_OPEN_ERROR, e);
    for (uint16_t bad : {0, 3, 5, 8, 0xFFFF}) EXPECT_EQ(cdSTREAM_BAD_OPTIONS, Open(bad)) << bad;
    EXPECT_EQ(0, C().state) << "a refused mode leaves the stream closed";

    struct Case {
        uint16_t mode;
        uint8_t state;
    } cases[] = {{1, kMemoryStreamOpen | kMemoryStreamReadable},
                 {2, kMemoryStreamOpen | kMemoryStreamWritable},
                 {4, kMemoryStreamOpen | kMemoryStreamReadable | kMemoryStreamWritable}};
    for (const Case& c : cases) {
        ASSERT_EQ(cdOK, Open(c.mode));
        EXPECT_EQ(c.state, C().state);
        EXPECT_EQ(cdSTREAM_ALREADY_OPEN, Open(c.mode));
        e = 0xDEAD;
        s.Close(s.context, &e);
        EXPECT_EQ(cdOK, e);
        EXPECT_EQ(0, C().state);
    }
    s.Close(0, &e);
    EXPECT_EQ(cdSTREAM_CLOSE_ERROR, e);
}

TEST_F(MemoryStreamTest, OpenRewindsButKeepsTheData) {
    Build(4);
    ASSERT_EQ(cdOK, Open(2));
    uint32_t n = 4;
    ASSERT_EQ(cdOK, Write("abcd", &n));
    s.Close(s.context, nullptr);  // a null error slot is tolerated
    ASSERT_EQ(cdOK, Open(1));
    cdError e;
    EXPECT_EQ(0u, Tell(&e));
    char out[4];
    n = 4;
    ASSERT_EQ(cdOK, Read(out, &n));
    EXPECT_EQ(0, std::memcmp(out, "abcd", 4));
}

TEST_F(MemoryStreamTest, ReadAndWriteRefuseWithoutContextOpenOrPermission) {
    Build(8);
    char data[4] = {};
    uint32_t n = 4;
    cdError e = 0xDEAD;
    s.Read(0, data, &n, &e);
    EXPECT_EQ(cdSTREAM_READ_ERROR, e);
    n = 4;
    s.Write(0, data, &n, &e);
    EXPECT_EQ(cdSTREAM_WRITE_ERROR, e);

    n = 4;
    EXPECT_EQ(cdSTREAM_NOT_OPEN, Read(data, &n));
    n = 4;
    EXPECT_EQ(cdSTREAM_NOT_OPEN, Write(data, &n));

    ASSERT_EQ(cdOK, Open(1));
    n = 4;
    EXPECT_EQ(cdSTREAM_PERMISSION_ERROR, Write(data, &n));
    EXPECT_EQ(0u, C().end) << "nothing written";
    s.Close(s.context, &e);
    ASSERT_EQ(cdOK, Open(2));
    n = 4;
    EXPECT_EQ(cdSTREAM_PERMISSION_ERROR, Read(data, &n));
    // Null buffers with a size, or a null size, are errors, not crashes.
    n = 4;
    EXPECT_EQ(cdSTREAM_WRITE_ERROR, Write(nullptr, &n));
    EXPECT_EQ(cdSTREAM_WRITE_ERROR, Write(data, nullptr));
}

TEST_F(MemoryStreamTest, WriteWithinCapacityThenGrowsToExactlyWhatIsNeeded) {
    Build(4);
    ASSERT_EQ(cdOK, Open(4));
    uint32_t n = 3;
    ASSERT_EQ(cdOK, Write("abc", &n));
    EXPECT_EQ(3u, n);
    EXPECT_EQ(3u, C().position);
    EXPECT_EQ(3u, C().end);
    EXPECT_EQ(4u, C().capacity);
    n = 5;
    ASSERT_EQ(cdOK, Write("defgh", &n));
    EXPECT_EQ(5u, n);
    EXPECT_EQ(8u, C().capacity) << "position + size";
    EXPECT_EQ(8u, C().position);
    EXPECT_EQ(8u, C().end);
    EXPECT_EQ(0, std::memcmp(C().buffer, "abcdefgh", 8));

    // Overwriting inside leaves end where it was.
    ASSERT_EQ(cdOK, Seek(1, 2));
    n = 2;
    ASSERT_EQ(cdOK, Write("XY", &n));
    EXPECT_EQ(8u, C().end);
    EXPECT_EQ(0, std::memcmp(C().buffer, "abXYefgh", 8));

    // A stream built empty collects everything by growing.
    ReleaseMemoryStream(&s);
    Build(0);
    ASSERT_EQ(cdOK, Open(2));
    n = 3;
    ASSERT_EQ(cdOK, Write("xyz", &n));
    EXPECT_EQ(3u, C().capacity);
    char out[3];
    EXPECT_TRUE(CopyOutMemoryStream(&s, out, 3));
    EXPECT_EQ(0, std::memcmp(out, "xyz", 3));
}

TEST_F(MemoryStreamTest, WriteFillsWhatFitsWhenGrowingFails) {
    Build(4);
    ASSERT_EQ(cdOK, Open(2));
    uint32_t n = 1;
    ASSERT_EQ(cdOK, Write("a", &n));
    g_allocationsLeft = 0;
    n = 6;
    EXPECT_EQ(cdSTREAM_WRITE_ERROR, Write("bcdefg", &n));
    EXPECT_EQ(3u, n) << "only the room left was written";
    EXPECT_EQ(4u, C().position);
    EXPECT_EQ(4u, C().end);
    EXPECT_EQ(4u, C().capacity);
    EXPECT_EQ(0, std::memcmp(C().buffer, "abcd", 4));
}

TEST_F(MemoryStreamTest, ReadPastTheEndGivesWhatIsLeft) {
    Build(10);
    ASSERT_EQ(cdOK, Open(4));
    uint32_t n = 6;
    ASSERT_EQ(cdOK, Write("123456", &n));
    ASSERT_EQ(cdOK, Seek(1, 2));
    char out[10] = {};
    n = 3;
    ASSERT_EQ(cdOK, Read(out, &n));
    EXPECT_EQ(0, std::memcmp(out, "345", 3));
    n = 5;
    EXPECT_EQ(cdSTREAM_READ_ERROR, Read(out, &n));
    EXPECT_EQ(1u, n);
    EXPECT_EQ('6', out[0]);
    EXPECT_EQ(6u, C().position) << "at the end";
    n = 1;
    EXPECT_EQ(cdSTREAM_READ_ERROR, Read(out, &n));
    EXPECT_EQ(0u, n);
}

TEST_F(MemoryStreamTest, SeekOriginsAndErrors) {
    Build(10);
    cdError e = 0xDEAD;
    s.Seek(0, 1, 0, &e);
    EXPECT_EQ(cdSTREAM_SEEK_ERROR, e);
    EXPECT_EQ(cdSTREAM_NOT_OPEN, Seek(1, 0));
    ASSERT_EQ(cdOK, Open(4));
    ASSERT_EQ(cdOK, Seek(1, 4));
    EXPECT_EQ(4u, Tell(&e));
    EXPECT_EQ(cdOK, e);
    EXPECT_EQ(4u, C().end) << "end follows a seek past it";
    ASSERT_EQ(cdOK, Seek(2, 3));
    EXPECT_EQ(7u, C().position);
    ASSERT_EQ(cdOK, Seek(2, -5));
    EXPECT_EQ(2u, C().position);
    EXPECT_EQ(7u, C().end) << "end never moves back";
    ASSERT_EQ(cdOK, Seek(3, 1));
    EXPECT_EQ(9u, C().position) << "origin 3 counts back from the capacity";
    for (uint16_t bad : {0, 4, 0xFFFF}) EXPECT_EQ(cdSTREAM_BAD_OPTIONS, Seek(bad, 0)) << bad;
    EXPECT_EQ(cdSTREAM_SEEK_ERROR, Seek(1, -1)) << "before the start";
    EXPECT_EQ(cdSTREAM_SEEK_ERROR, Seek(2, -100));
    EXPECT_EQ(9u, C().position) << "a refused seek leaves the position";
}

TEST_F(MemoryStreamTest, SeekPastTheCapacityGrowsWithZeros) {
    Build(4);
    ASSERT_EQ(cdOK, Open(4));
    uint32_t n = 4;
    ASSERT_EQ(cdOK, Write("abcd", &n));
    ASSERT_EQ(cdOK, Seek(1, 14));
    EXPECT_EQ(14u, C().capacity);
    EXPECT_EQ(14u, C().position);
    EXPECT_EQ(14u, C().end);
    ASSERT_EQ(cdOK, Seek(1, 0));
    char out[14];
    std::memset(out, 0x55, sizeof out);
    n = 14;
    ASSERT_EQ(cdOK, Read(out, &n));
    EXPECT_EQ(0, std::memcmp(out, "abcd", 4));
    for (int i = 4; i < 14; ++i) EXPECT_EQ(0, out[i]) << i;

    // Origin 3 with a negative offset also reaches past the capacity.
    ASSERT_EQ(cdOK, Seek(3, -2));
    EXPECT_EQ(16u, C().capacity);

    g_allocationsLeft = 0;
    EXPECT_EQ(cdSTREAM_SEEK_ERROR, Seek(1, 100));
    EXPECT_EQ(16u, C().capacity);
    EXPECT_EQ(16u, C().position);
}

TEST_F(MemoryStreamTest, TellErrors) {
    Build(4);
    cdError e = 0xDEAD;
    EXPECT_EQ(0u, s.Tell(0, &e));
    EXPECT_EQ(cdSTREAM_TELL_ERROR, e);
    e = 0xDEAD;
    EXPECT_EQ(0u, Tell(&e));
    EXPECT_EQ(cdSTREAM_NOT_OPEN, e);
    ASSERT_EQ(cdOK, Open(1));
    ASSERT_EQ(cdOK, Seek(1, 3));
    EXPECT_EQ(3u, Tell(&e));
    EXPECT_EQ(cdOK, e);
    EXPECT_EQ(3u, s.Tell(s.context, nullptr));
}

TEST_F(MemoryStreamTest, CopyOutRefusesWhatItCannotServe) {
    Build(4);
    ASSERT_EQ(cdOK, Open(2));
    uint32_t n = 4;
    ASSERT_EQ(cdOK, Write("wxyz", &n));
    char out[8] = {};
    EXPECT_FALSE(CopyOutMemoryStream(&s, nullptr, 4));
    EXPECT_FALSE(CopyOutMemoryStream(&s, out, 0));
    EXPECT_FALSE(CopyOutMemoryStream(&s, out, 5)) << "more than the buffer holds";
    EXPECT_FALSE(CopyOutMemoryStream(nullptr, out, 4));
    EXPECT_TRUE(CopyOutMemoryStream(&s, out, 2));
    EXPECT_EQ(0, std::memcmp(out, "wx", 2));
    ReleaseMemoryStream(&s);
    EXPECT_FALSE(CopyOutMemoryStream(&s, out, 4));
    Build(0);
    EXPECT_FALSE(CopyOutMemoryStream(&s, out, 1)) << "no buffer";
}

}  // namespace
