#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "camera/memory_stream.h"
#include "tests/camera/stream_cases.h"

namespace {

bool g_allocationFails = false;

void* TestAllocate(size_t size) { return g_allocationFails ? nullptr : std::malloc(size); }

TEST(MemoryStream, EveryErrorOfEveryOperation) {
    RunStreamCases(&StreamCase::memory, [](cdStream* s) { ASSERT_TRUE(BuildMemoryStream(s, 8)); }, ReleaseMemoryStream);
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
    EXPECT_FALSE(BuildMemoryStream(&other, 10, TestAllocate));
    EXPECT_FALSE(other.context);
    EXPECT_FALSE(other.Write);
    g_allocationFails = false;
    char copy[16];
    ASSERT_TRUE(CopyOutMemoryStream(&s, copy, 16));
    EXPECT_EQ(0, std::memcmp(copy, "abcdefgh\0\0\0\0\0\0" "12", 16));
    EXPECT_FALSE(CopyOutMemoryStream(&s, copy, 17));
    EXPECT_FALSE(CopyOutMemoryStream(&s, nullptr, 4));
    ReleaseMemoryStream(&s);
    EXPECT_FALSE(s.context);
    EXPECT_FALSE(s.Tell);
}

}  // namespace
