#include "tests/common/test_support.h"
#include "tests/simulator/sim_fixture.h"

namespace {

cdError CDAPI CountFrame(const void* frame, uint32_t size, uint32_t format, cdContext context) {
    ++*reinterpret_cast<volatile LONG*>(context);
    return 0;
}

TEST_F(SimTest, SmokeConnectViewReleaseTransferDisconnect) {
    StartSdk();
    Connect();
    LONG frames = 0;
    ASSERT_EQ(cdOK, sdk_.CDStartViewfinder(source_, 1, CountFrame, reinterpret_cast<cdContext>(&frames)));
    viewfinder_ = true;
    EXPECT_TRUE(test_support::PumpUntil([&] { return frames >= 3; }, 5000));
    ASSERT_EQ(cdOK, sdk_.CDTermViewfinder(source_));
    viewfinder_ = false;
    uint32_t n = 0;
    ASSERT_EQ(cdOK, sdk_.CDRelease(source_, 0, nullptr, 0, 1, &n));
    ASSERT_EQ(2u, n);
    for (uint32_t i = 0; i < n; ++i) {
        cdReleaseImageInfo info = {};
        ASSERT_EQ(cdOK, sdk_.CDGetReleasedData(source_, nullptr, 0, 0, &info, nullptr));
        TestStream stream;
        ASSERT_EQ(cdOK, sdk_.CDGetReleasedData(source_, nullptr, 0, 3, &info, &stream.medium));
        ASSERT_EQ(info.dataSize, stream.data.size());
        EXPECT_EQ(0xFF, stream.data[0]);
        EXPECT_EQ(0xD8, stream.data[1]);
    }
    DisconnectAndFinish();
    EXPECT_TRUE(Violations().empty()) << Violations()[0];
}

}  // namespace
