// Injected failures: an entry point answers a given status for its next N calls, or always.
#pragma once

#include <stdint.h>

#include <map>
#include <string>

namespace sim {

class FaultTable {
public:
    // count > 0: the next count calls; count < 0: every call; count 0 removes the fault.
    void Set(const std::string& name, uint32_t status, int32_t count);
    void Clear() { faults_.clear(); }
    // True when a call of `name` is to fail now; uses up one of a counted fault.
    bool Take(const std::string& name, uint32_t* status);

private:
    struct Fault {
        uint32_t status;
        int32_t remaining;  // < 0: always
    };
    std::map<std::string, Fault> faults_;
};

}  // namespace sim
