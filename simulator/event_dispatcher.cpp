#include "simulator/event_dispatcher.h"

#include "simulator/sim_thread.h"

namespace sim {

namespace {

struct DispatcherStart {
    EventDispatcher* dispatcher;
    uint32_t generation;
};

}  // namespace

EventDispatcher::EventDispatcher(std::mutex& lock, Resolver resolver)
    : lock_(lock), resolver_(std::move(resolver)), wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      idle_(CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

bool EventDispatcher::Post(const EventTarget& target, uint32_t event, const void* data, uint32_t size) {
    if (!thread_) {
        auto* start = new DispatcherStart{this, ++generation_};
        thread_ = StartModuleThread(ThreadMain, start, &threadId_);
        if (!thread_) {
            delete start;
            return false;
        }
    }
    Queued queued{target, event, {}};
    if (data && size) queued.data.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    queue_.push_back(std::move(queued));
    SetEvent(wake_.get());
    return true;
}

void EventDispatcher::WaitUntilNotDelivering(std::unique_lock<std::mutex>& held,
                                             const std::function<bool(const EventTarget&)>& which) {
    if (GetCurrentThreadId() == threadId_) return;  // a callback unregistering itself
    while (busy_ && which(delivering_)) {
        held.unlock();
        WaitHandlingSentMessages(idle_.get());
        held.lock();
    }
}

void EventDispatcher::Stop(std::unique_lock<std::mutex>& held) {
    queue_.clear();
    if (!thread_) return;
    ++generation_;
    SetEvent(wake_.get());
    UniqueHandle thread = std::move(thread_);
    if (GetCurrentThreadId() == threadId_) return;  // stopped from a callback: the thread ends after it
    threadId_ = 0;
    held.unlock();
    WaitHandlingSentMessages(thread.get());
    held.lock();
}

DWORD WINAPI EventDispatcher::ThreadMain(void* parameter) {
    DispatcherStart start = *static_cast<DispatcherStart*>(parameter);
    delete static_cast<DispatcherStart*>(parameter);
    start.dispatcher->Run(start.generation);
    return 0;
}

void EventDispatcher::Run(uint32_t generation) {
    std::unique_lock<std::mutex> held(lock_);
    for (;;) {
        while (queue_.empty() && generation == generation_) {
            held.unlock();
            WaitForSingleObject(wake_.get(), INFINITE);
            held.lock();
        }
        if (generation != generation_) break;
        Queued queued = std::move(queue_.front());
        queue_.pop_front();
        EventReceiver receiver;
        if (!resolver_(queued.target, &receiver) || !receiver.callback) continue;  // unregistered meanwhile
        busy_ = true;
        delivering_ = queued.target;
        ResetEvent(idle_.get());
        held.unlock();
        receiver.callback(queued.event, queued.data.empty() ? nullptr : queued.data.data(),
                          static_cast<uint32_t>(queued.data.size()), receiver.context);
        held.lock();
        busy_ = false;
        SetEvent(idle_.get());
    }
}

}  // namespace sim
