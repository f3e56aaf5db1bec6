// What hosts do: call back into the component from inside its notifications, open the modal
// window beside the embedded one, reconnect. Each run is bounded in time: a hang fails it.
#include <cstdio>
#include <iostream>

#include "resources/resource_ids.h"
#include "resources/settings_dialog_ids.h"
#include "tests/common/sim_access.h"
#include "tests/common/test_support.h"
#include "tests/hardening/booth.h"

namespace {

const char kTwoCameras[] =
    "[Simulator]\nCameras=2\nChunkSize=4096\n"
    "[Camera1]\nModel=Booth Compact\nCapability=4\nViewFps=30\nZoomMax=10\nItems=0x20:1:20000,0x10:1:3000\n"
    "[Camera2]\nModel=Booth Second\nCapability=4\nViewFps=30\nItems=0x20:1:15000\n";
constexpr DWORD kRunDeadlineMs = 30000;

// One call a host makes, through the interface only.
struct HostCall {
    const char* name;
    HRESULT (*call)(Booth&);
    bool worksAfterAShot = false;  // from inside the file-saved notification it must succeed
};

HRESULT Call(Booth& b, const char* name, const std::function<HRESULT(IOvCanonSDK*)>& call) {
    return b.Do(name, [&] { return call(b.Object()); });
}

const HostCall kCalls[] = {
    {"DoModal", [](Booth& b) { return b.RunModal(); }},
    {"InitKamvioDlg",
     [](Booth& b) { return Call(b, "InitKamvioDlg", [&](IOvCanonSDK* o) { return o->InitKamvioDlg(reinterpret_cast<LONG*>(&b.Para()), nullptr, nullptr, nullptr); }); }},
    {"CreateKamvioDlg", [](Booth& b) { return Call(b, "CreateKamvioDlg", [](IOvCanonSDK* o) { return o->CreateKamvioDlg(nullptr); }); }},
    {"DestroyKamvioDlg", [](Booth& b) { return Call(b, "DestroyKamvioDlg", [](IOvCanonSDK* o) { return o->DestroyKamvioDlg(nullptr); }); }, true},
    {"GetDeviceCounts", [](Booth& b) { ULONG n = 0; return Call(b, "GetDeviceCounts", [&](IOvCanonSDK* o) { return o->GetDeviceCounts(&n, nullptr); }); }},
    {"GetSouceInfo",
     [](Booth& b) { SourceInfo s[2] = {}; return Call(b, "GetSouceInfo", [&](IOvCanonSDK* o) { return o->GetSouceInfo(2, reinterpret_cast<LONG*>(s), nullptr); }); }},
    {"Connect",
     [](Booth& b) { SourceInfo s = b.Source(0); return Call(b, "Connect", [&](IOvCanonSDK* o) { return o->Connect(reinterpret_cast<LONG*>(&s), nullptr); }); }},
    {"Disconnect", [](Booth& b) { return Call(b, "Disconnect", [](IOvCanonSDK* o) { return o->Disconnect(nullptr); }); }, true},
    {"PopSettingDlg", [](Booth& b) { b.Settings(); return b.Steps().back().result; }},
    {"TakePhoto", [](Booth& b) { return Call(b, "TakePhoto", [](IOvCanonSDK* o) { return o->TakePhoto(nullptr); }); }, true},
    {"OpenViewFinder", [](Booth& b) { return Call(b, "OpenViewFinder", [](IOvCanonSDK* o) { return o->OpenViewFinder(1, nullptr); }); }},
    {"OpenCameraLCDView", [](Booth& b) { return Call(b, "OpenCameraLCDView", [](IOvCanonSDK* o) { return o->OpenCameraLCDView(1, nullptr); }); }},
    {"GetMaxZoomPos", [](Booth& b) { ULONG m = 0; return Call(b, "GetMaxZoomPos", [&](IOvCanonSDK* o) { return o->GetMaxZoomPos(&m, nullptr); }); }},
    {"SetZoomPos", [](Booth& b) { return Call(b, "SetZoomPos", [](IOvCanonSDK* o) { return o->SetZoomPos(2, nullptr); }); }},
    {"GetCurrentZoomPos", [](Booth& b) { ULONG p = 0; return Call(b, "GetCurrentZoomPos", [&](IOvCanonSDK* o) { return o->GetCurrentZoomPos(&p, nullptr); }); }},
    {"InitDCSettingByIniFile", [](Booth& b) { b.Stored(); return b.Steps().back().result; }},
    {"SetDestFrameSize", [](Booth& b) { return Call(b, "SetDestFrameSize", [](IOvCanonSDK* o) { return o->SetDestFrameSize(350, 450, nullptr); }); }},
    {"SetAdjustLinePos",
     [](Booth& b) { ULONG x[] = {100}, y[] = {200}; return Call(b, "SetAdjustLinePos", [&](IOvCanonSDK* o) { return o->SetAdjustLinePos(1, x, 1, y, nullptr); }); }},
    {"IsConnected", [](Booth& b) { LONG c = 0; return Call(b, "IsConnected", [&](IOvCanonSDK* o) { return o->IsConnected(&c, nullptr); }); }},
    {"Release", [](Booth& b) { b.ReleaseObject(); return S_OK; }},
};

const char* const kNoteNames[] = {"file saved", "viewfinder available", "status", "powered off"};

// The booth's day with the camera switched off near its end, so that every notification comes.
void DayWithPowerOff(Booth& b) {
    b.Open();
    if (b.ConnectFirst()) {
        b.ViewOn();
        b.Shoot();
        if (Sim().SimPowerOff()) b.WaitForNote(Booth::PoweredOff, 1, 3000);
    }
    b.Close();
}

// Every method, and the final release, from inside each notification of the first time it comes.
TEST(HostReentry, EveryCallFromInsideEveryNotificationNeitherHangsNorBreaksAnything) {
    int runs = 0;
    for (int note = 0; note < Booth::NoteCount; ++note)
        for (const HostCall& c : kCalls) {
            const std::string what = std::string(c.name) + " inside " + kNoteNames[note];
            SCOPED_TRACE(what);
            std::string folder = FreshBoothDay(kTwoCameras);
            Booth booth(folder);
            bool called = false;
            HRESULT result = E_UNEXPECTED;
            booth.onNote = [&](Booth::Note heard) {
                if (heard != note || called) return;
                called = true;
                result = c.call(booth);
            };
            booth.RunOrEnd(DayWithPowerOff, kRunDeadlineMs, what);
            ++runs;
            EXPECT_TRUE(called) << "the notification came";
            // The power-off warning comes on a thread of its own: it belongs to this run.
            if (booth.Notes(Booth::PoweredOff)) {
                EXPECT_TRUE(test_support::PumpUntil([&] { return !Boxes().empty(); }, 3000));
            }
            EXPECT_EQ("", LeftOpen() + Violations()) << booth.StepText();
            // (a transfer the power-off cut short may leave its part of a file)
            EXPECT_EQ("", CheckShots(folder, false)) << "every image the camera sent is on disk";
            // The calls that end the session or take a new shot do so from there too.
            if (note == Booth::FileSaved && c.worksAfterAShot) { EXPECT_EQ(S_OK, result); }
        }
    std::cout << "host re-entry: " << runs << " runs" << std::endl;
}

// The settings window picks the last white balance the camera offers, then OK; *code gets it.
std::function<void(HWND)> PickLastWhiteBalance(LRESULT* code) {
    return [code](HWND settings) {
        HWND list = GetDlgItem(settings, IDC_CmbWB);
        const LRESULT last = SendMessageA(list, CB_GETCOUNT, 0, 0) - 1;
        SendMessageA(list, CB_SETCURSEL, last, 0);
        SendMessageA(settings, WM_COMMAND, MAKEWPARAM(IDC_CmbWB, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        *code = SendMessageA(list, CB_GETITEMDATA, last, 0);
        PostMessageA(settings, WM_COMMAND, IDOK, 0);
    };
}

void Click(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// The modal window beside the embedded one: each has its camera, both shoot, and when the modal
// one is closed the embedded one still shoots and shows its live view. Then the settings follow
// the camera the embedded window is connected to now.
TEST(HostReentry, TheModalWindowBesideTheEmbeddedOneAndReconnectsToAnotherCamera) {
    std::string folder = FreshBoothDay(kTwoCameras);
    Booth booth(folder);
    uint32_t framesBefore = 0, framesAfter = 0;
    LRESULT firstWhite = -1, secondWhite = -1;
    bool ended = booth.Run(
        [&](Booth& b) {
            b.Open();
            if (!b.ConnectFirst()) return;
            b.ViewOn();
            b.Shoot();
            int step = 0;
            b.onModal = [&](HWND modal) {
                if (step == 0) {  // the modal window takes the second camera
                    SendDlgItemMessageA(modal, IDC_HandleCanonDlg_SourceCmb, CB_SETCURSEL, 1, 0);
                    Click(modal, IDC_HandleCanonDlg_Connect);
                    step = 1;
                } else if (step == 1) {  // both windows shoot at once
                    step = 2;  // first: the timer comes again while the shots are waited for
                    Click(modal, IDC_HandleCanonDlg_Release);
                    b.Shoot();
                } else if (Sim().SimSentItemCount() >= 5) {
                    PostMessageA(modal, WM_COMMAND, IDOK, 0);
                }
            };
            b.RunModal();
            b.onModal = nullptr;
            b.Shoot();
            framesBefore = Sim().SimFramesDelivered();
            test_support::PumpFor(300);
            framesAfter = Sim().SimFramesDelivered();
            b.onSettings = PickLastWhiteBalance(&firstWhite);
            b.Settings();
            b.Disconnect();
            SourceInfo second = b.Source(1);
            b.Do("Connect", [&] { return b.Object()->Connect(reinterpret_cast<LONG*>(&second), nullptr); });
            b.onSettings = PickLastWhiteBalance(&secondWhite);
            b.Settings();
            b.Disconnect();
        },
        kRunDeadlineMs);
    ASSERT_TRUE(ended) << "hang after " << booth.StepText();
    EXPECT_EQ("InitKamvioDlg=0 CreateKamvioDlg=0 GetDeviceCounts=0 GetSouceInfo=0 Connect=0 OpenViewFinder=0 "
              "TakePhoto=0 FileSaved=0 TakePhoto=0 FileSaved=0 DoModal=0 TakePhoto=0 FileSaved=0 PopSettingDlg=0 "
              "Disconnect=0 IsConnected=1 Connect=0 PopSettingDlg=0 Disconnect=0 IsConnected=1 DestroyKamvioDlg=0 ",
              booth.StepText());
    EXPECT_LT(framesBefore, framesAfter) << "the embedded live view runs on after the modal window";
    uint32_t white = 0;
    EXPECT_TRUE(Sim().SimGetSetting("Camera1.WB", &white));
    EXPECT_EQ(static_cast<uint32_t>(firstWhite), white);
    EXPECT_TRUE(Sim().SimGetSetting("Camera2.WB", &white));
    EXPECT_EQ(static_cast<uint32_t>(secondWhite), white) << "the second camera's settings reach the second camera";
    EXPECT_EQ(7u, Sim().SimSentItemCount()) << "three embedded shots of two items, one modal shot of one";
    EXPECT_EQ("", CheckShots(folder));
    EXPECT_EQ("", LeftOpen() + Violations());
    EXPECT_EQ("", Boxes());
}

}  // namespace
