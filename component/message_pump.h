// Waiting inside a member call with the thread's messages handled: a script host's thread runs
// no message loop of its own while it waits for a member, and the camera's news arrive as
// window messages.
#pragma once

#include <windows.h>

#include <functional>

// Dispatches this thread's messages until done() is true or timeoutMs passed; returns done().
// A WM_QUIT is put back for the caller's own loop and ends the wait.
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs);
