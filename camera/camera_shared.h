// State shared by every camera controller of the process.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

struct CameraRegisteredMessages {
    UINT releaseOn = 0;        // "Camera Event ReleaseOn" (registered, never posted)
    UINT releaseComplete = 0;  // "Camera Event ReleaseComplete"
    UINT abortPcEvf = 0;       // "Camera Event Abort PC EVF"
};

// Registers the three messages; false when any registration fails.
bool RegisterCameraMessages();
const CameraRegisteredMessages& CameraMessages();

// Set when a connection attempt ends, cleared when a camera shuts down or is disconnected.
std::atomic<bool>& CameraAliveFlag();

// Saved-image counter, advanced after every item written into a file.
std::atomic<uint32_t>& CameraFileCounterValue();
