// What every SDK entry point does around its own work: the call log, injected faults and
// the check that the SDK is started.
#pragma once

#include <string.h>

#include "simulator/simulator.h"

namespace sim {

class EntryCall {
public:
    template <typename... Args>
    explicit EntryCall(const char* name, Args... args) {
        memset(&record, 0, sizeof record);
        strncpy(record.name, name, sizeof record.name - 1);
        const uintptr_t values[] = {Value(args)..., 0};
        record.argc = sizeof...(Args);
        for (uint32_t i = 0; i < record.argc && i < 8; ++i) record.args[i] = values[i];
        record.threadId = GetCurrentThreadId();
    }
    // Input bytes of a Set call, as far as they fit.
    void Capture(const void* data, uint32_t size) {
        if (!data) return;
        record.dataSize = size < sizeof record.data ? size : static_cast<uint32_t>(sizeof record.data);
        memcpy(record.data, data, record.dataSize);
    }
    const char* Name() const { return record.name; }

    SimCall record;

private:
    template <typename T>
    static uintptr_t Value(T* pointer) {
        return reinterpret_cast<uintptr_t>(pointer);
    }
    template <typename T>
    static uintptr_t Value(T value) {
        return static_cast<uintptr_t>(value);
    }
};

// Runs `body(sim)` unless a fault answers for it or the SDK is not started; logs the call.
// The body takes the lock itself, and must release it before calling out.
template <typename Body>
cdError RunEntry(EntryCall& call, Body&& body) {
    Simulator& sim = Simulator::Get();
    cdError status = 0;
    bool answered = true;
    {
        std::lock_guard<std::mutex> lock(sim.mutex);
        if (sim.powerOffAt == call.Name() && !(sim.powerOffChunks && sim.powerOffAt == "CDGetReleasedData")) {
            sim.powerOffAt.clear();
            sim.SwitchOff(cdEVENT_SHUTDOWN_POWER_OFF);
        }
        if (sim.faults.Take(call.Name(), &status)) {
            // An injected failure has no effect besides the log.
        } else if (sim.startCount == 0 && strcmp(call.Name(), "CDStartSDK") != 0) {
            sim.Violation(call.Name(), sim.everStarted ? "called after CDFinishSDK" : "called before CDStartSDK");
            status = cdSEQUENCE_ERROR;
        } else {
            answered = false;
        }
    }
    if (!answered) status = body(sim);
    std::lock_guard<std::mutex> lock(sim.mutex);
    call.record.status = status;
    sim.log.Add(call.record);
    return status;
}

using Lock = std::unique_lock<std::mutex>;

}  // namespace sim
