// The interface methods by vtable and by IDispatch: the modeless dialog's life and the rules of
// the forwarding methods, against the simulated camera.
#include <gtest/gtest.h>

#include <cstring>

#include "sdk/cdsdk_contract.h"
#include "tests/common/test_support.h"
#include "tests/component/kamvio_library.h"

using namespace kamvio_test;

namespace {

class InterfaceTest : public ::testing::TestWithParam<Path> {
protected:
    void SetUp() override {
        object_ = CreateComponent();
        ASSERT_TRUE(object_);
        folder_ = test_support::ExeFolder() + "\\component_images";
        CreateDirectoryA(folder_.c_str(), nullptr);
        para_ = host_.Para(folder_.c_str());
    }
    void TearDown() override {
        if (object_) Call(4, {LongPtr(nullptr)});  // DestroyKamvioDlg
        test_support::TakeMessageBoxes();
    }

    HRESULT Call(DISPID id, const std::vector<Arg>& args) { return CallMethod(GetParam(), object_.get(), id, args); }
    HRESULT Init(KamvioPara* para, LONG* rect = nullptr) {
        return Call(2, {LongPtr(para), LongPtr(rect), Unknown(nullptr), LongPtr(nullptr)});
    }
    HRESULT Create() { return Call(3, {LongPtr(nullptr)}); }
    HRESULT Destroy() { return Call(4, {LongPtr(nullptr)}); }
    HRESULT DeviceCount(ULONG* count) { return Call(5, {ULongPtr(count), LongPtr(nullptr)}); }
    HRESULT Sources(ULONG count, SourceInfo* records) {
        return Call(6, {ULong(count), LongPtr(records), LongPtr(nullptr)});
    }
    HRESULT Connected(LONG* flag) { return Call(19, {LongPtr(flag), LongPtr(nullptr)}); }
    // A window with the controls, its sources listed, connected to the first camera.
    void OpenSession(SourceInfo* first) {
        ASSERT_EQ(S_OK, Init(&para_));
        ASSERT_EQ(S_OK, Create());
        ULONG count = 0;
        ASSERT_EQ(S_OK, DeviceCount(&count));
        ASSERT_GE(count, 1u);
        ASSERT_EQ(S_OK, Sources(1, first));
        ASSERT_EQ(S_OK, Call(7, {LongPtr(first), LongPtr(nullptr)}));
    }

    // Benign arguments for every method from CreateKamvioDlg (3) to IsConnected (19).
    std::vector<Arg> ArgsFor(DISPID id) {
        switch (id) {
        case 5: case 13: case 15: return {ULongPtr(&ulong_), LongPtr(nullptr)};
        case 6: return {ULong(1), LongPtr(&record_), LongPtr(nullptr)};
        case 7: return {LongPtr(&record_), LongPtr(nullptr)};
        case 11: case 12: return {Long(1), LongPtr(nullptr)};
        case 14: return {ULong(1), LongPtr(nullptr)};
        case 16: return {Bstr(name_.get()), LongPtr(nullptr)};
        case 17: return {ULong(100), ULong(80), LongPtr(nullptr)};
        case 18: return {ULong(1), ULongPtr(&ulong_), ULong(1), ULongPtr(&ulong_), LongPtr(nullptr)};
        case 19: return {LongPtr(&long_), LongPtr(nullptr)};
        }
        return {LongPtr(nullptr)};
    }
    void ExpectAllFail(const char* when) {
        for (DISPID id = 3; id <= 19; ++id)
            EXPECT_EQ(E_FAIL, Call(id, ArgsFor(id))) << when << ": method " << id;
    }

