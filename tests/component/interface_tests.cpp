// The interface by vtable and by IDispatch against the simulated camera: the modeless window's
// life, the rules of the forwarded methods, and the modal window ended the ways a user ends it.
// (The notifications a host receives are checked end to end with the demo host.)
#include <atomic>
#include <functional>
#include <thread>

#include "dialog/kamvio_para.h"
#include "resources/resource_ids.h"
#include "sdk/cdsdk_contract.h"
#include "tests/component/kamvio_library.h"

using namespace kamvio_test;

namespace {

// The modal camera window as a user sees it: a visible top-level dialog with the camera controls.
HWND FindModal() {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w; w = FindWindowExA(nullptr, w, "#32770", nullptr))
        if (IsWindowVisible(w) && GetDlgItem(w, IDC_HandleCanonDlg_Connect)) return w;
    return nullptr;
}

class ComponentTest : public ::testing::TestWithParam<Path> {
protected:
    void SetUp() override {
        ASSERT_TRUE(host_);
        ASSERT_TRUE(object_ = CreateComponent());
        para_.hwndHost = host_;
        para_.saveMode = para_.showControls = 1;
    }
    void TearDown() override {
        if (object_) Call(4, {None()});  // DestroyKamvioDlg
        DestroyWindow(host_);
        test_support::TakeMessageBoxes();
    }

    HRESULT Call(DISPID id, std::vector<VARIANT> args) { return CallMethod(GetParam(), object_.get(), id, std::move(args)); }
    HRESULT Init(const KamvioPara* para, const LONG* rect = nullptr) {
        return Call(2, {Ptr(kLongPtr, para), Ptr(kLongPtr, rect), Ptr(VT_UNKNOWN, nullptr), None()});
    }
    HRESULT Open() { return FAILED(Init(&para_)) ? E_FAIL : Call(3, {None()}); }
    HRESULT Sources(ULONG count, SourceInfo* records) { return Call(6, {Num(VT_UI4, count), Ptr(kLongPtr, records), None()}); }
    HRESULT Query(DISPID id, void* out) { return Call(id, {Ptr(id == 19 ? kLongPtr : kULongPtr, out), None()}); }
    HWND Dialog(HWND after = nullptr) { return FindWindowExA(host_, after, "#32770", nullptr); }

    // Calls CreateKamvioDlg (3) to IsConnected (19) with benign arguments.
    void ExpectAllFail(const char* when) {
        ULONG number = 5;
        SourceInfo record = {};
        UniqueBstr name(SysAllocString(L"Camera"));
        for (DISPID id = 3; id <= 19; ++id) {
            std::vector<VARIANT> args{None()};
            switch (id) {
            case 5: case 13: case 15: case 19: args = {Ptr(id == 19 ? kLongPtr : kULongPtr, &number), None()}; break;
            case 6: args = {Num(VT_UI4, 1), Ptr(kLongPtr, &record), None()}; break;
            case 7: args = {Ptr(kLongPtr, &record), None()}; break;
            case 11: case 12: case 14: args = {Num(id == 14 ? VT_UI4 : VT_I4, 1), None()}; break;
            case 16: args = {Ptr(VT_BSTR, name.get()), None()}; break;
            case 17: args = {Num(VT_UI4, 100), Num(VT_UI4, 80), None()}; break;
            case 18: args = {Num(VT_UI4, 1), Ptr(kULongPtr, &number), Num(VT_UI4, 1), Ptr(kULongPtr, &number), None()};
            }
            EXPECT_EQ(E_FAIL, Call(id, args)) << when << ": method " << id;
        }
    }

    // DoModal while a user on another thread waits for the window and then does `act`.
    HRESULT DoModal(const KamvioPara* para, const std::function<void(HWND)>& act) {
        std::atomic<bool> seen{false};
        std::thread user([&] {
            HWND w = nullptr;
            if (!test_support::PumpUntil([&] { return (w = FindModal()) != nullptr; }, 10000)) return;
            seen = true;
            act(w);
        });
        HRESULT hr = Call(1, {Ptr(kLongPtr, para)});
        user.join();
        EXPECT_TRUE(seen) << "the modal window appeared";
        return hr;
    }

