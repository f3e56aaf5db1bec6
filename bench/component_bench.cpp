// The component as a host meets it through COM: opening the camera window, and a long session.
#include "bench/bench_support.h"
#include "camera/camera_messages.h"
#include "kamvio_idl.h"
#include "platform/handles.h"
#include "resources/resource_ids.h"
#include "sdk/sdk_loader.h"
#include "simulator/sim_api.h"

namespace bench {
namespace {

std::string ExeFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

// A modeless camera window made the way a host makes it.
struct Component {
    Component(const Host& host, uint32_t showControls, const char* folder) : host(host) {
        KamvioPara para = host.Para(showControls, folder);
        if (SUCCEEDED(CoCreateInstance(CLSID_OvCanonSDK, nullptr, CLSCTX_INPROC_SERVER, IID_IOvCanonSDK, object.put_void()))) {
            object->InitKamvioDlg(reinterpret_cast<LONG*>(&para), nullptr, nullptr, nullptr);
            object->CreateKamvioDlg(nullptr);
        }
    }
    ~Component() {
        if (!object) return;
        object->Disconnect(nullptr);
        object->DestroyKamvioDlg(nullptr);
    }
    HWND Window() const { return FindWindowExA(host.hwnd(), nullptr, nullptr, nullptr); }
    bool Ready() const {  // shown, with its source list filled
        HWND window = Window();
        return window && IsWindowVisible(window) && SendDlgItemMessageA(window, IDC_HandleCanonDlg_SourceCmb, CB_GETCOUNT, 0, 0) > 0;
    }
    bool Connect() {
        SourceInfo source{};
        return object && object->GetSouceInfo(1, reinterpret_cast<LONG*>(&source), nullptr) == S_OK &&
               object->Connect(reinterpret_cast<LONG*>(&source), nullptr) == S_OK;
    }
    // Seconds from TakePhoto to the host's notification; 0 when none came.
    double Shoot(Host& h) {
        const uint32_t before = h.filesSaved;
        const int64_t start = Ticks();
        if (object->TakePhoto(nullptr) != S_OK || !PumpUntil([&] { return h.filesSaved != before; }, 60000)) return 0;
        return Seconds(h.lastSavedAt - start);
    }
    const Host& host;
    ComPtr<IOvCanonSDK> object;
};

// The bare template: what any window of the camera window's template costs to show.
INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

}  // namespace

void Startup() {
    AddSection("Start-up");
    const std::string folder = ExeFolder();
    std::vector<double> load, plain;
    for (int i = 0; i < 30; ++i) {  // nothing else holds CDSDK.dll yet: each load maps it afresh
        int64_t start = Ticks();
        const int loaded = LoadSdk(folder.c_str());
        load.push_back(Seconds(Ticks() - start));
        if (loaded == 0) UnloadSdk();
        start = Ticks();
        FreeLibrary(LoadLibraryA((folder + "\\CDSDK.dll").c_str()));
        plain.push_back(Seconds(Ticks() - start));
    }
    const double l = Percentile(load, 0.5), p = Percentile(plain, 0.5);
    AddRow({"LoadSdk (load CDSDK.dll, resolve 82 entries) vs LoadLibrary + FreeLibrary", Format("%.0f us", l * 1e6),
            Format("%.0f us", p * 1e6), l / p, "median of 30"});

    Host host;
    std::vector<double> open, bare;
    for (int i = 0; i < 21; ++i) {
        int64_t start = Ticks();
        {
            Component component(host, 1, nullptr);
            PumpUntil([&] { return component.Ready(); }, 10000);
            open.push_back(Seconds(Ticks() - start));
        }
        start = Ticks();
        HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(201), host.hwnd(), PlainDialog, 0);
        ShowWindow(window, SW_SHOW);
        PumpUntil([&] { return IsWindowVisible(window); }, 10000);
        bare.push_back(Seconds(Ticks() - start));
        DestroyWindow(window);
    }
    const double first = open.front();
    open.erase(open.begin());
    const double o = Percentile(open, 0.5), b = Percentile(bare, 0.5);
    AddRow({"CoCreateInstance + InitKamvioDlg + CreateKamvioDlg to the shown window with its source list, first",
            Format("%.1f ms", first * 1e3), "", 0, "first in the process: loads Kamvio.dll"});
    AddRow({"the same, later (median of 20) vs the bare template 201 shown", Format("%.1f ms", o * 1e3),
            Format("%.1f ms", b * 1e3), o / b, ""});
}