    HostWindow host_;
    ComPtr<IOvCanonSDK> object_;
    std::string folder_;
    KamvioPara para_;
    ULONG ulong_ = 5;
    LONG long_ = 0;
    SourceInfo record_ = {};
    UniqueBstr name_{SysAllocString(L"Camera")};
};

TEST_P(InterfaceTest, WithoutAModelessDialogEveryMethodButTheWindowOnesFails) {
    ExpectAllFail("before InitKamvioDlg");
    ASSERT_EQ(S_OK, Init(&para_));
    ASSERT_EQ(S_OK, Create());
    ASSERT_EQ(S_OK, Destroy());
    EXPECT_EQ(0, host_.ChildDialogCount()) << "DestroyKamvioDlg removes the window";
    ExpectAllFail("after DestroyKamvioDlg");
}

TEST_P(InterfaceTest, InitKamvioDlgMakesNoWindowAndCreateMakesExactlyOne) {
    ASSERT_EQ(S_OK, Init(&para_));
    EXPECT_EQ(0, host_.ChildDialogCount());
    EXPECT_EQ(S_OK, Create());
    EXPECT_EQ(S_OK, Create());
    ASSERT_EQ(1, host_.ChildDialogCount());
    HWND dialog = FindWindowExA(host_.hwnd(), nullptr, "#32770", nullptr);
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_STYLE) & WS_VISIBLE) << "shown (the host window itself is hidden)";
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD);
}

TEST_P(InterfaceTest, InitKamvioDlgWithoutABlockFailsAndKeepsTheDialog) {
    ASSERT_EQ(S_OK, Init(&para_));
    ASSERT_EQ(S_OK, Create());
    HWND dialog = FindWindowExA(host_.hwnd(), nullptr, "#32770", nullptr);
    EXPECT_EQ(E_FAIL, Init(nullptr));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(dialog, FindWindowExA(host_.hwnd(), nullptr, "#32770", nullptr));
    ULONG count = 0;
    EXPECT_EQ(S_OK, DeviceCount(&count)) << "the dialog still answers";
    EXPECT_EQ(S_OK, Create());
    EXPECT_EQ(1, host_.ChildDialogCount());
}

