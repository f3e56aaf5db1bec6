// What hosts do: call back into the component from inside its notifications, open the modal
// window beside the embedded one, reconnect. Each run is bounded in time: a hang fails it.
#include <cstdio>
#include <iostream>

#include "resources/resource_ids.h"
#include "tests/common/sim_access.h"
#include "tests/common/test_support.h"
#include "tests/hardening/booth.h"

namespace {

const char kTwoCameras[] =
    "[Simulator]\nCameras=2\nChunkSize=4096\n"
    "[Camera1]\nModel=Booth Compact\nCapability=4\nViewFps=30\nZoomMax=10\nItems=0x20:1:20000,0x10:1:3000\n"
    "[Camera2]\nModel=Booth Second\nCapability=4\nViewFps=30\nItems=0x20:1:15000\n";
constexpr DWORD kRunDeadlineMs = 30000;

// What is left of the day in the simulator: open sources, enumerations or starts, the ledger.
std::string Leftovers() {
    uint32_t open = 0, enums = 0, running = 0;
    Sim().SimGetSetting("OpenSources", &open);
    Sim().SimGetSetting("OpenEnumerations", &enums);
    Sim().SimGetSetting("Started", &running);
    char text[96];
    snprintf(text, sizeof text, "sources/enumerations/starts %u/%u/%u", open, enums, running);
    return (open || enums || running ? std::string(text) + "; " : "") + Violations();
}

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
            bool ended = booth.Run(DayWithPowerOff, kRunDeadlineMs);
            if (!ended) {
                std::cerr << "HANG: " << what << " after " << booth.StepText() << std::endl;
                ADD_FAILURE() << "hang: " << what;
                fflush(nullptr);
                TerminateProcess(GetCurrentProcess(), 3);
            }
            ++runs;
            EXPECT_TRUE(called) << "the notification came";
            EXPECT_EQ("", Leftovers()) << booth.StepText();
            // (a transfer the power-off cut short may leave its part of a file)
            EXPECT_EQ("", CheckShots(folder, false)) << "every image the camera sent is on disk";
            // The calls that end the session or take a new shot do so from there too.
            if (note == Booth::FileSaved && c.worksAfterAShot) { EXPECT_EQ(S_OK, result); }
        }
    std::cout << "host re-entry: " << runs << " runs" << std::endl;
}

}  // namespace
