#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "camera/memory_stream.h"
#include "tests/camera/stream_cases.h"

namespace {

bool g_allocationFails = false;

void* TestAllocate(size_t size) { return g_allocationFails ? nullptr : std::malloc(size); }

TEST(MemoryStream, EveryErrorOfEveryOperation) {
    using O = StreamOp;
    RunStreamCases(
        {
            {"open without context", 0, true, O::Open, 1, 0, cdSTREAM_OPEN_ERROR},
            {"open twice", 1, false, O::Open, 1, 0, cdSTREAM_ALREADY_OPEN},
            {"open mode 3", 0, false, O::Open, 3, 0, cdSTREAM_BAD_OPTIONS},
            {"close without context", 1, true, O::Close, 0, 0, cdSTREAM_CLOSE_ERROR},
            {"read without context", 1, true, O::Read, 4, 0, cdSTREAM_READ_ERROR},
            {"read closed", 0, false, O::Read, 4, 0, cdSTREAM_NOT_OPEN},
            {"read write-only", 2, false, O::Read, 4, 0, cdSTREAM_PERMISSION_ERROR},
            {"write without context", 2, true, O::Write, 4, 0, cdSTREAM_WRITE_ERROR},
            {"write closed", 0, false, O::Write, 4, 0, cdSTREAM_NOT_OPEN},
            {"write read-only", 1, false, O::Write, 4, 0, cdSTREAM_PERMISSION_ERROR},
            {"seek without context", 1, true, O::Seek, 1, 0, cdSTREAM_SEEK_ERROR},
            {"seek closed", 0, false, O::Seek, 1, 0, cdSTREAM_NOT_OPEN},
            {"seek origin 4", 1, false, O::Seek, 4, 0, cdSTREAM_BAD_OPTIONS},
            {"seek before the start", 1, false, O::Seek, 2, -1, cdSTREAM_SEEK_ERROR},
            {"tell without context", 1, true, O::Tell, 0, 0, cdSTREAM_TELL_ERROR},
            {"tell closed", 0, false, O::Tell, 0, 0, cdSTREAM_NOT_OPEN},
        },
        [](cdStream* s) { ASSERT_TRUE(BuildMemoryStream(s, 8)); }, ReleaseMemoryStream);
}

TEST(MemoryStream, GrowsToWhatIsNeededWithZerosAndKeepsWhatFits) {
    cdStream s{};
    ASSERT_TRUE(BuildMemoryStream(&s, 0, TestAllocate));
    const MemoryStreamContext& c = *MemoryStreamState(&s);
    cdError e = cdOK;
    uint32_t n = 8;
    s.Open(s.context, 4, &e);
    s.Write(s.context, "abcdefgh", &n, &e);
    EXPECT_EQ(8u, c.capacity) << "exactly what the write needs";
    // Seeks past the capacity grow it with zeros; origin 3 counts back from the capacity.
    s.Seek(s.context, 1, 14, &e);
    s.Seek(s.context, 3, -2, &e);
    EXPECT_EQ(16u, s.Tell(s.context, &e));
    s.Seek(s.context, 2, -16, &e);
    n = 20;
    char out[20];
    s.Read(s.context, out, &n, &e);
    EXPECT_EQ(cdSTREAM_READ_ERROR, e);
    EXPECT_EQ(16u, n) << "what was there";
    EXPECT_EQ(0, std::memcmp(out, "abcdefgh\0\0\0\0\0\0\0\0", 16));
    // Growing fails: a seek is refused in place, a write fills what fits.
    g_allocationFails = true;
    s.Seek(s.context, 1, 100, &e);
    EXPECT_EQ(cdSTREAM_SEEK_ERROR, e);
    s.Seek(s.context, 1, 14, &e);
    n = 6;
    s.Write(s.context, "123456", &n, &e);
    EXPECT_EQ(cdSTREAM_WRITE_ERROR, e);
    EXPECT_EQ(2u, n);
    cdStream other{};
    EXPECT_FALSE(BuildMemoryStream(&other, 10, TestAllocate) || other.context || other.Write);
    g_allocationFails = false;
    s.Close(s.context, nullptr);  // a null error slot is tolerated
    s.Open(s.context, 1, nullptr);
    EXPECT_EQ(0u, s.Tell(s.context, &e)) << "opening rewinds";
    char copy[16];
    ASSERT_TRUE(CopyOutMemoryStream(&s, copy, 16));
    EXPECT_EQ(0, std::memcmp(copy, "abcdefgh\0\0\0\0\0\0" "12", 16));
    EXPECT_FALSE(CopyOutMemoryStream(&s, copy, 17) || CopyOutMemoryStream(&s, nullptr, 4));
    ReleaseMemoryStream(&s);
    EXPECT_FALSE(s.context || s.Tell || CopyOutMemoryStream(&s, copy, 4));
}

}  // namespace
