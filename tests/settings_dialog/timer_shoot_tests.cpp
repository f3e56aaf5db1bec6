// Timer shooting from the settings window: the checks with their messages, the Start button,
// and the shot the camera window takes after the pause.
#include "camera/camera_messages.h"
#include "settings/canon_setting_dlg.h"
#include "tests/settings_dialog/settings_dialog_fixture.h"

using namespace settings_test;

namespace {

struct Outcome {
    std::vector<test_support::CapturedBox> boxes;
    bool startEnabledAfter;
};

}  // namespace

class TimerShootTest : public SettingsDialogTest {
protected:
    // A settings window of its own whose camera window is a recorder.
    void OpenRecorded() {
        dlg = std::make_unique<CCanonSettingDlg>();
        dlg->SetNotifyWnd(recorder.hwnd());
        ASSERT_TRUE(dlg->Create(nullptr));
        dlg->ShowWindow(SW_SHOW);
    }

    Outcome Start(HWND settings, const char* minutes, const char* seconds) {
        SetDlgItemTextA(settings, IDC_EdtIntervalMin, minutes);
        SetDlgItemTextA(settings, IDC_EdtIntervalSec, seconds);
        test_support::ClearMessageBoxes();
        Click(settings, IDC_BtnTimerStart);
        return Outcome{test_support::TakeMessageBoxes(), Enabled(settings, IDC_BtnTimerStart)};
    }

    NotifyRecorder recorder;
    std::unique_ptr<CCanonSettingDlg> dlg;
};

TEST_F(TimerShootTest, RefusedIntervalsShowTheirMessageSendNothingAndEnableStartAgain) {
    OpenRecorded();
    HWND settings = dlg->GetSafeHwnd();
    struct Case {
        const char* minutes;
        const char* seconds;
    };
    for (const Case& c : {Case{"", ""}, Case{"0", "0"}, Case{"1", "0"}, Case{"0", "1"}, Case{"0", "31"}}) {
        const Outcome outcome = Start(settings, c.minutes, c.seconds);
        ASSERT_EQ(outcome.boxes.size(), 1u) << c.minutes << ":" << c.seconds;
        EXPECT_EQ(outcome.boxes[0].caption, "OnBtnTimershoot");
        EXPECT_EQ(outcome.boxes[0].text, "Please set the timer interval from 2 seconds to 30 seconds!");
        EXPECT_TRUE(outcome.startEnabledAfter);
    }
    EXPECT_TRUE(recorder.received.empty());
}

TEST_F(TimerShootTest, AcceptedIntervalsAreSentAsSecondsWithOneShot) {
    OpenRecorded();
    HWND settings = dlg->GetSafeHwnd();
    std::vector<bool> startEnabledDuring;
    recorder.onMessage = [&](const NotifyRecorder::Message&) {
        startEnabledDuring.push_back(Enabled(settings, IDC_BtnTimerStart));
    };
    for (const char* seconds : {"2", "30"}) {
        const Outcome outcome = Start(settings, "0", seconds);
        EXPECT_TRUE(outcome.boxes.empty());
        EXPECT_TRUE(outcome.startEnabledAfter);
    }
    const Outcome viaMinutes = Start(settings, "0", "0030");
    EXPECT_TRUE(viaMinutes.boxes.empty());
    ASSERT_EQ(recorder.received.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(recorder.received[i].message, static_cast<UINT>(WM_CAM_TIMER_SHOOT));
        EXPECT_EQ(recorder.received[i].lParam, 1);
    }
    EXPECT_EQ(recorder.received[0].wParam, 2u);
    EXPECT_EQ(recorder.received[1].wParam, 30u);
    EXPECT_EQ(recorder.received[2].wParam, 30u);
    EXPECT_EQ(startEnabledDuring, std::vector<bool>(3, false));
    // Nothing of it is stored.
    EXPECT_EQ(GetFileAttributesA(TestFile("SetData.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(TimerShootTest, TwoSecondsTakeOneShotAboutASecondLater) {
    OpenConnected(0);
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    SetDlgItemTextA(settings, IDC_EdtIntervalMin, "0");
    SetDlgItemTextA(settings, IDC_EdtIntervalSec, "2");
    sim().SimLogClear();
    host.saved.clear();

    const DWORD before = GetTickCount();
    Click(settings, IDC_BtnTimerStart);  // returns when the series is over
    const DWORD elapsed = GetTickCount() - before;
    EXPECT_EQ(sim().Count("CDRelease"), 1);
    EXPECT_GE(elapsed, 900u);    // interval less one second
    EXPECT_LT(elapsed, 10000u);  // loosely: not the whole interval many times over
    EXPECT_TRUE(Enabled(settings, IDC_BtnTimerStart));
    EXPECT_TRUE(test_support::TakeMessageBoxes().empty());
    ASSERT_TRUE(test_support::PumpUntil([&] { return !host.saved.empty(); }, 10000));
    EXPECT_EQ(IniValue(TestFile("FilePath.ini"), "FINISHED", "File Path"), host.saved.back());
}

TEST_F(TimerShootTest, ASeriesRequestWithoutPauseShootsAtOnce) {
    OpenConnected(0);
    // What the camera window does with an interval below two seconds: no pause at all.
    const DWORD before = GetTickCount();
    SendMessageA(hwnd(), WM_CAM_TIMER_SHOOT, 0, 2);
    EXPECT_LT(GetTickCount() - before, 900u);
    EXPECT_EQ(sim().Count("CDRelease"), 2);
    sim().SimLogClear();
    SendMessageA(hwnd(), WM_CAM_TIMER_SHOOT, 5, 0x10000);  // only the low 16 bits count: no shot
    EXPECT_EQ(sim().Count("CDRelease"), 0);
    // Both shots may reach the transfer thread as one batch: one notice or two.
    ASSERT_TRUE(test_support::PumpUntil([&] { return !host.saved.empty(); }, 10000));
}
