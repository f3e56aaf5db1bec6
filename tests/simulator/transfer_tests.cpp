// Driving a caller's stream descriptor.
#include <gtest/gtest.h>

#include <algorithm>

#include "simulator/stream_transfer.h"
#include "tests/simulator/memory_stream.h"

using namespace sim;
using Journal = std::vector<std::string>;

namespace {

// What a stream sees of a 3000-byte item sent in writes of 1000 bytes.
const Journal kJournal = {"Open 2", "Tell 0",   "Write 512", "Write 1000", "Write 1000", "Write 488",
                          "Seek 1 0", "Write 512", "Seek 3 0", "Tell 3000",  "Close"};

cdError CDAPI StopAtHalf(uint32_t progress, uint32_t, uint32_t, cdContext) { return progress >= 50 ? 0x99 : 0; }

class TransferTest : public ::testing::Test {
protected:
    TransferTest() {
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 1);
        request.bytes = &bytes, request.chunkSize = 1000;
    }
    cdError Run(MemoryStream& stream) {
        request.stream = stream.descriptor;
        return RunTransfer(request, &problems);
    }
    std::vector<uint8_t> bytes = std::vector<uint8_t>(3000);
    TransferRequest request;
    std::vector<std::string> problems;
};

TEST_F(TransferTest, APlaceholderHeaderTheBodyInChunksThenTheRealHeaderAndOnlyCloseAfterAnError) {
    // Which call fails (counted in the journal above; none of 12), and how.
    const std::pair<size_t, cdError> cases[] = {
        {12, cdOK}, {1, cdSTREAM_OPEN_ERROR}, {2, cdSTREAM_TELL_ERROR}, {3, cdSTREAM_WRITE_ERROR},
        {5, cdSTREAM_PERMISSION_ERROR}, {7, cdSTREAM_SEEK_ERROR}, {8, cdSTREAM_WRITE_ERROR},
        {9, cdSTREAM_BAD_OPTIONS}, {10, cdSTREAM_TELL_ERROR}, {11, cdSTREAM_CLOSE_ERROR}};
    for (const auto& [calls, code] : cases) {
        const std::string op = code ? kJournal[calls - 1].substr(0, kJournal[calls - 1].find(' ')) : "";
        SCOPED_TRACE(calls);
        MemoryStream stream;
        stream.failOp = op, stream.failCode = code;
        const auto upTo = kJournal.begin() + std::min(calls, kJournal.size());
        stream.failNth = static_cast<int>(
            std::count_if(kJournal.begin(), upTo, [&](const std::string& call) { return call.rfind(op, 0) == 0; }));
        EXPECT_EQ(code, Run(stream));
        Journal expected(kJournal.begin(), upTo);
        if (calls > 1 && calls < kJournal.size()) expected.push_back("Close");  // after a successful Open, always
        EXPECT_EQ(expected, stream.journal);
        if (!code) { EXPECT_EQ(bytes, stream.data); }
    }
    MemoryStream small;
    bytes.resize(10);
    ASSERT_EQ(cdOK, Run(small));
    EXPECT_EQ(bytes, small.data);
    EXPECT_EQ((Journal{"Open 2", "Tell 0", "Write 10", "Seek 1 0", "Write 10", "Seek 3 0", "Tell 10", "Close"}),
              small.journal);
    EXPECT_TRUE(problems.empty());
}

TEST_F(TransferTest, StreamsThatContradictThemselvesOrLackAnOperationAndAProgressAnswer) {
    MemoryStream notOpen, shortWrites, lies, noSeek, stopped;
    notOpen.failOp = "Write", notOpen.failNth = 2, notOpen.failCode = cdSTREAM_NOT_OPEN;
    shortWrites.shortWrites = true;
    lies.lieAboutPosition = true;
    noSeek.descriptor.Seek = nullptr;
    EXPECT_EQ(cdSTREAM_NOT_OPEN, Run(notOpen));
    EXPECT_EQ(cdSTREAM_WRITE_ERROR, Run(shortWrites)) << "a short write without an error is a failed write";
    EXPECT_EQ(cdOK, Run(lies));
    EXPECT_EQ((Journal{"stream Write answered 0xA1 (not open) after a successful Open",
                       "stream Write took 256 of 512 bytes and reported no error",
                       "stream Tell gave 1 right after Open, expected 0",
                       "stream Tell gave 3001 at the end of 3000 bytes"}),
              problems);
    EXPECT_STREQ("Seek", MissingStreamOperation(noSeek.descriptor));
    EXPECT_STREQ("Open", MissingStreamOperation(cdStream{}));
    EXPECT_EQ(cdINVALID_POINTER, Run(noSeek));
    EXPECT_TRUE(noSeek.journal.empty()) << "refused before touching it";
    request.progress = StopAtHalf;
    EXPECT_EQ(0x99u, Run(stopped));
    EXPECT_EQ("Write 1000", stopped.journal.rbegin()[1]) << "at 50%, after 512 + 1000 of 3000 bytes, only Close";
}

}  // namespace
