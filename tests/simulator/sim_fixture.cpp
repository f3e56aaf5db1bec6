#include "tests/simulator/sim_fixture.h"

#include "tests/common/test_support.h"

HMODULE SimTest::module_ = nullptr;
SdkApi SimTest::sdk_;
SimApi SimTest::sim_;

namespace {

cdError CDAPI IgnoreEvent(uint32_t, const void*, uint32_t, cdContext) { return 0; }

}  // namespace

bool SdkApi::Load(HMODULE module) {
    bool all = true;
#define SDK_API_RESOLVE(name, params)                                                         \
    name = reinterpret_cast<PFN_##name>(reinterpret_cast<void*>(GetProcAddress(module, #name))); \
    all = all && name != nullptr;
    CDSDK_ENTRY_POINTS(SDK_API_RESOLVE)
#undef SDK_API_RESOLVE
    return all;
}

void SimTest::SetUpTestSuite() {
    if (module_) return;
    module_ = LoadLibraryA((test_support::ExeFolder() + "\\CDSDK.dll").c_str());
    ASSERT_NE(nullptr, module_);
    ASSERT_TRUE(sdk_.Load(module_));
    ASSERT_TRUE(sim_.Load(module_));
}

void SimTest::SetUp() {
    ASSERT_NE(nullptr, module_);
    EXPECT_EQ(1u, sim_.SimReset()) << "a previous test left the SDK started";
}

void SimTest::TearDown() { sim_.SimReset(); }

void SimTest::Configure(const char* ini) {
    if (sim_.SimLoadConfigText(ini) == 1) return;
    char error[512] = {};
    sim_.SimConfigError(error, sizeof error);
    ADD_FAILURE() << "configuration refused: " << error;
}

void SimTest::StartSdk() {
    cdVersionInfo version = {};
    version.size = sizeof version;
    version.major = 6;
    ASSERT_EQ(cdOK, sdk_.CDStartSDK(&version, 0));
}

SourceInfo SimTest::FirstSource(uint32_t index) {
    SourceInfo info = {};
    cdHEnum e = 0;
    EXPECT_EQ(cdOK, sdk_.CDEnumDeviceReset(1, &e));
    for (uint32_t i = 0; i <= index; ++i) EXPECT_EQ(cdOK, sdk_.CDEnumDeviceNext(e, &info));
    EXPECT_EQ(cdOK, sdk_.CDEnumDeviceRelease(e));
    return info;
}

void SimTest::Connect(uint32_t index) {
    SourceInfo info = FirstSource(index);
    ASSERT_EQ(cdOK, sdk_.CDOpenSource(&info, &source_));
    ASSERT_EQ(cdOK, sdk_.CDLockUI(source_));
    ASSERT_EQ(cdOK, sdk_.CDRegisterEventCallbackFunction(source_, IgnoreEvent, 0, &registration_));
    ASSERT_EQ(cdOK, sdk_.CDEnterReleaseControl(source_, IgnoreEvent, 0));
    ASSERT_EQ(cdOK, sdk_.CDUnlockUI(source_));
}

void SimTest::DisconnectAndFinish() {
    if (viewfinder_) {
        EXPECT_EQ(cdOK, sdk_.CDTermViewfinder(source_));
    }
    EXPECT_EQ(cdOK, sdk_.CDExitReleaseControl(source_));
    EXPECT_EQ(cdOK, sdk_.CDUnregisterEventCallbackFunction(source_, registration_));
    EXPECT_EQ(cdOK, sdk_.CDCloseSource(source_));
    EXPECT_EQ(cdOK, sdk_.CDFinishSDK());
    source_ = 0;
}

uint32_t SimTest::Setting(const char* key) {
    uint32_t value = 0xDEADBEEF;
    EXPECT_EQ(1u, sim_.SimGetSetting(key, &value)) << key;
    return value;
}

bool SimTest::Reported(const std::string& text) {
    for (const std::string& line : Violations()) {
        if (line.find(text) != std::string::npos) return true;
    }
    return false;
}

