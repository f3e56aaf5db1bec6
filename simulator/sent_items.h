// Data items that transfers delivered completely; the newest 32 are kept.
#pragma once

#include <stdint.h>

#include <deque>
#include <vector>

#include "sdk/cdsdk_contract.h"

namespace sim {

struct SentItem {
    cdReleaseImageInfo info{};
    std::vector<uint8_t> bytes;
};

class SentItems {
public:
    static constexpr size_t kCapacity = 32;

    void Add(SentItem item) {
        if (items_.size() == kCapacity) items_.pop_front();
        items_.push_back(std::move(item));
    }
    size_t Count() const { return items_.size(); }
    const SentItem* Get(size_t index) const { return index < items_.size() ? &items_[index] : nullptr; }
    void Clear() { items_.clear(); }

private:
    std::deque<SentItem> items_;
};

}  // namespace sim
