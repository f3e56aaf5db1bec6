// Delivers device events and release events on the simulator's own thread, one at a time, in
// the order they were raised. Every method is called with the simulator's lock held (the
// waits release it meanwhile); callbacks run with the lock released.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/handles.h"
#include "sdk/cdsdk_contract.h"

namespace sim {

struct EventTarget {
    enum Kind { Device, Release } kind = Device;
    cdHSource source = 0;
    cdHandle registration = 0;  // device events only

    bool operator==(const EventTarget& o) const {
        return kind == o.kind && source == o.source && registration == o.registration;
    }
};

// The callback still registered for a target, found at delivery time.
struct EventReceiver {
    cdEventCallback callback = nullptr;
    cdContext context = 0;
};

class EventDispatcher {
public:
    using Resolver = std::function<bool(const EventTarget&, EventReceiver*)>;

    EventDispatcher(std::mutex& lock, Resolver resolver);
    EventDispatcher(const EventDispatcher&) = delete;
    EventDispatcher& operator=(const EventDispatcher&) = delete;

    // Queues an event; starts the thread when none runs. False when no thread could be started.
    bool Post(const EventTarget& target, uint32_t event, const void* data, uint32_t size);
    // Queued events plus the one being delivered.
    size_t Pending() const { return queue_.size() + (busy_ ? 1 : 0); }
    // Returns once no callback for a target matching `which` runs (at once on the event thread).
    void WaitUntilNotDelivering(std::unique_lock<std::mutex>& held, const std::function<bool(const EventTarget&)>& which);
    // Drops what is queued, waits for a running callback, ends the thread.
    void Stop(std::unique_lock<std::mutex>& held);

private:
    struct Queued {
        EventTarget target;
        uint32_t event;
        std::vector<uint8_t> data;
    };
    static DWORD WINAPI ThreadMain(void* start);
    void Run(uint32_t generation);

    std::mutex& lock_;
    Resolver resolver_;
    std::deque<Queued> queue_;
    bool busy_ = false;
    EventTarget delivering_;
    uint32_t generation_ = 0;  // a thread runs while this is the one it started with
    UniqueHandle wake_;  // auto-reset: something was queued, or stop
    UniqueHandle idle_;  // manual-reset: no callback runs
    UniqueHandle thread_;
    DWORD threadId_ = 0;
};

}  // namespace sim
