#include "platform/modeless_keyboard.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

struct ThreadDialogs {
    DWORD thread;
    HHOOK hook;
    std::vector<HWND> dialogs;
};

// Each thread reaches only its own entry; the lock is for the list of threads.
struct Registry {
    std::mutex mutex;
    std::vector<ThreadDialogs> threads;

    std::vector<ThreadDialogs>::iterator Find(DWORD thread) {
        return std::find_if(threads.begin(), threads.end(), [thread](const ThreadDialogs& t) { return t.thread == thread; });
    }
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

// Deep nesting of windows ends somewhere; a loop in a broken window tree must not hang us.
constexpr int kMaxDepth = 256;

// The key messages of WM_KEYFIRST..WM_KEYLAST. The characters are left to the host's loop, which
// knows whether it reads them as ANSI or Unicode (a guess here could garble what the user types);
// our dialogs have no mnemonics for IsDialogMessage to find in them.
bool IsKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

}  // namespace

void ModelessKeyboard::Add(HWND dialog) {
    if (!dialog) return;
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    const DWORD thread = GetCurrentThreadId();
    auto entry = registry.Find(thread);
    if (entry == registry.threads.end()) entry = registry.threads.insert(registry.threads.end(), {thread, nullptr, {}});
    if (std::find(entry->dialogs.begin(), entry->dialogs.end(), dialog) == entry->dialogs.end())
        entry->dialogs.push_back(dialog);
    // A failed installation is tried again with the next dialog.
    if (!entry->hook) entry->hook = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, thread);
}

void ModelessKeyboard::Remove(HWND dialog) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto entry = registry.Find(GetCurrentThreadId());
    if (entry == registry.threads.end()) return;
    entry->dialogs.erase(std::remove(entry->dialogs.begin(), entry->dialogs.end(), dialog), entry->dialogs.end());
    if (!entry->dialogs.empty()) return;
    if (entry->hook) UnhookWindowsHookEx(entry->hook);
    registry.threads.erase(entry);
}

size_t ModelessKeyboard::InstalledHooks() {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    return static_cast<size_t>(std::count_if(registry.threads.begin(), registry.threads.end(),
                                             [](const ThreadDialogs& t) { return t.hook != nullptr; }));
}

HWND ModelessKeyboard::DialogOf(HWND target) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto entry = registry.Find(GetCurrentThreadId());
    if (entry == registry.threads.end()) return nullptr;
    const std::vector<HWND>& dialogs = entry->dialogs;
    HWND window = target;
    for (int depth = 0; window && depth < kMaxDepth; ++depth, window = GetAncestor(window, GA_PARENT))
        if (std::find(dialogs.begin(), dialogs.end(), window) != dialogs.end()) return window;
    return nullptr;
}

LRESULT CALLBACK ModelessKeyboard::GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    // Only a message on its way out of the queue: a peek that leaves it there would see it twice.
    if (code == HC_ACTION && wParam == PM_REMOVE && msg && IsKeyMessage(msg->message)) {
        // Called without the lock: the dialog's handlers may open or close dialogs meanwhile.
        HWND dialog = DialogOf(msg->hwnd);
        if (dialog && IsDialogMessageA(dialog, msg)) {
            // Done with; the host's loop dispatches nothing.
            msg->message = WM_NULL;
            msg->wParam = 0;
            msg->lParam = 0;
        }
    }
    // The hook may be gone by now (its last dialog closed on this key): no handle to pass on.
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
