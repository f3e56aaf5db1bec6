// Contract violations seen by the simulator, one text line each, oldest first.
#pragma once

#include <string>
#include <vector>

namespace sim {

class ViolationLedger {
public:
    static constexpr size_t kCapacity = 1000;

    void Add(const std::string& line);
    size_t Count() const { return lines_.size(); }
    const std::string* Get(size_t index) const { return index < lines_.size() ? &lines_[index] : nullptr; }
    void Clear() {
        lines_.clear();
        dropped_ = 0;
    }

private:
    std::vector<std::string> lines_;
    size_t dropped_ = 0;
};

}  // namespace sim
