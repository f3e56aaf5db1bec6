// Driving a caller's stream descriptor, and the recorders behind the test interface.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "simulator/fault_table.h"
#include "simulator/stream_transfer.h"
#include "simulator/violation_ledger.h"

using namespace sim;

namespace {

// A memory stream that keeps a journal and answers one chosen call with an error.
struct FakeStream {
    std::vector<uint8_t> data;
    uint32_t position = 0;
    bool open = false;
    std::vector<std::string> journal;
    std::string failOp;
    int failNth = 0;
    cdError failCode = 0;
    int seen = 0;
    bool shortWrites = false;
    bool lieAboutPosition = false;

    bool Fails(const std::string& op, cdError* err) {
        journal.push_back(op);
        if (op != failOp || ++seen != failNth) return false;
        *err = failCode;
        return true;
    }
};

FakeStream& Of(cdContext c) { return *reinterpret_cast<FakeStream*>(c); }

void CDAPI Open(cdContext c, uint16_t mode, cdError* err) {
    *err = 0;
    if (Of(c).Fails("Open", err)) return;
    Of(c).journal.back() += " " + std::to_string(mode);
    Of(c).open = true;
}
void CDAPI Close(cdContext c, cdError* err) {
    *err = 0;
    if (!Of(c).Fails("Close", err)) Of(c).open = false;
}
void CDAPI Read(cdContext, void*, uint32_t*, cdError* err) { *err = cdSTREAM_PERMISSION_ERROR; }
void CDAPI Write(cdContext c, const void* buffer, uint32_t* size, cdError* err) {
    *err = 0;
    FakeStream& s = Of(c);
    if (s.Fails("Write", err)) return;
    s.journal.back() += " " + std::to_string(*size);
    if (s.shortWrites) *size /= 2;
    if (s.data.size() < s.position + *size) s.data.resize(s.position + *size);
    memcpy(s.data.data() + s.position, buffer, *size);
    s.position += *size;
}
void CDAPI Seek(cdContext c, uint16_t origin, int32_t offset, cdError* err) {
    *err = 0;
    FakeStream& s = Of(c);
    if (s.Fails("Seek", err)) return;
    s.journal.back() += " " + std::to_string(origin) + " " + std::to_string(offset);
    s.position = origin == cdSTREAM_SEEK_SET ? offset : static_cast<uint32_t>(s.data.size()) - offset;
}
uint32_t CDAPI Tell(cdContext c, cdError* err) {
    *err = 0;
    FakeStream& s = Of(c);
    if (s.Fails("Tell", err)) return 0;
    return s.position + (s.lieAboutPosition ? 1 : 0);
}

cdError CDAPI StopAtHalf(uint32_t progress, uint32_t, uint32_t, cdContext context) {
    reinterpret_cast<std::vector<uint32_t>*>(context)->push_back(progress);
    return progress >= 50 ? 0x99 : 0;
}

class TransferTest : public ::testing::Test {
protected:
    TransferTest() {
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 1);
        request.stream = {reinterpret_cast<cdContext>(&stream), Open, Close, Read, Write, Seek, Tell};
        request.bytes = &bytes;
        request.chunkSize = 1000;
    }
    cdError Run() { return RunTransfer(request, &problems); }

    std::vector<uint8_t> bytes = std::vector<uint8_t>(3000);
    FakeStream stream;
    TransferRequest request;
    std::vector<std::string> problems;
};

TEST_F(TransferTest, WritesAPlaceholderHeaderTheBodyInChunksThenTheHeaderAgain) {
    ASSERT_EQ(cdOK, Run());
    EXPECT_EQ(bytes, stream.data);
    EXPECT_EQ((std::vector<std::string>{"Open 2", "Tell", "Write 512", "Write 1000", "Write 1000", "Write 488", "Seek 1 0",
                                        "Write 512", "Seek 3 0", "Tell", "Close"}),
              stream.journal);
    EXPECT_FALSE(stream.open);
    EXPECT_TRUE(problems.empty());
}

TEST_F(TransferTest, SmallItemsAreOnlyHeader) {
    bytes.resize(10);
    ASSERT_EQ(cdOK, Run());
    EXPECT_EQ(bytes, stream.data);
    EXPECT_EQ((std::vector<std::string>{"Open 2", "Tell", "Write 10", "Seek 1 0", "Write 10", "Seek 3 0", "Tell", "Close"}),
              stream.journal);
}

