#include "simulator/fault_table.h"

namespace sim {

void FaultTable::Set(const std::string& name, uint32_t status, int32_t count) {
    if (count == 0) {
        faults_.erase(name);
        return;
    }
    faults_[name] = {status, count};
}

bool FaultTable::Take(const std::string& name, uint32_t* status) {
    auto it = faults_.find(name);
    if (it == faults_.end()) return false;
    *status = it->second.status;
    if (it->second.remaining > 0 && --it->second.remaining == 0) faults_.erase(it);
    return true;
}

}  // namespace sim