TEST_P(InterfaceTest, InitKamvioDlgAgainDiscardsTheEarlierWindowAndTakesTheRectangle) {
    ASSERT_EQ(S_OK, Init(&para_));
    ASSERT_EQ(S_OK, Create());
    HWND first = FindWindowExA(host_.hwnd(), nullptr, "#32770", nullptr);
    LONG rect[4] = {10, 20, 310, 260};
    ASSERT_EQ(S_OK, Init(&para_, rect));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(0, host_.ChildDialogCount());
    ASSERT_EQ(S_OK, Create());
    HWND second = FindWindowExA(host_.hwnd(), nullptr, "#32770", nullptr);
    ASSERT_TRUE(second);
    RECT r;
    GetWindowRect(second, &r);
    MapWindowPoints(nullptr, host_.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(20, r.top);
    EXPECT_EQ(300, r.right - r.left);
    EXPECT_EQ(240, r.bottom - r.top);
}

TEST_P(InterfaceTest, NullOutPointersFail) {
    ASSERT_EQ(S_OK, Init(&para_));
    ASSERT_EQ(S_OK, Create());
    EXPECT_EQ(E_FAIL, DeviceCount(nullptr));
    EXPECT_EQ(E_FAIL, Sources(1, nullptr));
    EXPECT_EQ(E_FAIL, Connected(nullptr));
    EXPECT_EQ(E_FAIL, Call(13, {ULongPtr(nullptr), LongPtr(nullptr)}));  // GetMaxZoomPos
    EXPECT_EQ(E_FAIL, Call(15, {ULongPtr(nullptr), LongPtr(nullptr)}));  // GetCurrentZoomPos
    EXPECT_EQ(E_FAIL, Call(7, {LongPtr(nullptr), LongPtr(nullptr)}));    // Connect
}

TEST_P(InterfaceTest, GetSouceInfoFillsExactlyTheCountedRecordsIntoTheBuffer) {
    ASSERT_EQ(S_OK, Init(&para_));
    ASSERT_EQ(S_OK, Create());
    ULONG count = 0;
    ASSERT_EQ(S_OK, DeviceCount(&count));
    ASSERT_GE(count, 2u) << "the simulator offers two cameras";
    std::vector<SourceInfo> records(count + 1);
    std::memset(records.data(), 0xCD, records.size() * sizeof(SourceInfo));
    ASSERT_EQ(S_OK, Sources(1, records.data()));
    EXPECT_NE(0u, records[0].sourceType);
    EXPECT_NE('\0', records[0].modelName[0]);
    EXPECT_EQ(0xCDCDCDCDu, records[1].sourceType) << "one record asked, one written";

    ASSERT_EQ(S_OK, Sources(count, records.data()));
    for (ULONG i = 0; i < count; ++i) EXPECT_NE(0u, records[i].sourceType) << i;
    EXPECT_STRNE(records[0].modelName, records[1].modelName);
    EXPECT_EQ(0xCDCDCDCDu, records[count].sourceType);
}

TEST_P(InterfaceTest, AConnectedSessionAnswersEveryCameraMethod) {
    SourceInfo first = {};
    ASSERT_NO_FATAL_FAILURE(OpenSession(&first));
    LONG connected = 0;
    EXPECT_EQ(S_OK, Connected(&connected));
    EXPECT_EQ(1, connected);

    auto status = host_.Notes(HostWindow::kMsgStatus);
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(first.modelName, status.back().text) << "the connection attempt names the camera";
    EXPECT_TRUE(test_support::PumpUntil([&] { return !host_.Notes(HostWindow::kMsgViewfinder).empty(); }));

    ULONG maxPos = 0, pos = 0;
    EXPECT_EQ(S_OK, Call(13, {ULongPtr(&maxPos), LongPtr(nullptr)}));
    EXPECT_GT(maxPos, 0u);
    EXPECT_EQ(S_OK, Call(14, {ULong(maxPos), LongPtr(nullptr)}));
    EXPECT_EQ(S_OK, Call(15, {ULongPtr(&pos), LongPtr(nullptr)}));
    EXPECT_EQ(maxPos, pos);

    EXPECT_EQ(S_OK, Call(11, {Long(1), LongPtr(nullptr)}));  // OpenViewFinder
    EXPECT_EQ(S_OK, Call(17, {ULong(120), ULong(90), LongPtr(nullptr)}));
    ULONG xs[2] = {10, 20}, ys[1] = {30};
    EXPECT_EQ(S_OK, Call(18, {ULong(2), ULongPtr(xs), ULong(1), ULongPtr(ys), LongPtr(nullptr)}));
    EXPECT_EQ(E_FAIL, Call(16, {Bstr(nullptr), LongPtr(nullptr)})) << "a null camera name";

    host_.ClearNotes();
    EXPECT_EQ(S_OK, Call(10, {LongPtr(nullptr)}));  // TakePhoto
    ASSERT_TRUE(test_support::PumpUntil([&] { return !host_.Notes(HostWindow::kMsgFileSaved).empty(); }, 20000));
    std::string path = host_.Notes(HostWindow::kMsgFileSaved).front().text;
    EXPECT_EQ(0u, path.find(folder_ + "\\")) << path;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str())) << path;
    DeleteFileA(path.c_str());

    EXPECT_EQ(S_OK, Call(8, {LongPtr(nullptr)}));  // Disconnect
    EXPECT_EQ(S_OK, Connected(&connected));
    EXPECT_EQ(0, connected);
}

TEST_P(InterfaceTest, TheCameraMethodsWorkOnTheObjectEvenBeforeItsWindowExists) {
    ASSERT_EQ(S_OK, Init(&para_));
    EXPECT_EQ(S_OK, Call(17, {ULong(120), ULong(90), LongPtr(nullptr)}));
    LONG connected = 7;
    EXPECT_EQ(S_OK, Connected(&connected));
    EXPECT_EQ(0, connected);
}

INSTANTIATE_TEST_SUITE_P(BothPaths, InterfaceTest, ::testing::Values(Path::Vtable, Path::Dispatch),
                         [](const ::testing::TestParamInfo<Path>& info) { return PathName(info.param); });

}  // namespace
