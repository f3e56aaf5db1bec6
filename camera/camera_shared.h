// State shared by every camera controller of the process.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "platform/scoped_lock.h"
#include "sdk/cdsdk_contract.h"

class MessageTranslator;

// The part of an SDK status that tells success (0) from failure.
constexpr uint32_t Masked(cdError status) { return status & 0xFFFF; }

// Points a translator at the error texts: section "Error Message" of KamvioML.ini beside the
// host's executable. Threads other than the dialog's use a translator of their own.
void OpenErrorTexts(MessageTranslator* texts);

struct CameraRegisteredMessages {
    UINT releaseOn = 0;        // "Camera Event ReleaseOn" (registered, never posted)
    UINT releaseComplete = 0;  // "Camera Event ReleaseComplete"
    UINT abortPcEvf = 0;       // "Camera Event Abort PC EVF"
};

// Registers the three messages; false when any registration fails.
bool RegisterCameraMessages();
const CameraRegisteredMessages& CameraMessages();

// Saved-image counter, advanced after every item written into a file.
std::atomic<uint32_t>& CameraFileCounterValue();
