#include "simulator/sim_thread.h"

#include <memory>

namespace sim {

namespace {

struct ThreadStart {
    LPTHREAD_START_ROUTINE procedure;
    void* argument;
    HMODULE module;
};

DWORD WINAPI ModuleThread(void* parameter) {
    std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
    DWORD result = start->procedure(start->argument);
    HMODULE module = start->module;
    start.reset();
    FreeLibraryAndExitThread(module, result);
}

}  // namespace

UniqueHandle StartModuleThread(LPTHREAD_START_ROUTINE procedure, void* argument, DWORD* threadId) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&ModuleThread),
                            &module)) {
        return UniqueHandle();
    }
    auto start = std::make_unique<ThreadStart>(ThreadStart{procedure, argument, module});
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, ModuleThread, start.get(), 0, &id);
    if (!thread) {
        FreeLibrary(module);
        return UniqueHandle();
    }
    start.release();  // the thread owns it now
    if (threadId) *threadId = id;
    return UniqueHandle(thread);
}

void WaitHandlingSentMessages(HANDLE handle) {
    for (;;) {
        DWORD result = MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_SENDMESSAGE, 0);
        if (result != WAIT_OBJECT_0 + 1) return;  // signalled, or the wait itself failed
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // delivers sent messages
    }
}

}  // namespace sim
