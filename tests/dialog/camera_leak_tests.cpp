// Opening and closing the camera window many times gives back every GDI object, window and
// kernel handle.
#include <windows.h>
#include <winternl.h>

#include "camera/camera_messages.h"
#include "tests/dialog/dialog_test_support.h"

namespace {
// Live counts of GDI objects, windows of this thread and kernel handles.
struct ResourceCounts {
    long gdi, user, handles;
};

BOOL CALLBACK CountWindow(HWND, LPARAM count) { return ++*reinterpret_cast<long*>(count) > 0; }

BOOL CALLBACK CountWindowTree(HWND window, LPARAM count) {
    EnumChildWindows(window, CountWindow, count);
    return CountWindow(window, count);
}

// Wine's counters are stubs answering 0: then its shared GDI table is read, and windows and
// handles are enumerated.
ResourceCounts MeasureResources() {
    ResourceCounts counts{static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)),
                          static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)), 0};
    if (!counts.gdi) {
        // The table hangs off the process block where Windows keeps its own: 0x10000 entries of
        // 24 bytes, the object type (0: free) at byte 14.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"  // the segment-register read of NtCurrentTeb
        const auto* peb = reinterpret_cast<const char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
#pragma GCC diagnostic pop
        const auto* table = *reinterpret_cast<const uint8_t* const*>(peb + (sizeof(void*) == 8 ? 0xF8 : 0x94));
        counts.gdi = table ? 0 : -1;
        for (size_t i = 0; table && i < 0x10000; ++i) counts.gdi += table[i * 24 + 14] ? 1 : 0;
    }
    if (!counts.user) EnumThreadWindows(GetCurrentThreadId(), CountWindowTree, reinterpret_cast<LPARAM>(&counts.user));
    DWORD handles = 0, flags = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &handles)) counts.handles = static_cast<long>(handles);
    for (uintptr_t value = 4; !handles && value < 0x4000; value += 4)
        counts.handles += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    return counts;
}
}  // namespace

TEST_F(CameraWindowTest, TwoHundredWindowLivesLeaveNothingBehind) {
    const ResourceCounts empty = MeasureResources();
    ASSERT_GE(empty.gdi, 0) << "GDI objects cannot be counted here";
    {  // the counters must notice a leak, or the loop below proves nothing
        std::vector<UniqueBrush> brushes(20);
        std::vector<UniqueHandle> events(20);
        for (auto& brush : brushes) brush.reset(CreateSolidBrush(RGB(1, 2, 3)));
        for (auto& event : events) event.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        OpenModeless(0);
        const ResourceCounts during = MeasureResources();
        EXPECT_TRUE(during.gdi >= empty.gdi + 20 && during.handles >= empty.handles + 20 && during.user > empty.user);
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
            host.PostAction([&] { PostMessageA(modal.GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0); });
            EXPECT_EQ(modal.DoModal(), IDCANCEL);
            return;
        }
        const RECT area{0, 0, 320, 240};
        OpenModeless(round % 3, round % 3 ? nullptr : &area);
        dialog->SetDestFrameSize(640, 480);
        dialog->SetAdjustLinePos(2, xs, 1, ys);
        Access::SetViewShown(*dialog, TRUE);
        SendMessageA(hwnd(), WM_CAM_FRAME, reinterpret_cast<WPARAM>(frame.data()), 0);
        if (round % 30 == 1) {
            ConnectWithButton(0);
            Click(hwnd(), IDC_HndlCnnDlg_ViewFinder);
            test_support::PumpFor(20);
        }
        dialog.reset();
        Drain();
    };
    for (int i = 0; i < 3; ++i) life(i);  // first-time allocations (classes, caches, threads) may stay
    const ResourceCounts before = MeasureResources();
    for (int i = 0; i < 200; ++i) life(i);
    const ResourceCounts after = MeasureResources();
    EXPECT_LE(after.gdi, before.gdi + 8) << "GDI objects " << before.gdi << " -> " << after.gdi;
    EXPECT_LE(after.user, before.user + 2) << "windows " << before.user << " -> " << after.user;
    EXPECT_LE(after.handles, before.handles + 8) << "handles " << before.handles << " -> " << after.handles;
}
