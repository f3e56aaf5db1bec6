#include "simulator/violation_ledger.h"

namespace sim {

void ViolationLedger::Add(const std::string& line) {
    if (lines_.size() + 1 < kCapacity) {
        lines_.push_back(line);
        return;
    }
    // A caller gone wrong in a loop: keep the first ones and say how many followed.
    ++dropped_;
    std::string summary = std::to_string(dropped_) + " more violation(s) not recorded";
    if (lines_.size() < kCapacity) lines_.push_back(summary);
    else lines_.back() = summary;
}

}  // namespace sim
