// kamvio_bench [startup|frames|pacing|transfer|streams|longrun ...]: the named benchmarks (all
// when none is named) in one process, then one table. Figures only: nothing fails on a time.
#include <objbase.h>

#include <cstdio>
#include <cstring>

#include "bench/bench_support.h"

int main(int argc, char** argv) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    HMODULE kamvio = LoadLibraryA("Kamvio.dll");
    auto call = [&](const char* name) {
        auto entry = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(GetProcAddress(kamvio, name)));
        return entry ? entry() : E_FAIL;
    };
    if (call("DllRegisterServer") != S_OK) {
        fprintf(stderr, "Kamvio.dll could not be registered\n");
        return 1;
    }
    // Start-up first: it measures loads of CDSDK.dll that nothing else holds yet.
    const struct {
        const char* name;
        void (*run)();
    } benchmarks[] = {{"startup", bench::Startup},   {"frames", bench::FrameCost},        {"pacing", bench::FramePacing},
                      {"transfer", bench::Transfer}, {"streams", bench::StreamThroughput}, {"longrun", bench::LongRun}};
    HMODULE sdk = nullptr;
    for (const auto& b : benchmarks) {
        bool wanted = argc < 2;
        for (int i = 1; i < argc; ++i) wanted = wanted || strcmp(argv[i], b.name) == 0;
        if (wanted) printf("== %s\n", b.name), fflush(stdout), b.run();
        // From here on the simulator's control exports stay valid.
        if (!sdk) sdk = LoadLibraryA("CDSDK.dll");
    }
    bench::PrintTable();
    call("DllUnregisterServer");
    FreeLibrary(sdk);
    CoUninitialize();
    return 0;
}
