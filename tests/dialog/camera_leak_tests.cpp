// Opening and closing the camera window many times, or its viewfinder, gives back every GDI
// object, window, kernel handle and keyboard hook.
#include "camera/camera_messages.h"
#include "platform/modeless_keyboard.h"
#include "tests/common/resource_counts.h"
#include "tests/dialog/dialog_test_support.h"

TEST_F(CameraWindowTest, TwoHundredWindowLivesLeaveNothingBehind) {
    using resource_counts::Measure;
    const resource_counts::Counts empty = Measure();
    ASSERT_GE(empty.gdi, 0) << "GDI objects cannot be counted here";
    {  // the counters must notice a leak, or the loop below proves nothing
        std::vector<UniqueBrush> brushes(20);
        std::vector<UniqueHandle> events(20);
        for (int i = 0; i < 20; ++i)
            brushes[i].reset(CreateSolidBrush(RGB(1, 2, 3))), events[i].reset(CreateEventA(nullptr, 0, 0, nullptr));
        OpenModeless(0);
        const auto during = Measure();
        EXPECT_GE(during.gdi, empty.gdi + 20);
        EXPECT_GE(during.handles, empty.handles + 20);
        EXPECT_GT(during.user, empty.user);
        dialog.reset();
    }
    // Every kind of life: live view with every overlay drawn, the panel, modal, and now and then a
    // connected camera with its viewfinder running.
    const std::vector<uint8_t> frame = SolidFrame(64, 48, RGB(10, 200, 30));
    uint32_t xs[] = {100, 300}, ys[] = {200};
    CameraDialog modal(nullptr);  // like the component's, one object runs every modal window
    modal.ApplyPara(nullptr);
    modal.SetModal(TRUE);
    auto life = [&](int round) {
        if (round % 3 == 2) {
            host.PostAction([&] {
                EXPECT_EQ(ModelessKeyboard::InstalledHooks(), 0u);  // a modal window needs none
                PostMessageA(modal.GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
            });
            EXPECT_EQ(modal.DoModal(), IDCANCEL);
            return;
        }
        const RECT area{0, 0, 320, 240};
        OpenModeless(round % 3, round % 3 ? nullptr : &area);
        dialog->SetDestFrameSize(640, 480);
        dialog->SetAdjustLinePos(2, xs, 1, ys);
        Access::SetViewShown(*dialog, TRUE);
        SendMessageA(hwnd(), WM_CAM_FRAME, reinterpret_cast<WPARAM>(frame.data()), LPARAM(frame.size()));
        EXPECT_EQ(ModelessKeyboard::InstalledHooks(), 1u);
        if (round % 30 == 1) {
            ConnectWithButton();
            Click(hwnd(), IDC_HndlCnnDlg_ViewFinder);
            test_support::PumpFor(20);
        }
        dialog.reset();
        Drain();
    };
    for (int i = 0; i < 3; ++i) life(i);  // first-time allocations (classes, caches, threads) may stay
    const auto before = Measure();
    for (int i = 0; i < 200; ++i) life(i);
    const auto after = Measure();
    EXPECT_LE(after.gdi, before.gdi + 8) << "GDI objects " << before.gdi << " -> " << after.gdi;
    EXPECT_LE(after.user, before.user + 2) << "windows " << before.user << " -> " << after.user;
    EXPECT_LE(after.handles, before.handles + 8) << "handles " << before.handles << " -> " << after.handles;
    EXPECT_EQ(ModelessKeyboard::InstalledHooks(), 0u);
}

// What the frames of a live view keep between them (DrawDib's handle with its context, bitmap
// and palette) goes when the viewfinder stops, not only with the window.
TEST_F(CameraWindowTest, StoppedViewfindersLeaveNoGdiObjectsBehind) {
    OpenModeless(1);
    ConnectWithButton();
    const std::vector<uint8_t> frame = SolidFrame(640, 480, RGB(10, 200, 30));
    const long before = resource_counts::Measure().gdi;
    Click(hwnd(), IDC_HndlCnnDlg_ViewFinder);  // started and shown
    for (int round = 0; round < 3; ++round) {
        SendMessageA(hwnd(), WM_CAM_FRAME, reinterpret_cast<WPARAM>(frame.data()), LPARAM(frame.size()));
        Drain();
        SendMessageA(hwnd(), WM_CAM_VIEWFINDER_SWITCH, 0, 0);  // stops it
        EXPECT_EQ(before, resource_counts::Measure().gdi) << "round " << round;
        SendMessageA(hwnd(), WM_CAM_VIEWFINDER_SWITCH, 0, 0);  // starts it again
    }
}