    HWND host_ = CreateWindowExA(0, "STATIC", "Kamvio test host", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                                 nullptr, nullptr);
    ComPtr<IOvCanonSDK> object_;
    KamvioPara para_ = {};
};

TEST_P(ComponentTest, CreateMakesOneWindowThatANullBlockKeepsANewBlockDiscardsAndOnlyItAnswers) {
    ExpectAllFail("before InitKamvioDlg");
    const LONG rect[4] = {10, 20, 310, 260};
    ASSERT_EQ(S_OK, Init(&para_, rect));
    EXPECT_FALSE(Dialog()) << "InitKamvioDlg makes no window";
    EXPECT_EQ((std::vector<HRESULT>{S_OK, S_OK}), (std::vector<HRESULT>{Call(3, {None()}), Call(3, {None()})}))
        << "CreateKamvioDlg twice";
    HWND dialog = Dialog();
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(Dialog(dialog)) << "one window only";
    EXPECT_EQ(WS_CHILD | WS_VISIBLE, GetWindowLongA(dialog, GWL_STYLE) & (WS_CHILD | WS_VISIBLE));
    RECT r;
    GetWindowRect(dialog, &r);
    MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ((std::vector<LONG>{10, 20, 310, 260}), (std::vector<LONG>{r.left, r.top, r.right, r.bottom}));

    EXPECT_EQ(E_FAIL, Init(nullptr));
    EXPECT_EQ(dialog, Dialog()) << "a null block keeps the window";
    ULONG count = 0;
    EXPECT_EQ(S_OK, Query(5, &count)) << "and it still answers";
    ASSERT_EQ(S_OK, Init(&para_));
    EXPECT_FALSE(IsWindow(dialog)) << "a new block discards the earlier window";
    ASSERT_EQ(S_OK, Call(3, {None()}));
    ASSERT_EQ(S_OK, Call(4, {None()}));
    EXPECT_FALSE(Dialog()) << "DestroyKamvioDlg removes the window";
    ExpectAllFail("after DestroyKamvioDlg");
}

// (Null pointers and the records written per count are the bad-input tests'.)
TEST_P(ComponentTest, AConnectedSessionAnswersThroughTheOutputs) {
    ASSERT_EQ(S_OK, Open());
    ULONG count = 0, maxPos = 0, pos = 0;
    ASSERT_EQ(S_OK, Query(5, &count));
    ASSERT_EQ(2u, count) << "the simulator offers two cameras";
    SourceInfo records[2];
    ASSERT_EQ(S_OK, Sources(count, records));
    EXPECT_STRNE(records[0].modelName, records[1].modelName);
    LONG connected = 0;
    ASSERT_EQ(S_OK, Call(7, {Ptr(kLongPtr, &records[0]), None()}));
    EXPECT_EQ(S_OK, Query(19, &connected));
    EXPECT_EQ(1, connected);
    EXPECT_EQ(S_OK, Query(13, &maxPos));
    EXPECT_LT(0u, maxPos);
    EXPECT_EQ(S_OK, Call(14, {Num(VT_UI4, maxPos), None()}));
    EXPECT_EQ(S_OK, Query(15, &pos));
    EXPECT_EQ(maxPos, pos);
    EXPECT_EQ(S_OK, Call(8, {None()}));  // Disconnect
    EXPECT_EQ(S_OK, Query(19, &connected));
    EXPECT_EQ(0, connected);
}

// Without a block the modal window still opens (its save folder falls back to the default one).
TEST_P(ComponentTest, DoModalSucceedsOnlyWhenEndedWithOk) {
    const struct { const KamvioPara* para; UINT message; WPARAM command; HRESULT expected; } ends[] = {
        {&para_, WM_COMMAND, IDOK, S_OK}, {&para_, WM_COMMAND, IDCANCEL, E_FAIL},
        {&para_, WM_SYSCOMMAND, SC_CLOSE, E_FAIL}, {nullptr, WM_COMMAND, IDOK, S_OK}};
    for (const auto& e : ends)
        EXPECT_EQ(e.expected, DoModal(e.para, [&](HWND w) { PostMessageA(w, e.message, e.command, 0); })) << e.command;
}

INSTANTIATE_TEST_SUITE_P(BothPaths, ComponentTest, ::testing::Values(Path::Vtable, Path::Dispatch), PathName);

}  // namespace
