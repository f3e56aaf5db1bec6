#include "sdk/notice.h"

#include <new>
#include <string>

namespace {

thread_local NoticeSink* t_sink = nullptr;

struct LaterBox {
    std::string text;
    std::string caption;
    UINT type;
    HMODULE module;  // keeps this code loaded while the box is up
};

DWORD WINAPI ShowLaterBox(LPVOID argument) {
    auto* box = static_cast<LaterBox*>(argument);
    MessageBoxA(nullptr, box->text.c_str(), box->caption.c_str(), box->type);
    HMODULE module = box->module;
    delete box;
    FreeLibraryAndExitThread(module, 0);
}

}  // namespace

NoticeScope::NoticeScope(NoticeSink* sink) : m_previous(t_sink) { t_sink = sink; }

NoticeScope::~NoticeScope() { t_sink = m_previous; }

NoticeSink* CurrentNoticeSink() { return t_sink; }

int ShowNotice(HWND owner, const char* text, const char* caption, UINT type) {
    if (t_sink) {
        t_sink->OnNotice(caption ? caption : "", text ? text : "");
        return IDOK;
    }
    return MessageBoxA(owner, text, caption, type);
}

void ShowNoticeLater(const char* text, const char* caption, UINT type) {
    if (t_sink) {
        t_sink->OnNotice(caption ? caption : "", text ? text : "");
        return;
    }
    auto* box = new (std::nothrow) LaterBox{text ? text : "", caption ? caption : "", type, nullptr};
    if (!box) return;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&ShowLaterBox),
                            &box->module)) {
        delete box;
        return;
    }
    HANDLE thread = CreateThread(nullptr, 0, ShowLaterBox, box, 0, nullptr);
    if (thread) {
        CloseHandle(thread);
        return;
    }
    FreeLibrary(box->module);
    delete box;
}
