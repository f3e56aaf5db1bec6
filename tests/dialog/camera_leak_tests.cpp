// Opening and closing the camera window many times gives back every GDI object, window and
// kernel handle.
#include <windows.h>

#include "camera/camera_messages.h"
#include "tests/dialog/camera_window_fixture.h"

using namespace dialog_test;
using Access = CameraDialogTestAccess;

namespace {
// First-time allocations (class registrations, caches, the simulator's threads) may stay.
constexpr long kGdiSlack = 8;
constexpr long kUserSlack = 2;
constexpr long kHandleSlack = 8;

void ExpectNoGrowth(const ResourceCounts& before, const ResourceCounts& after) {
    EXPECT_GE(before.gdi, 0) << "GDI objects cannot be counted here";
    EXPECT_LE(after.gdi, before.gdi + kGdiSlack) << "GDI objects " << before.gdi << " -> " << after.gdi;
    EXPECT_LE(after.user, before.user + kUserSlack) << "windows " << before.user << " -> " << after.user;
    EXPECT_LE(after.handles, before.handles + kHandleSlack) << "handles " << before.handles << " -> " << after.handles;
}
}  // namespace

class WindowLeakTest : public CameraWindowTest {
protected:
    // One window life: open, draw one frame with every overlay, close.
    void OpenDrawClose(int round) {
        const RECT area{0, 0, 320, 240};
        OpenModeless(round % 2, round % 2 ? nullptr : &area);
        dialog->SetDestFrameSize(640, 480);
        uint32_t xs[] = {100, 300}, ys[] = {200};
        dialog->SetAdjustLinePos(2, xs, 1, ys);
        Access::SetViewShown(*dialog, TRUE);
        SendMessageA(hwnd(), WM_CAM_FRAME, reinterpret_cast<WPARAM>(m_frame.data()), 0);
        dialog.reset();
        Drain();
    }
    std::vector<uint8_t> m_frame = SolidFrame(64, 48, RGB(10, 200, 30));
};

TEST_F(WindowLeakTest, TwoHundredModelessWindowsLeaveNothingBehind) {
    for (int i = 0; i < 3; ++i) OpenDrawClose(i);
    const ResourceCounts before = MeasureResources();
    for (int i = 0; i < 200; ++i) OpenDrawClose(i);
    ExpectNoGrowth(before, MeasureResources());
}

TEST_F(WindowLeakTest, TwoHundredModalWindowsLeaveNothingBehind) {
    auto runModal = [&] {
        auto d = std::make_unique<CameraDialog>(nullptr);
        d->ApplyPara(nullptr);
        d->SetModal(TRUE);
        host.PostAction([&] { PostMessageA(d->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0); });
        EXPECT_EQ(d->DoModal(), IDCANCEL);
    };
    for (int i = 0; i < 3; ++i) runModal();
    const ResourceCounts before = MeasureResources();
    for (int i = 0; i < 200; ++i) runModal();
    ExpectNoGrowth(before, MeasureResources());
}

TEST_F(WindowLeakTest, ConnectedWindowsWithViewfinderLeaveNothingBehind) {
    auto connectedLife = [&] {
        OpenModeless(1);
        ConnectWithButton(0);
        Click(hwnd(), IDC_HndlCnnDlg_ViewFinder);
        test_support::PumpFor(20);
        dialog.reset();
        Drain();
    };
    for (int i = 0; i < 3; ++i) connectedLife();
    const ResourceCounts before = MeasureResources();
    for (int i = 0; i < 40; ++i) connectedLife();
    ExpectNoGrowth(before, MeasureResources());
}

TEST_F(WindowLeakTest, ResourceCountsSeeWhatIsCreated) {
    // The counters themselves must notice a leak, or the tests above prove nothing.
    const ResourceCounts before = MeasureResources();
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 20; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    HANDLE events[20];
    for (HANDLE& e : events) e = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HWND window = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, host.hwnd(), nullptr, nullptr, nullptr);
    const ResourceCounts during = MeasureResources();
    EXPECT_GE(during.gdi, before.gdi + 20);
    EXPECT_GE(during.handles, before.handles + 20);
    EXPECT_GE(during.user, before.user + 1);
    for (HBRUSH b : brushes) DeleteObject(b);
    for (HANDLE e : events) CloseHandle(e);
    DestroyWindow(window);
}