void LongRun() {
    AddSection("Long run: one session, 10,000 frames and 1,000 shots (20 KB), live view running at 100 fps");
    SimApi sim;
    if (!sim.Load()) return AddRow({"simulator control exports missing", "", "", 0, ""});
    sim.SimLoadConfigText("[Simulator]\nCameras=1\n[Camera1]\nItems=0x10:1:20480\nViewFps=100\n");
    Host host;
    const std::string folder = ScratchFolder("bench_session");
    {
    Component component(host, 1, folder.c_str());
    if (!component.Connect() || component.object->OpenViewFinder(TRUE, nullptr) != S_OK)
        return AddRow({"could not start the session", "", "", 0, ""});
    const std::vector<uint8_t> frame = MakeFrame(640, 480);
    uint32_t lines[] = {1000, 2000};
    component.object->SetDestFrameSize(4000, 3000, nullptr);
    component.object->SetAdjustLinePos(2, reinterpret_cast<ULONG*>(lines), 1, reinterpret_cast<ULONG*>(lines), nullptr);
    uint32_t failed = 0;
    auto round = [&] {  // ten frames and a shot
        for (int i = 0; i < 10; ++i)
            SendMessageA(component.Window(), WM_CAM_FRAME, WPARAM(frame.data()), LPARAM(frame.size()));
        failed += component.Shoot(host) > 0 ? 0 : 1;
        DeleteFileA(host.lastPath.c_str());
    };
    for (int i = 0; i < 40; ++i) round();  // caches, the release thread and the simulator's 32 kept items
    PumpUntil([] { return false; }, 500);
    // The simulator logs every SDK call (up to 65536 of them, some 13 MB): kept empty, so that
    // its growth is not counted as the component's.
    sim.SimLogClear();
    const Resources start = MeasureResources();
    const int64_t began = Ticks();
    std::string steps;  // private memory along the way: growth that stops is a high-water mark, not a leak
    for (int i = 0; i < 1000; ++i) {
        round();
        if (i % 100 == 99) sim.SimLogClear();
        if (i % 250 == 249) steps += Format("%s%.2f", steps.empty() ? "" : " / ", MeasureResources().privateMb);
    }
    PumpUntil([] { return false; }, 500);
    const Resources end = MeasureResources();
    const double seconds = Seconds(Ticks() - began);
    const struct {
        const char* name;
        double a, b;
        const char* unit;
    } counters[] = {{"GDI objects (Wine's shared GDI handle table)", double(start.gdi), double(end.gdi), ""},
                    {"USER objects (windows of this thread)", double(start.user), double(end.user), ""},
                    {"kernel handles (handle values that answer)", double(start.handles), double(end.handles), ""},
                    {"threads (Toolhelp snapshot)", double(start.threads), double(end.threads), ""},
                    {"private bytes (committed private memory)", start.privateMb, end.privateMb, " MB"}};
    for (const auto& c : counters)
        AddRow({c.name, Format("%.6g%s", c.b, c.unit), Format("%.6g%s at the start", c.a, c.unit), 0,
                Format("growth %+.6g%s", c.b - c.a, c.unit)});
    AddRow({"private MB after 250 / 500 / 750 / 1000 rounds", steps, "", 0, ""});
    AddRow({"session", Format("%.1f s", seconds), "", 0, Format("%u shots without notification", failed)});
    }
    RemoveFolder(folder);
    sim.SimReset();
}

}  // namespace bench
