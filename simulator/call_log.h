// The record of SDK calls, oldest first. The newest 65536 are kept.
#pragma once

#include <deque>

#include "simulator/sim_control.h"

namespace sim {

class CallLog {
public:
    static constexpr size_t kCapacity = 65536;

    void Add(const SimCall& call) {
        if (calls_.size() == kCapacity) calls_.pop_front();
        calls_.push_back(call);
    }
    size_t Count() const { return calls_.size(); }
    bool Get(size_t index, SimCall* call) const {
        if (index >= calls_.size() || !call) return false;
        *call = calls_[index];
        return true;
    }
    void Clear() { calls_.clear(); }

private:
    std::deque<SimCall> calls_;
};

}  // namespace sim
