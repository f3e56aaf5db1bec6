// Dialog keys (Tab, Enter, Escape, arrows) for our modeless dialogs without the host's help: a
// host's message loop calls IsDialogMessage only for windows it knows, so a thread that holds
// one of our modeless dialogs gets a WH_GETMESSAGE hook that does it for them.
#pragma once

#include <windows.h>

#include <cstddef>

class ModelessKeyboard {
public:
    // Called on the dialog's own thread: the first dialog of a thread installs the thread's
    // hook, the last one removed takes it away again. Removing an unknown window does nothing.
    static void Add(HWND dialog);
    static void Remove(HWND dialog);

    // Hooks of ours installed now, over all threads.
    static size_t InstalledHooks();

private:
    static LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);
    // The dialog of this thread that `target` is, or lies in; null when none.
    static HWND DialogOf(HWND target);
};
