// KamvioHost: a small application of the kind that uses the component, through COM only.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/demo_window.h"
#include "host/host_options.h"
#include "host/scripted_shoot.h"

namespace {

class ComApartment {
public:
    ComApartment() : m_hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(m_hr)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool ok() const { return SUCCEEDED(m_hr); }

private:
    HRESULT m_hr;
};

int RunInteractive(const HostOptions& options) {
    DemoWindow demo;
    std::string error;
    if (!demo.Open(options.liveOnly, &error)) {
        std::fprintf(stderr, "KamvioHost: %s\n", error.c_str());
        MessageBoxA(nullptr, error.c_str(), "Kamvio demo host", MB_OK | MB_ICONERROR);
        return 1;
    }
    demo.Pose(options);
    return demo.RunMessageLoop();
}

}  // namespace

int main(int argc, char** argv) {
    HostOptions options = ParseHostOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options.error.empty()) {
        std::fprintf(stderr, "KamvioHost: %s\n%s", options.error.c_str(), HostUsage());
        return 2;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    ComApartment com;
    if (!com.ok()) {
        std::fprintf(stderr, "KamvioHost: starting COM failed\n");
        return 1;
    }
    return options.scripted ? RunScriptedShoot(options) : RunInteractive(options);
}
