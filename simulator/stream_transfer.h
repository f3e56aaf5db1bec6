// Writes one data item through a caller's stream descriptor the way a camera SDK does:
// Open for writing, a placeholder header, the body in chunks, Seek back to rewrite the header,
// Seek to the end, Tell, Close. Every error code the stream reports ends the transfer.
#pragma once

#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

#include "sdk/cdsdk_contract.h"

namespace sim {

struct TransferRequest {
    cdStream stream{};  // a copy: the caller's descriptor may go away after the call
    const std::vector<uint8_t>* bytes = nullptr;
    uint32_t chunkSize = 65536;
    uint32_t chunkDelayMs = 0;
    cdProgressCallback progress = nullptr;
    cdContext progressContext = 0;
    std::function<bool()> cameraAlive;  // asked between chunks
};

constexpr uint32_t kPlaceholderHeaderBytes = 512;

// Runs without the simulator's lock. Returns the status for the SDK call; `problems` receives
// contradictions in the stream's own answers (for the violation ledger).
cdError RunTransfer(const TransferRequest& request, std::vector<std::string>* problems);

// Names the first missing operation of a descriptor, or returns null when all six are there.
const char* MissingStreamOperation(const cdStream& stream);

}  // namespace sim
