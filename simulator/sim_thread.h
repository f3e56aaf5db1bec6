// Threads of the simulator and the waits for them.
#pragma once

#include <windows.h>

#include "platform/handles.h"

namespace sim {

// Starts a thread that keeps this DLL loaded until it has returned, so a host that unloads the
// library early cannot pull the code from under it. Returns a null handle on failure.
UniqueHandle StartModuleThread(LPTHREAD_START_ROUTINE procedure, void* argument, DWORD* threadId);

// Waits for `handle` while still handling messages sent to the calling thread's windows: a
// callback that sends to the caller's window (as the component's event callback does) then
// cannot deadlock against a caller that waits for that callback to end.
void WaitHandlingSentMessages(HANDLE handle);

}  // namespace sim