TEST_F(TransferTest, EveryStreamErrorEndsTheTransferWithThatCodeAndStillCloses) {
    struct Case {
        const char* op;
        int nth;
        cdError code;
    };
    for (const Case& c : {Case{"Tell", 1, cdSTREAM_TELL_ERROR}, Case{"Write", 1, cdSTREAM_WRITE_ERROR},
                          Case{"Write", 3, cdSTREAM_PERMISSION_ERROR}, Case{"Seek", 1, cdSTREAM_SEEK_ERROR},
                          Case{"Write", 5, cdSTREAM_WRITE_ERROR}, Case{"Seek", 2, cdSTREAM_BAD_OPTIONS},
                          Case{"Tell", 2, cdSTREAM_TELL_ERROR}, Case{"Close", 1, cdSTREAM_CLOSE_ERROR}}) {
        stream = FakeStream();
        stream.failOp = c.op;
        stream.failNth = c.nth;
        stream.failCode = c.code;
        EXPECT_EQ(c.code, Run()) << c.op << " #" << c.nth;
        EXPECT_EQ("Close", stream.journal.back()) << c.op << " #" << c.nth;
        size_t failedAt = 0;
        int seen = 0;
        for (size_t i = 0; i < stream.journal.size(); ++i) {
            if (stream.journal[i].rfind(c.op, 0) == 0 && ++seen == c.nth) failedAt = i;
        }
        EXPECT_EQ(stream.journal.size() - 1, c.op == std::string("Close") ? failedAt : failedAt + 1)
            << "nothing but Close after the failure of " << c.op << " #" << c.nth;
    }
    EXPECT_TRUE(problems.empty());
}

TEST_F(TransferTest, AFailedOpenIsNotFollowedByAnything) {
    stream.failOp = "Open";
    stream.failNth = 1;
    stream.failCode = cdSTREAM_OPEN_ERROR;
    EXPECT_EQ(cdSTREAM_OPEN_ERROR, Run());
    EXPECT_EQ(std::vector<std::string>{"Open"}, stream.journal);
}

TEST_F(TransferTest, AStreamThatContradictsItselfIsRecorded) {
    stream.failOp = "Write";
    stream.failNth = 2;
    stream.failCode = cdSTREAM_NOT_OPEN;
    EXPECT_EQ(cdSTREAM_NOT_OPEN, Run());
    ASSERT_EQ(1u, problems.size());
    EXPECT_NE(std::string::npos, problems[0].find("Write answered 0xA1 (not open) after a successful Open"));

    stream = FakeStream();
    problems.clear();
    stream.shortWrites = true;
    EXPECT_EQ(cdSTREAM_WRITE_ERROR, Run()) << "a short write without an error is still a failed write";
    ASSERT_EQ(1u, problems.size());
    EXPECT_NE(std::string::npos, problems[0].find("took 256 of 512 bytes"));

    stream = FakeStream();
    problems.clear();
    stream.lieAboutPosition = true;
    EXPECT_EQ(cdOK, Run());
    EXPECT_EQ(2u, problems.size()) << "Tell wrong at the start and at the end";
}

TEST_F(TransferTest, AVanishedCameraOrAProgressAnswerStopsBetweenChunks) {
    int asked = 0;
    request.cameraAlive = [&] { return ++asked < 2; };
    EXPECT_EQ(cdDEVICE_NOT_FOUND, Run());
    EXPECT_EQ("Close", stream.journal.back());

    stream = FakeStream();
    request.cameraAlive = nullptr;
    request.progress = StopAtHalf;
    std::vector<uint32_t> seen;
    request.progressContext = reinterpret_cast<cdContext>(&seen);
    EXPECT_EQ(0x99u, Run());
    EXPECT_EQ((std::vector<uint32_t>{50}), seen) << "512 + 1000 of 3000 bytes";
}

TEST_F(TransferTest, DescriptorsWithoutAnOperationAreRefusedBeforeTouchingThem) {
    request.stream.Seek = nullptr;
    EXPECT_STREQ("Seek", MissingStreamOperation(request.stream));
    EXPECT_EQ(cdINVALID_POINTER, Run());
    EXPECT_TRUE(stream.journal.empty());
    request.stream = cdStream{};
    EXPECT_STREQ("Open", MissingStreamOperation(request.stream));
}

TEST(FaultTableTest, CountedFaultsRunOutAndPermanentOnesStay) {
    FaultTable faults;
    uint32_t status = 0;
    faults.Set("CDLockUI", 0x81, 2);
    faults.Set("CDUnlockUI", 0x80, -1);
    EXPECT_TRUE(faults.Take("CDLockUI", &status));
    EXPECT_EQ(0x81u, status);
    EXPECT_TRUE(faults.Take("CDLockUI", &status));
    EXPECT_FALSE(faults.Take("CDLockUI", &status));
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(faults.Take("CDUnlockUI", &status));
    faults.Set("CDUnlockUI", 0, 0);
    EXPECT_FALSE(faults.Take("CDUnlockUI", &status));
    faults.Set("CDRelease", 7, -1);
    faults.Clear();
    EXPECT_FALSE(faults.Take("CDRelease", &status));
}

TEST(ViolationLedgerTest, KeepsTheFirstLinesAndCountsTheRest) {
    ViolationLedger ledger;
    for (size_t i = 0; i < ViolationLedger::kCapacity + 10; ++i) ledger.Add("line " + std::to_string(i));
    ASSERT_EQ(ViolationLedger::kCapacity, ledger.Count());
    EXPECT_EQ("line 0", *ledger.Get(0));
    EXPECT_EQ("11 more violation(s) not recorded", *ledger.Get(ViolationLedger::kCapacity - 1));
    EXPECT_EQ(nullptr, ledger.Get(ViolationLedger::kCapacity));
    ledger.Clear();
    EXPECT_EQ(0u, ledger.Count());
}

}  // namespace
