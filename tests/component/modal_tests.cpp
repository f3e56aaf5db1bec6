// DoModal by vtable and by IDispatch, the modal window driven from a watcher thread the way a
// user would end it.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <thread>

#include "tests/common/test_support.h"
#include "tests/component/kamvio_library.h"

using namespace kamvio_test;

namespace {

constexpr int kConnectButton = 201;
constexpr int kReleaseButton = 204;

struct FindModal {
    HWND found = nullptr;
    static BOOL CALLBACK Visit(HWND window, LPARAM param) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char cls[16] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (pid == GetCurrentProcessId() && std::strcmp(cls, "#32770") == 0 && IsWindowVisible(window) &&
            GetDlgItem(window, kConnectButton)) {
            reinterpret_cast<FindModal*>(param)->found = window;
            return FALSE;
        }
        return TRUE;
    }
};

// Waits on its own thread for the modal camera window, runs `act` on it, then lets `finish`
// end it. Joined on destruction; every wait is bounded so a broken window cannot hang the test.
class ModalDriver {
public:
    ModalDriver(std::function<void(HWND)> act, std::function<void(HWND)> finish)
        : m_thread([this, act, finish] { Run(act, finish); }) {}
    ~ModalDriver() { m_thread.join(); }
    bool sawWindow() const { return m_window != nullptr; }
    HWND window() const { return m_window; }

private:
    void Run(const std::function<void(HWND)>& act, const std::function<void(HWND)>& finish) {
        for (int i = 0; i < 1000 && !m_window; ++i) {
            FindModal find;
            EnumWindows(FindModal::Visit, reinterpret_cast<LPARAM>(&find));
            m_window = find.found;
            if (!m_window) Sleep(10);
        }
        if (!m_window) return;
        if (act) act(m_window);
        finish(m_window);
    }
    std::atomic<HWND> m_window{nullptr};
    std::thread m_thread;
};

void PressOk(HWND w) { PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }
void PressCancel(HWND w) { PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }
void CloseBox(HWND w) { PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }

void Click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool WaitFor(const std::function<bool()>& done, int tenths) {
    for (int i = 0; i < tenths * 10; ++i, Sleep(10))
        if (done()) return true;
    return done();
}

class ModalTest : public ::testing::TestWithParam<Path> {
protected:
    void SetUp() override {
        object_ = CreateComponent();
        ASSERT_TRUE(object_);
    }
    void TearDown() override { test_support::TakeMessageBoxes(); }
    HRESULT DoModal(KamvioPara* para) { return CallMethod(GetParam(), object_.get(), 1, {LongPtr(para)}); }

    HostWindow host_;
    ComPtr<IOvCanonSDK> object_;
};

TEST_P(ModalTest, EndingWithOkSucceedsAndOtherEndsFail) {
    KamvioPara para = host_.Para(nullptr);
    struct Case {
        void (*end)(HWND);
        HRESULT expected;
        const char* name;
    } cases[] = {{PressOk, S_OK, "OK"}, {PressCancel, E_FAIL, "Cancel"}, {CloseBox, E_FAIL, "close box"}};
    for (const Case& c : cases) {
        HRESULT hr;
        bool seen;
        {
            ModalDriver driver(nullptr, c.end);
            hr = DoModal(&para);
            seen = driver.sawWindow();
        }
        EXPECT_TRUE(seen) << c.name;
        EXPECT_EQ(c.expected, hr) << c.name;
    }
}

// Files of the default folder, so that a test can tell which ones it made.
std::vector<std::string> CanonFiles() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    UniqueFind find(FindFirstFileA("c:\\Canon\\*.*", &data));
    if (!find) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileA(find.get(), &data));
    return names;
}

TEST_P(ModalTest, WithoutABlockTheModalWindowSavesIntoTheDefaultFolder) {
    size_t before = CanonFiles().size();
    bool shot = false;
    HRESULT hr;
    {
        ModalDriver driver(
            [&](HWND w) {
                // The modal window lists its sources at once: connect to the first and shoot.
                Click(w, kConnectButton);
                if (!WaitFor([&] { return IsWindowEnabled(GetDlgItem(w, kReleaseButton)) != FALSE; }, 100)) return;
                Click(w, kReleaseButton);
                shot = WaitFor([&] { return CanonFiles().size() > before; }, 200);
            },
            PressCancel);
        hr = DoModal(nullptr);
    }
    EXPECT_EQ(E_FAIL, hr);
    DWORD attributes = GetFileAttributesA("c:\\Canon");
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(shot) << "a shot from the modal window lands in c:\\Canon";
}

TEST_P(ModalTest, TheModalWindowIsAPopupWithCaptionAndItsOkButton) {
    KamvioPara para = host_.Para(nullptr);
    LONG style = 0;
    BOOL okVisible = FALSE;
    {
        ModalDriver driver(
            [&](HWND w) {
                style = GetWindowLongA(w, GWL_STYLE);
                okVisible = IsWindowVisible(GetDlgItem(w, IDOK));
            },
            PressOk);
        EXPECT_EQ(S_OK, DoModal(&para));
    }
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_EQ(WS_CAPTION, style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(okVisible);
}

INSTANTIATE_TEST_SUITE_P(BothPaths, ModalTest, ::testing::Values(Path::Vtable, Path::Dispatch),
                         [](const ::testing::TestParamInfo<Path>& info) { return PathName(info.param); });

}  // namespace
