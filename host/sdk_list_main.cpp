// Lists the cameras that CDSDK.dll (beside this executable) reports.
#include <windows.h>

#include <cstdio>

#include "platform/host_folder.h"
#include "sdk/sdk_loader.h"

int main() {
    if (LoadSdk(HostExecutableFolder().c_str()) != 0) {
        std::fprintf(stderr, "KamvioHost: loading CDSDK.dll failed\n");
        return 1;
    }
    cdVersionInfo version = {};
    version.size = sizeof version;
    version.major = 6;
    cdError status = g_sdk.CDStartSDK(&version, 0);
    if (!cdSucceeded(status)) {
        std::fprintf(stderr, "KamvioHost: CDStartSDK failed with 0x%08X\n", static_cast<unsigned>(status));
        UnloadSdk();
        return 1;
    }
    int result = 0;
    cdHEnum enumeration = 0;
    uint32_t count = 0;
    status = g_sdk.CDEnumDeviceReset(1, &enumeration);
    if (cdSucceeded(status)) status = g_sdk.CDGetDeviceCount(enumeration, &count);
    if (!cdSucceeded(status)) {
        std::fprintf(stderr, "KamvioHost: listing cameras failed with 0x%08X\n", static_cast<unsigned>(status));
        result = 1;
    } else {
        std::printf("%u camera(s)\n", count);
        for (uint32_t i = 0; i < count; ++i) {
            SourceInfo info = {};
            if (!cdSucceeded(g_sdk.CDEnumDeviceNext(enumeration, &info))) break;
            info.modelName[sizeof info.modelName - 1] = '\0';
            std::printf("  %u: %s (source type %u)\n", i + 1, info.modelName, info.sourceType);
        }
    }
    if (enumeration) g_sdk.CDEnumDeviceRelease(enumeration);
    g_sdk.CDFinishSDK();
    UnloadSdk();
    return result;
}
