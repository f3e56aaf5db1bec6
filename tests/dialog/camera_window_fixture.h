// The fixture of the camera-window tests: a host window, the simulator reset to its default two
// cameras, no settings files, and helpers to open the window and connect like a user.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "resources/resource_ids.h"
#include "tests/common/test_support.h"
#include "tests/dialog/dialog_test_support.h"

class CameraWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog_test::RemoveSettingsFiles();
        ASSERT_TRUE(sim().Load()) << "CDSDK.dll beside the test";
        sim().SimReset();
        test_support::ClearMessageBoxes();
        ASSERT_NE(host.hwnd(), nullptr);
    }

    void TearDown() override {
        dialog.reset();
        Drain();
        sim().SimClearFaults();
    }

    static dialog_test::Sim& sim() { return dialog_test::Simulator(); }

    void Configure(const char* ini) { ASSERT_EQ(sim().SimLoadConfigText(ini), 1u) << ini; }

    // A modeless window, child of the host, shown.
    CameraDialog& OpenModeless(uint32_t showControls, const RECT* rect = nullptr, const char* folder = nullptr) {
        dialog = std::make_unique<CameraDialog>(host.hwnd());
        para = dialog_test::MakePara(host.hwnd(), showControls, 1, folder);
        dialog->ApplyPara(&para);
        if (rect) dialog->SetWindowRect(*rect);
        EXPECT_TRUE(dialog->Create(host.hwnd()));
        dialog->ShowWindow(SW_SHOW);
        Drain();
        return *dialog;
    }

    HWND hwnd() const { return dialog ? dialog->GetSafeHwnd() : nullptr; }

    // Selects source `index` in the list and presses Connect, then lets posted messages arrive.
    void ConnectWithButton(int index = 0) {
        SendDlgItemMessageA(hwnd(), IDC_HandleCanonDlg_SourceCmb, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(IDC_HandleCanonDlg_SourceCmb, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(hwnd(), IDC_HandleCanonDlg_SourceCmb)));
        dialog_test::Click(hwnd(), IDC_HandleCanonDlg_Connect);
        Drain();
    }

    std::string ComboText(int index) const {
        char text[300] = {};
        SendDlgItemMessageA(hwnd(), IDC_HandleCanonDlg_SourceCmb, CB_GETLBTEXT, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(text));
        return text;
    }
    int ComboCount() const {
        return static_cast<int>(SendDlgItemMessageA(hwnd(), IDC_HandleCanonDlg_SourceCmb, CB_GETCOUNT, 0, 0));
    }

    // Dispatches what is queued now (posted controller messages), without waiting.
    static void Drain() {
        MSG msg;
        for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    // The camera window's pixel at client point (x, y), as the screen would show it.
    COLORREF WindowPixel(int x, int y) const {
        HDC dc = GetDC(hwnd());
        COLORREF c = GetPixel(dc, x, y) & 0xFFFFFF;
        ReleaseDC(hwnd(), dc);
        return c;
    }

    dialog_test::HostWindow host;
    KamvioPara para{};
    std::unique_ptr<CameraDialog> dialog;
};
