// Shots, their items sent through the caller's stream, the record of sent items; live frames.
#include <algorithm>
#include <atomic>
#include <mutex>

#include "tests/simulator/sim_fixture.h"

namespace {

using ReleaseTest = SimTest;

TEST_F(ReleaseTest, ItemsWaitInOrderAreDescribedAndSentInChunksAndRecordedByteForByte) {
    Open("[Simulator]\nChunkSize=1000\n[Camera1]\nItems=0x20:2:5000,0x10:1:0\n");
    ASSERT_EQ(4u, Shoot() + Shoot());
    EXPECT_EQ(4u, Setting("PendingItems"));
    for (uint32_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        cdReleaseImageInfo info = {}, sent = {};
        ASSERT_EQ(i < 4 ? cdOK : cdSEQUENCE_ERROR, sdk_.CDGetReleasedData(source_, nullptr, 0, 0, &info, nullptr));
        if (i == 4) break;  // no item waits
        const uint8_t* record = reinterpret_cast<const uint8_t*>(&info);
        uint32_t size = 0;
        memcpy(&size, record + 9, 4);
        EXPECT_EQ(i % 2 ? 0x1001 : 0x2002, record[4] << 8 | record[8]) << "kind at 4, format at 8";
        MemoryStream stream;
        ASSERT_EQ(cdOK, sdk_.CDGetReleasedData(source_, nullptr, 0, 3, &info, &stream.medium));
        ASSERT_EQ(size, stream.data.size()) << "size at 9";
        std::vector<uint8_t> recorded(sim_.SimSentItemGet(i, nullptr, 0));
        sim_.SimSentItemGet(i, recorded.data(), size);
        EXPECT_EQ(stream.data, recorded);
        EXPECT_TRUE(sim_.SimSentItemInfo(i, &sent));
        EXPECT_EQ(record[4], sent.dataType);
        const std::string head(stream.data.begin(), stream.data.begin() + 31);
        const std::string tail(stream.data.end() - 2, stream.data.end());
        if (i % 2) {
            EXPECT_EQ("\xFF\xD8\xFF\xD9", head.substr(0, 2) + tail);
            EXPECT_EQ(std::string::npos, head.find("KAMVIO-SIM")) << "a real picture";
        } else {
            EXPECT_EQ("KAMVIO-SIM RAW KIND 32 FORMAT 2", head);
            EXPECT_EQ(4, std::count(stream.journal.begin(), stream.journal.end(), "Write 1000"));
            EXPECT_EQ("Write 488", stream.journal[7]);
        }
    }
}

TEST_F(ReleaseTest, AFailedTransferUsesItsItemUpAndLeavingReleaseControlDropsTheRest) {
    Open("[Camera1]\nItems=0x20:2:40\n");
    ASSERT_EQ(2u, Shoot() + Shoot());
    cdReleaseImageInfo info = {};
    MemoryStream refused, failing;
    refused.medium.type = 2;
    failing.failOp = "Seek", failing.failCode = cdSTREAM_SEEK_ERROR;
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDGetReleasedData(source_, nullptr, 0, 3, &info, &refused.medium));
    EXPECT_EQ(cdSTREAM_SEEK_ERROR, sdk_.CDGetReleasedData(source_, nullptr, 0, 3, &info, &failing.medium));
    EXPECT_EQ("CDGetReleasedData: the storage record is not a stream (type 2", Violations().at(0).substr(0, 61));
    EXPECT_EQ(1u, Setting("PendingItems")) << "the refused transfer kept its item, the failed one not";
    EXPECT_EQ(0u, sim_.SimSentItemCount());
    ASSERT_EQ(cdOK, sdk_.CDExitReleaseControl(source_));
    EXPECT_EQ(0u, Setting("PendingItems")) << "dropped when leaving";
}

struct FrameLog {
    std::mutex lock;
    std::vector<std::pair<const uint8_t*, std::vector<uint8_t>>> frames;  // where each was, and what
    std::vector<DWORD> threads;
    std::atomic<int> count{0}, overwritten{0};  // frames changed by the third frame after them
};

cdError CDAPI OnFrame(const void* frame, uint32_t size, uint32_t format, cdContext context) {
    FrameLog& log = *reinterpret_cast<FrameLog*>(context);
    std::lock_guard<std::mutex> guard(log.lock);
    if (log.frames.size() >= 3) {
        const auto& earlier = log.frames[log.frames.size() - 3];
        if (memcmp(earlier.first, earlier.second.data(), earlier.second.size())) ++log.overwritten;
    }
    const uint8_t* bytes = static_cast<const uint8_t*>(frame);
    log.frames.emplace_back(bytes, std::vector<uint8_t>(bytes, bytes + (format == 1 ? size : 0)));
    log.threads.push_back(GetCurrentThreadId());
    ++log.count;
    return 0;
}

class ViewfinderTest : public SimTest {
protected:
    cdError Start(uint32_t format = 1) {
        return sdk_.CDStartViewfinder(source_, format, OnFrame, reinterpret_cast<cdContext>(&log_));
    }
    FrameLog log_;
};

TEST_F(ViewfinderTest, FramesAreBmpFilesFromOneThreadInARingThatOutlivesTheViewfinder) {
    Open("[Camera1]\nCapability=0\n");
    EXPECT_EQ(cdNOT_SUPPORTED, Start());
    DisconnectAndFinish();
    Open("[Camera1]\nCapability=4\nViewWidth=81\nViewHeight=61\nViewFps=50\n");
    EXPECT_EQ(cdINVALID_PARAMETER, Start(2));
    EXPECT_EQ(cdINVALID_POINTER, sdk_.CDStartViewfinder(source_, 1, nullptr, 0));
    ASSERT_EQ(cdOK, Start());
    EXPECT_EQ(cdSEQUENCE_ERROR, Start()) << "already running";
    ASSERT_TRUE(test_support::PumpUntil([&] { return log_.count >= 8; }, 10000));
    EXPECT_EQ(cdOK, sdk_.CDTermViewfinder(source_));
    EXPECT_EQ(cdOK, sdk_.CDTermViewfinder(source_)) << "stopping a stopped viewfinder is harmless";
    std::lock_guard<std::mutex> guard(log_.lock);
    const std::vector<uint8_t>& frame = log_.frames[0].second;
    ASSERT_EQ(54 + 244 * 61u, frame.size()) << "format 1, rows of 81 * 3 bytes padded to 244";
    uint32_t size[2];
    memcpy(size, frame.data() + 18, sizeof size);
    EXPECT_EQ("BM", std::string(frame.begin(), frame.begin() + 2));
    EXPECT_EQ((std::vector<uint32_t>{81, 61}), std::vector<uint32_t>(size, size + 2));
    EXPECT_NE(frame, log_.frames[1].second) << "a live scene";
    EXPECT_NE(log_.frames[0].first, log_.frames[1].first) << "a ring of buffers, not one";
    EXPECT_EQ(std::vector<DWORD>(log_.threads.size(), log_.threads[0]), log_.threads) << "one thread";
    EXPECT_NE(GetCurrentThreadId(), log_.threads[0]);
    EXPECT_EQ(0, log_.overwritten.load());
    EXPECT_GE(sim_.SimFramesDelivered(), 8u);
    EXPECT_EQ('B', log_.frames[0].first[0]) << "an old frame address still points at a frame";
}

}  // namespace
