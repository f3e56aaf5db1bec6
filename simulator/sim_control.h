// Test and control exports of the simulated CDSDK.dll (beside the 82 SDK entry points).
// Tests load them with GetProcAddress from the same module the component loaded, or fill a
// SimApi (sim_api.h) with Load(). All are __stdcall, exported undecorated.
#pragma once

#include <stdint.h>

#include "sdk/cdsdk_contract.h"

#pragma pack(push, 4)
// One logged SDK call.
struct SimCall {
    char name[48];        // entry point name, e.g. "CDSetWBSetting"
    uint32_t argc;        // number of arguments
    uintptr_t args[8];    // the raw arguments in order (pointers as addresses)
    uint32_t dataSize;    // bytes captured from the input buffer of a Set... call
    uint8_t data[64];     //   (CDSetRelCamSettingData: size bytes; CDSetDevicePropertyData: *size bytes)
    uint32_t status;      // what the call returned
    uint32_t threadId;    // calling thread
};
#pragma pack(pop)

// Declares every control export once: X(return type, name, parameter list).
#define SIM_CONTROL_EXPORTS(X)                                                                             \
    /* Back to the configuration given by KAMVIO_SIM_CONFIG / CDSDK.ini / built-in defaults;             \
       clears log, ledger, faults and sent items. Must not be called while the SDK is started. */          \
    X(uint32_t, SimReset, (void))                                                                          \
    /* Replace the configuration: an INI file, or INI text in memory. 1 ok, 0 parse/open error. */       \
    X(uint32_t, SimLoadConfigFile, (const char* path))                                                     \
    X(uint32_t, SimLoadConfigText, (const char* text))                                                     \
    /* Make entry point `name` return `status`: count > 0 for the next count calls, count < 0 always,    \
       count 0 removes the fault. The call then has no effect besides the log. */                         \
    X(uint32_t, SimSetFault, (const char* name, uint32_t status, int32_t count))                           \
    X(void, SimClearFaults, (void))                                                                        \
    /* Fire events on a simulator thread (asynchronous; returns 1 when a callback is registered).        \
       Pump messages until SimPendingEvents() is 0 to see their effect. */                                 \
    X(uint32_t, SimFireDeviceEvent, (uint32_t event, uint32_t data))                                       \
    X(uint32_t, SimFireReleaseEvent, (uint32_t event, const void* data, uint32_t size))                    \
    X(uint32_t, SimPendingEvents, (void))                                                                  \
    /* The camera's shutter button: release event 0x1E. */                                                 \
    X(uint32_t, SimPressShutter, (void))                                                                   \
    /* The open camera is switched off (device event 0x00040001, then every call on the source           \
       fails with cdDEVICE_NOT_FOUND) or unplugged (0x00040002, same effect). */                         \
    X(uint32_t, SimPowerOff, (void))                                                                       \
    X(uint32_t, SimUnplug, (void))                                                                         \
    /* Call log. */                                                                                        \
    X(uint32_t, SimLogCount, (void))                                                                       \
    X(uint32_t, SimLogGet, (uint32_t index, SimCall* call))                                                \
    X(void, SimLogClear, (void))                                                                           \
    /* Contract violations, as text lines. */                                                              \
    X(uint32_t, SimViolationCount, (void))                                                                 \
    X(uint32_t, SimViolationGet, (uint32_t index, char* buffer, uint32_t size))                            \
    X(void, SimViolationClear, (void))                                                                     \
    /* Current value of a camera setting by its configuration key (e.g. "ShootingMode", "ZoomPos",       \
       "WB", "Av", "Tv", "ExpComp", "Flash", "FlashSecond", "ImageSize", "ImageQuality",                  \
       "RelCam.0x08000004", "Lcd", "ReleaseDataKind"). 1 when the key exists. */                          \
    X(uint32_t, SimGetSetting, (const char* key, uint32_t* value))                                         \
    X(uint32_t, SimGetSettingText, (const char* key, char* buffer, uint32_t size)) /* "Owner" */           \
    /* Data items sent by CDGetReleasedData transfers since the last reset, oldest first; the last 32     \
       are kept. SimSentItemGet copies min(size, item size) bytes and returns the item size. */          \
    X(uint32_t, SimSentItemCount, (void))                                                                  \
    X(uint32_t, SimSentItemGet, (uint32_t index, void* buffer, uint32_t size))                             \
    /* Viewfinder frames delivered since the SDK started. */                                               \
    X(uint32_t, SimFramesDelivered, (void))                                                                \
    /* Cameras switched off or unplugged are back: listed and openable again (open sources of them       \
       stay dead until closed). Returns the number of cameras switched back on. */                         \
    X(uint32_t, SimPowerOn, (void))                                                                        \
    /* Why the last configuration was refused (or the start-up one fell back to the defaults); empty      \
       when it was accepted. Returns the text's length. */                                                 \
    X(uint32_t, SimConfigError, (char* buffer, uint32_t size))                                             \
    /* The description of sent item `index` (kind, format, size). 1 when the item exists. */             \
    X(uint32_t, SimSentItemInfo, (uint32_t index, cdReleaseImageInfo* info))                             \
    /* The camera switches off (as SimPowerOff) at the next call of entry `name`, before that call       \
       answers; for "CDGetReleasedData" with chunks > 0, after `chunks` body writes of the next          \
       transfer instead. A null or empty name disarms. 0 for an unknown name. */                          \
    X(uint32_t, SimPowerOffAt, (const char* name, uint32_t chunks))

#define SIM_DECLARE_PFN(ret, name, params) typedef ret(CDAPI* PFN_##name) params;
SIM_CONTROL_EXPORTS(SIM_DECLARE_PFN)
#undef SIM_DECLARE_PFN
