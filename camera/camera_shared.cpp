#include "camera/camera_shared.h"

#include "camera/camera_controller.h"
#include "platform/host_folder.h"
#include "sdk/message_translator.h"

namespace {

CameraRegisteredMessages g_messages;
std::atomic<uint32_t> g_fileCounter{0};

}  // namespace

bool RegisterCameraMessages() {
    g_messages.releaseOn = RegisterWindowMessageA("Camera Event ReleaseOn");
    g_messages.releaseComplete = RegisterWindowMessageA("Camera Event ReleaseComplete");
    g_messages.abortPcEvf = RegisterWindowMessageA("Camera Event Abort PC EVF");
    return g_messages.releaseOn && g_messages.releaseComplete && g_messages.abortPcEvf;
}

const CameraRegisteredMessages& CameraMessages() { return g_messages; }

std::atomic<uint32_t>& CameraFileCounterValue() { return g_fileCounter; }

void OpenErrorTexts(MessageTranslator* texts) {
    texts->SetFile((HostExecutableFolder() + "\\KamvioML.ini").c_str());
    texts->SetSection("Error Message");
}

uint32_t CameraFileCounter() { return g_fileCounter.load(); }