std::vector<std::string> SimTest::Violations() {
    std::vector<std::string> lines;
    for (uint32_t i = 0; i < sim_.SimViolationCount(); ++i) {
        char line[600] = {};
        sim_.SimViolationGet(i, line, sizeof line);
        lines.push_back(line);
    }
    return lines;
}

std::vector<SimCall> SimTest::Calls(const char* name) {
    std::vector<SimCall> calls;
    for (uint32_t i = 0; i < sim_.SimLogCount(); ++i) {
        SimCall call = {};
        sim_.SimLogGet(i, &call);
        if (!name || strcmp(call.name, name) == 0) calls.push_back(call);
    }
    return calls;
}

namespace {

TestStream* StreamOf(cdContext context) { return reinterpret_cast<TestStream*>(context); }

void CDAPI StreamOpen(cdContext context, uint16_t mode, cdError* err) {
    *err = 0;
    TestStream* s = StreamOf(context);
    if (s->Record("Open", "Open " + std::to_string(mode), err)) return;
    if (s->open) {
        *err = cdSTREAM_ALREADY_OPEN;
        return;
    }
    s->open = true;
    s->data.clear();
    s->position = 0;
}

void CDAPI StreamClose(cdContext context, cdError* err) {
    *err = 0;
    TestStream* s = StreamOf(context);
    if (s->Record("Close", "Close", err)) return;
    if (!s->open) *err = cdSTREAM_NOT_OPEN;
    s->open = false;
}

void CDAPI StreamRead(cdContext context, void*, uint32_t* size, cdError* err) {
    *err = 0;
    StreamOf(context)->Record("Read", "Read " + std::to_string(*size), err);
    *err = cdSTREAM_PERMISSION_ERROR;
}

void CDAPI StreamWrite(cdContext context, const void* buffer, uint32_t* size, cdError* err) {
    *err = 0;
    TestStream* s = StreamOf(context);
    s->writeSizes.push_back(*size);
    if (s->Record("Write", "Write " + std::to_string(*size), err)) {
        *size = 0;
        return;
    }
    if (!s->open) {
        *err = cdSTREAM_NOT_OPEN;
        return;
    }
    if (s->data.size() < s->position + *size) s->data.resize(s->position + *size);
    memcpy(s->data.data() + s->position, buffer, *size);
    s->position += *size;
}

void CDAPI StreamSeek(cdContext context, uint16_t origin, int32_t offset, cdError* err) {
    *err = 0;
    TestStream* s = StreamOf(context);
    if (s->Record("Seek", "Seek " + std::to_string(origin) + " " + std::to_string(offset), err)) return;
    int64_t base = origin == cdSTREAM_SEEK_SET ? 0 : origin == cdSTREAM_SEEK_CUR ? s->position : s->data.size();
    if (origin == cdSTREAM_SEEK_END) base -= offset;
    else base += offset;
    if (base < 0) *err = cdSTREAM_SEEK_ERROR;
    else s->position = static_cast<uint32_t>(base);
}

uint32_t CDAPI StreamTell(cdContext context, cdError* err) {
    *err = 0;
    TestStream* s = StreamOf(context);
    if (s->Record("Tell", "Tell " + std::to_string(s->position), err)) return 0;
    return s->position;
}

}  // namespace

TestStream::TestStream() {
    descriptor.context = reinterpret_cast<cdContext>(this);
    descriptor.Open = StreamOpen;
    descriptor.Close = StreamClose;
    descriptor.Read = StreamRead;
    descriptor.Write = StreamWrite;
    descriptor.Seek = StreamSeek;
    descriptor.Tell = StreamTell;
    medium.type = cdSTG_TYPE_STREAM;
    medium.stream = &descriptor;
}

void TestStream::FailOn(const char* op, int nth, cdError code) {
    failOp_ = op;
    failNth_ = nth;
    failCode_ = code;
    seen_ = 0;
}

bool TestStream::Record(const std::string& op, const std::string& text, cdError* err) {
    ops.push_back(text);
    threads.push_back(GetCurrentThreadId());
    if (op != failOp_ || ++seen_ != failNth_) return false;
    *err = failCode_;
    return true;
}
