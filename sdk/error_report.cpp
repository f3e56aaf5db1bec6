#include "sdk/error_report.h"

#include <cstdio>
#include <mutex>

#include "platform/host_folder.h"
#include "sdk/message_translator.h"
#include "sdk/notice.h"

namespace {

// Process-wide switch for SDK failure boxes: off, and no operation turns it on.
const bool kShowSdkErrorBoxes = false;

MessageTranslator& ProcessTranslator() {
    static MessageTranslator translator;
    static std::once_flag once;
    std::call_once(once, [] {
        if (translator.SetFile((HostExecutableFolder() + "\\KamvioML.ini").c_str()))
            translator.SetSection("Error Message");
    });
    return translator;
}

}  // namespace

BOOL ReportSdkError(uint32_t code, const char* operation) {
    if (code == 0) return TRUE;
    if (!operation) return FALSE;
    if (kShowSdkErrorBoxes) {
        char text[160];
        std::snprintf(text, sizeof text, "%s failed: 0x%08X", operation, static_cast<unsigned>(code));
        ShowNotice(nullptr, text, "Kamvio", MB_OK | MB_ICONEXCLAMATION);
    }
    return TRUE;
}

BOOL ShowMessage(std::string caption, std::string text) {
    ProcessTranslator().InformationBox(text.c_str(), caption.c_str(), nullptr);
    return TRUE;
}
