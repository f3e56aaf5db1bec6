// Shots and the transfer of their data items through the caller's stream.
#include <algorithm>

#include "tests/simulator/sim_fixture.h"

namespace {

class ReleaseTest : public SimTest {
protected:
    void Open(const char* ini = nullptr) {
        if (ini) Configure(ini);
        StartSdk();
        Connect();
    }
    void TearDown() override {
        if (source_) DisconnectAndFinish();
        SimTest::TearDown();
    }
    uint32_t Shoot() {
        uint32_t n = 0;
        EXPECT_EQ(cdOK, sdk_.CDRelease(source_, 0, nullptr, 0, 1, &n));
        return n;
    }
    cdReleaseImageInfo Query() {
        cdReleaseImageInfo info = {};
        EXPECT_EQ(cdOK, sdk_.CDGetReleasedData(source_, nullptr, 0, 0, &info, nullptr));
        return info;
    }
    std::vector<uint8_t> Sent(uint32_t index) {
        std::vector<uint8_t> bytes(sim_.SimSentItemGet(index, nullptr, 0));
        sim_.SimSentItemGet(index, bytes.data(), static_cast<uint32_t>(bytes.size()));
        return bytes;
    }
};

cdError CDAPI RecordProgress(uint32_t percent, uint32_t, uint32_t, cdContext context) {
    reinterpret_cast<std::vector<uint32_t>*>(context)->push_back(percent);
    return 0;
}

uint8_t FormatByte(const cdReleaseImageInfo& info) { return reinterpret_cast<const uint8_t*>(&info)[8]; }
uint32_t SizeField(const cdReleaseImageInfo& info) {
    uint32_t size = 0;
    memcpy(&size, reinterpret_cast<const uint8_t*>(&info) + 9, 4);
    return size;
}

TEST_F(ReleaseTest, AShotOfTheCompactCameraGivesAJpegPictureAndThumbnail) {
    Open();
    ASSERT_EQ(2u, Shoot());
    cdReleaseImageInfo info = Query();
    EXPECT_EQ(0x20u, info.dataType);
    EXPECT_EQ(1, FormatByte(info));
    EXPECT_EQ(info.dataSize, SizeField(info)) << "size at offset 9";
    EXPECT_EQ(info.dataSize, Query().dataSize) << "asking again describes the same item";
    TestStream picture;
    ASSERT_EQ(cdOK, sdk_.CDGetReleasedData(source_, nullptr, 0, 3, &info, &picture.medium));
    cdReleaseImageInfo thumbInfo = Query();
    EXPECT_EQ(0x10u, thumbInfo.dataType);
    TestStream thumbnail;
    ASSERT_EQ(cdOK, sdk_.CDGetReleasedData(source_, nullptr, 0, 3, &thumbInfo, &thumbnail.medium));
    cdReleaseImageInfo none = {};
    EXPECT_NE(cdOK, sdk_.CDGetReleasedData(source_, nullptr, 0, 0, &none, nullptr)) << "both items fetched";

    ASSERT_EQ(2u, sim_.SimSentItemCount());
    EXPECT_EQ(picture.data, Sent(0)) << "byte-exact through the stream";
    EXPECT_EQ(thumbnail.data, Sent(1));
    ASSERT_GT(picture.data.size(), thumbnail.data.size());
    for (const std::vector<uint8_t>* jpeg : {&picture.data, &thumbnail.data}) {
        ASSERT_GT(jpeg->size(), 100u);
        EXPECT_EQ(0xFF, (*jpeg)[0]);
        EXPECT_EQ(0xD8, (*jpeg)[1]);
        EXPECT_EQ(0xD9, jpeg->back());
        EXPECT_EQ(std::string::npos, std::string(jpeg->begin(), jpeg->begin() + 64).find("KAMVIO-SIM"))
            << "a real picture, not a stand-in";
    }
    cdReleaseImageInfo sentInfo = {};
    ASSERT_EQ(1u, sim_.SimSentItemInfo(1, &sentInfo));
    EXPECT_EQ(0x10u, sentInfo.dataType);
    EXPECT_EQ(0u, sim_.SimSentItemInfo(2, &sentInfo));
}

TEST_F(ReleaseTest, TheTransferOpensWritesInChunksSeeksTellsAndCloses) {
    Open("[Simulator]\nChunkSize=1000\n[Camera1]\nItems=0x20:2:5000\n");
    ASSERT_EQ(1u, Shoot());
    cdReleaseImageInfo info = Query();
    EXPECT_EQ(5000u, info.dataSize);
    EXPECT_EQ(2, FormatByte(info));
    TestStream stream;
    ASSERT_EQ(cdOK, sdk_.CDGetReleasedData(source_, nullptr, 0, 3, &info, &stream.medium));
    EXPECT_EQ("Open 2", stream.ops.front());
    EXPECT_EQ("Close", stream.ops.back());
    EXPECT_EQ((std::vector<uint32_t>{512, 1000, 1000, 1000, 1000, 488, 512}), stream.writeSizes);
    EXPECT_NE(stream.ops.end(), std::find(stream.ops.begin(), stream.ops.end(), "Seek 1 0"));
    EXPECT_NE(stream.ops.end(), std::find(stream.ops.begin(), stream.ops.end(), "Seek 3 0"));
    EXPECT_NE(stream.ops.end(), std::find(stream.ops.begin(), stream.ops.end(), "Tell 5000"));
    EXPECT_FALSE(stream.open);
    ASSERT_EQ(5000u, stream.data.size());
    EXPECT_EQ(0, memcmp(stream.data.data(), "KAMVIO-SIM RAW KIND 32 FORMAT 2", 31)) << "recognisable raw header";
    EXPECT_EQ(stream.data, Sent(0));
    for (DWORD thread : stream.threads) EXPECT_EQ(GetCurrentThreadId(), thread) << "on the caller's thread";
}

TEST_F(ReleaseTest, EveryStreamErrorIsHonouredAndTheStreamStillClosed) {
    Open("[Camera1]\nItems=0x20:1:3000\n");
    struct Case {
        const char* op;
        int nth;
        cdError code;
        bool closes;
    };
    for (const Case& c : {Case{"Open", 1, cdSTREAM_OPEN_ERROR, false}, Case{"Open", 1, cdSTREAM_ALREADY_OPEN, false},
                          Case{"Write", 1, cdSTREAM_WRITE_ERROR, true}, Case{"Write", 2, cdSTREAM_PERMISSION_ERROR, true},
                          Case{"Seek", 1, cdSTREAM_SEEK_ERROR, true}, Case{"Seek", 2, cdSTREAM_BAD_OPTIONS, true},
                          Case{"Tell", 1, cdSTREAM_TELL_ERROR, true}, Case{"Close", 1, cdSTREAM_CLOSE_ERROR, true}}) {
        Shoot();
        cdReleaseImageInfo info = Query();
        TestStream stream;
        stream.FailOn(c.op, c.nth, c.code);
        EXPECT_EQ(c.code, sdk_.CDGetReleasedData(source_, nullptr, 0, 3, &info, &stream.medium)) << c.op;
        EXPECT_EQ(c.closes, stream.ops.back() == "Close") << c.op << " #" << c.nth;
        EXPECT_EQ(1, std::count(stream.ops.begin(), stream.ops.end(), "Open 2")) << c.op << ": opened once, not again";
    }
    EXPECT_EQ(0u, sim_.SimSentItemCount()) << "failed transfers send nothing";
    EXPECT_EQ(0u, Setting("PendingItems")) << "each attempt used its item up";
    EXPECT_TRUE(Violations().empty()) << Violations()[0];
}

TEST_F(ReleaseTest, ItemsOfSeveralShotsWaitInOrderAndEventsReportTheCount) {
    Open("[Camera1]\nItems=0x20:1:100,0x10:1:50,0x50:1:70\n");
    Shoot();
    Shoot();
    EXPECT_EQ(6u, Setting("PendingItems"));
    EXPECT_EQ(2u, Setting("Shots"));
    std::vector<uint32_t> kinds, sequence;
    for (int i = 0; i < 6; ++i) {
        cdReleaseImageInfo info = Query();
        TestStream stream;
        ASSERT_EQ(cdOK, sdk_.CDGetReleasedData(source_, nullptr, 0, 3, &info, &stream.medium));
        kinds.push_back(info.dataType);
        sequence.push_back(info.sequenceId);
    }
    EXPECT_EQ((std::vector<uint32_t>{0x20, 0x10, 0x50, 0x20, 0x10, 0x50}), kinds);
    for (size_t i = 1; i < sequence.size(); ++i) EXPECT_GT(sequence[i], sequence[i - 1]);
    for (uint32_t i = 0; i < 6; ++i) EXPECT_EQ(i % 3 == 0 ? 100u : i % 3 == 1 ? 50u : 70u, Sent(i).size());
}

TEST_F(ReleaseTest, OnlyTheNewestThirtyTwoSentItemsAreKept) {
    Open("[Camera1]\nItems=0x20:2:40\n");
    std::vector<std::vector<uint8_t>> all;
    for (int i = 0; i < 35; ++i) {
        Shoot();
        cdReleaseImageInfo info = Query();
        TestStream stream;
        ASSERT_EQ(cdOK, sdk_.CDGetReleasedData(source_, nullptr, 0, 3, &info, &stream.medium));
        all.push_back(stream.data);
    }
    ASSERT_EQ(32u, sim_.SimSentItemCount());
    EXPECT_EQ(all[3], Sent(0));
    EXPECT_EQ(all[34], Sent(31));
    uint8_t part[8] = {};
    EXPECT_EQ(40u, sim_.SimSentItemGet(31, part, sizeof part)) << "returns the size, copies what fits";
    EXPECT_EQ(0, memcmp(part, all[34].data(), 8));
    EXPECT_EQ(0u, sim_.SimSentItemGet(32, part, sizeof part));
}

TEST_F(ReleaseTest, PicturesShowTheSettingsOfTheirMoment) {
    Open("[Camera1]\nPictureWidth=320\nPictureHeight=240\nItems=0x20:1:0\n");
    Shoot();
    ASSERT_EQ(cdOK, sdk_.CDSetWBSetting(source_, 3));
    Shoot();
    std::vector<uint8_t> first, second;
    for (std::vector<uint8_t>* bytes : {&first, &second}) {
        cdReleaseImageInfo info = Query();
        TestStream stream;
        ASSERT_EQ(cdOK, sdk_.CDGetReleasedData(source_, nullptr, 0, 3, &info, &stream.medium));
        *bytes = stream.data;
    }
    EXPECT_NE(first, second);
}

TEST_F(ReleaseTest, AProgressCallbackHearsOfTheShot) {
    Open();
    std::vector<uint32_t> progress;
    uint32_t n = 0;
    ASSERT_EQ(cdOK, sdk_.CDRelease(source_, 0, RecordProgress, reinterpret_cast<cdContext>(&progress), 1, &n));
    EXPECT_EQ(std::vector<uint32_t>{100}, progress);
}

TEST_F(ReleaseTest, AMissingStreamOperationIsRefusedAndRecorded) {
    Open();
    Shoot();
    cdReleaseImageInfo info = Query();
    TestStream stream;
    stream.descriptor.Tell = nullptr;
    EXPECT_EQ(cdINVALID_POINTER, sdk_.CDGetReleasedData(source_, nullptr, 0, 3, &info, &stream.medium));
    EXPECT_TRUE(stream.ops.empty());
    EXPECT_TRUE(Reported("CDGetReleasedData: the stream descriptor has no Tell operation"));
    stream.medium.type = 2;
    EXPECT_EQ(cdINVALID_PARAMETER, sdk_.CDGetReleasedData(source_, nullptr, 0, 3, &info, &stream.medium));
    EXPECT_TRUE(Reported("the storage record is not a stream (type 2"));
    EXPECT_EQ(2u, Setting("PendingItems")) << "refused transfers keep their item";
}

TEST_F(ReleaseTest, LeavingReleaseControlDropsWhatWasNotFetched) {
    Open();
    Shoot();
    ASSERT_EQ(cdOK, sdk_.CDExitReleaseControl(source_));
    EXPECT_EQ(0u, Setting("PendingItems"));
    ASSERT_EQ(cdOK, sdk_.CDEnterReleaseControl(source_, nullptr, 0));
    cdReleaseImageInfo info = {};
    EXPECT_EQ(cdSEQUENCE_ERROR, sdk_.CDGetReleasedData(source_, nullptr, 0, 0, &info, nullptr));
    EXPECT_EQ(cdSEQUENCE_ERROR, sdk_.CDEnterReleaseControl(source_, nullptr, 0)) << "already inside";
}

}  // namespace
