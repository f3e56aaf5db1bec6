#include "platform/resource_module.h"

#include <atomic>

namespace {
std::atomic<HINSTANCE> g_resourceModule{nullptr};
}

HINSTANCE ResourceModule() {
    HINSTANCE module = g_resourceModule.load();
    return module ? module : GetModuleHandleA(nullptr);
}

void SetResourceModule(HINSTANCE module) { g_resourceModule.store(module); }
