// Timer shooting from the settings window: the checks with their messages, the Start button,
// and the shot the camera window takes after the pause.
#include "settings/canon_setting_dlg.h"
#include "tests/settings_dialog/settings_dialog_fixture.h"

// A settings window of its own, first without settings folder and camera name, which stores nothing.
TEST(TimerShoot, RefusedIntervalsShowTheirMessageAcceptedOnesAreSentAndStartIsEnabledAgain) {
    DeleteFileA(TestFile("SetData.ini").c_str());
    Recorder camera;
    CCanonSettingDlg dlg;
    dlg.SetNotifyWnd(camera.hwnd());
    EXPECT_FALSE(dlg.WriteSetting("Macro", "1"));
    EXPECT_FALSE(dlg.SetIniFolder(""));
    EXPECT_FALSE(dlg.SetIniFolder(std::string(300, 'f').c_str()));
    ASSERT_TRUE(dlg.Create(nullptr));
    dlg.ShowWindow(SW_SHOW);
    HWND settings = dlg.GetSafeHwnd();
    Click(settings, IDC_RdoManual);
    EXPECT_EQ(GetFileAttributesA(TestFile("SetData.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(dlg.SetIniFolder(test_support::ExeFolder().c_str()));
    EXPECT_FALSE(dlg.WriteSetting("Macro", "1")) << "no name";
    EXPECT_FALSE(dlg.SetDCName(std::string(100, 'm').c_str())) << "a name fits whole or not";
    EXPECT_TRUE(dlg.SetDCName("Cam"));
    camera.onMessage = [&] { EXPECT_FALSE(Enabled(settings, IDC_BtnTimerStart)); };
    const char* refused = "OnBtnTimershoot: Please set the timer interval from 2 seconds to 30 seconds!";
    struct Case { const char *minutes, *seconds, *box, *sent; };  // sent: message interval shots
    const Case cases[] = {{"", "", refused, ""}, {"1", "0", refused, ""}, {"0", "1", refused, ""}, {"0", "31", refused, ""},
                          {"0", "2", "", "11028 2 1"}, {"0", "0030", "", "11028 30 1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.minutes) + ":" + c.seconds);
        Type(settings, IDC_EdtIntervalMin, c.minutes), Type(settings, IDC_EdtIntervalSec, c.seconds);
        camera.received.clear(), test_support::ClearMessageBoxes();
        Click(settings, IDC_BtnTimerStart);
        std::string boxes, sent;
        for (const auto& box : test_support::TakeMessageBoxes()) boxes += box.caption + ": " + box.text;
        for (const auto& m : camera.received)
            sent += std::to_string(m.message) + " " + std::to_string(m.wParam) + " " + std::to_string(m.lParam);
        EXPECT_EQ(boxes, c.box);
        EXPECT_EQ(sent, c.sent);
        EXPECT_TRUE(Enabled(settings, IDC_BtnTimerStart));
    }
    EXPECT_TRUE(dlg.WriteSetting("Macro", "1"));
    EXPECT_EQ(IniKeys("SetData.ini", "CamSetting"), Strings{"Macro"});  // the timer is not stored
    dlg.DestroyWindow();
}

TEST_F(SettingsDialogTest, TwoSecondsTakeOneShotAboutASecondLater) {
    OpenConnected();
    Type(settings, IDC_EdtIntervalMin, "0"), Type(settings, IDC_EdtIntervalSec, "2");
    Sim().SimLogClear();
    const DWORD before = GetTickCount();
    Click(settings, IDC_BtnTimerStart);  // returns when the series is over
    const DWORD elapsed = GetTickCount() - before;
    EXPECT_EQ(Calls("CDRelease").size(), 1u);
    EXPECT_GE(elapsed, 900u);  // interval less one second, loosely
    EXPECT_LT(elapsed, 10000u);
    EXPECT_TRUE(test_support::TakeMessageBoxes().empty());
    ASSERT_TRUE(test_support::PumpUntil([&] { return !host.received.empty(); }, 10000));  // saved like any shot
    // Below two seconds, which the window never sends, the camera window shoots without pause.
    Sim().SimLogClear();
    host.received.clear();
    SendMessageA(hwnd(), WM_CAM_TIMER_SHOOT, 0, 2);
    SendMessageA(hwnd(), WM_CAM_TIMER_SHOOT, 5, 0x10000);  // only the low 16 bits count: no shot
    EXPECT_EQ(Calls("CDRelease").size(), 2u);
    ASSERT_TRUE(test_support::PumpUntil([&] { return !host.received.empty(); }, 10000));  // one batch or two
}
