#include "tests/camera/sim_access.h"

#include "tests/common/test_support.h"

SimAccess& Sim() {
    static SimAccess access = [] {
        SimAccess a;
        HMODULE module = LoadLibraryA((test_support::ExeFolder() + "\\CDSDK.dll").c_str());
        if (!module) return a;
        bool all = true;
#define SIM_ACCESS_RESOLVE(ret, name, params)                                                     \
    a.name = reinterpret_cast<PFN_##name>(reinterpret_cast<void*>(GetProcAddress(module, #name))); \
    all = all && a.name != nullptr;
        SIM_CONTROL_EXPORTS(SIM_ACCESS_RESOLVE)
#undef SIM_ACCESS_RESOLVE
        a.loaded = all;
        return a;
    }();
    return access;
}

std::vector<SimCall> SimCalls() {
    std::vector<SimCall> calls;
    uint32_t n = Sim().SimLogCount();
    for (uint32_t i = 0; i < n; ++i) {
        SimCall call{};
        if (Sim().SimLogGet(i, &call)) calls.push_back(call);
    }
    return calls;
}

std::vector<std::string> SimCallNames() {
    std::vector<std::string> names;
    for (const SimCall& c : SimCalls()) names.push_back(c.name);
    return names;
}

std::vector<std::string> SimViolations() {
    std::vector<std::string> lines;
    uint32_t n = Sim().SimViolationCount();
    for (uint32_t i = 0; i < n; ++i) {
        char buffer[512] = {};
        Sim().SimViolationGet(i, buffer, sizeof buffer);
        lines.push_back(buffer);
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& n : names) text += (text.empty() ? "" : " ") + n;
    return text;
}
