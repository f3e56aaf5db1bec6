// Timer shooting from the settings window: the checks with their messages, the Start button,
// and the shot the camera window takes after the pause.
#include "settings/canon_setting_dlg.h"
#include "tests/settings_dialog/settings_dialog_fixture.h"

TEST(TimerShoot, RefusedIntervalsShowTheirMessageAcceptedOnesAreSentAndStartIsEnabledAgain) {
    DeleteFileA(TestFile("SetData.ini").c_str());
    Recorder recorder;  // the camera window
    CCanonSettingDlg dlg;
    dlg.SetNotifyWnd(recorder.hwnd);
    dlg.SetIniFolder(test_support::ExeFolder().c_str());
    dlg.SetDCName("Cam");
    ASSERT_TRUE(dlg.Create(nullptr));
    dlg.ShowWindow(SW_SHOW);
    HWND settings = dlg.GetSafeHwnd();
    std::vector<bool> startEnabledDuring;
    recorder.onMessage = [&] { startEnabledDuring.push_back(Enabled(settings, IDC_BtnTimerStart)); };
    struct Case {
        const char *minutes, *seconds;
        WPARAM sent;  // 0: refused
    };
    for (const Case& c : {Case{"", "", 0}, Case{"0", "0", 0}, Case{"1", "0", 0}, Case{"0", "1", 0}, Case{"0", "31", 0},
                          Case{"0", "2", 2}, Case{"0", "30", 30}, Case{"0", "0030", 30}}) {
        SCOPED_TRACE(std::string(c.minutes) + ":" + c.seconds);
        Type(settings, IDC_EdtIntervalMin, c.minutes);
        Type(settings, IDC_EdtIntervalSec, c.seconds);
        recorder.received.clear();
        test_support::ClearMessageBoxes();
        Click(settings, IDC_BtnTimerStart);
        const auto boxes = test_support::TakeMessageBoxes();
        EXPECT_TRUE(Enabled(settings, IDC_BtnTimerStart));
        if (!c.sent) {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].caption + ": " + boxes[0].text,
                      "OnBtnTimershoot: Please set the timer interval from 2 seconds to 30 seconds!");
            EXPECT_TRUE(recorder.received.empty());
            continue;
        }
        EXPECT_TRUE(boxes.empty());
        ASSERT_EQ(recorder.received.size(), 1u);
        EXPECT_EQ(recorder.received[0].message, static_cast<UINT>(WM_CAM_TIMER_SHOOT));
        EXPECT_EQ(recorder.received[0].wParam, c.sent);
        EXPECT_EQ(recorder.received[0].lParam, 1);
    }
    EXPECT_EQ(startEnabledDuring, std::vector<bool>(3, false));
    EXPECT_EQ(IniKeys("SetData.ini", "CamSetting"), Strings{"Shooting Mode"});  // the timer is not stored
    dlg.DestroyWindow();
}

TEST_F(SettingsDialogTest, TwoSecondsTakeOneShotAboutASecondLater) {
    OpenConnected();
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    Type(settings, IDC_EdtIntervalMin, "0");
    Type(settings, IDC_EdtIntervalSec, "2");
    Sim().SimLogClear();
    const DWORD before = GetTickCount();
    Click(settings, IDC_BtnTimerStart);  // returns when the series is over
    const DWORD elapsed = GetTickCount() - before;
    EXPECT_EQ(Calls("CDRelease").size(), 1u);
    EXPECT_GE(elapsed, 900u);    // interval less one second
    EXPECT_LT(elapsed, 10000u);  // loosely: not the whole interval many times over
    EXPECT_TRUE(test_support::TakeMessageBoxes().empty());
    ASSERT_TRUE(test_support::PumpUntil([&] { return !host.received.empty(); }, 10000));
    EXPECT_EQ(IniValue("FilePath.ini", "FINISHED", "File Path"), host.received.back().text);

    // Below two seconds, which the window never sends, the camera window shoots without pause.
    Sim().SimLogClear();
    host.received.clear();
    SendMessageA(hwnd(), WM_CAM_TIMER_SHOOT, 0, 2);
    EXPECT_EQ(Calls("CDRelease").size(), 2u);
    SendMessageA(hwnd(), WM_CAM_TIMER_SHOOT, 5, 0x10000);  // only the low 16 bits count: no shot
    EXPECT_EQ(Calls("CDRelease").size(), 2u);
    ASSERT_TRUE(test_support::PumpUntil([&] { return !host.received.empty(); }, 10000));  // one batch or two
}
