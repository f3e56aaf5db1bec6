// A stream descriptor that collects a transfer in memory. Plain C++ (no Windows API).
#pragma once

#include <cstddef>
#include <cstdint>

#include "sdk/cdsdk_contract.h"

// Allocation used by one stream for its context and buffers; the memory must be freeable
// with std::free. Tests hand in a failing one.
using MemoryStreamAllocate = void* (*)(size_t size);

enum : uint8_t {
    kMemoryStreamOpen = 1,
    kMemoryStreamReadable = 2,
    kMemoryStreamWritable = 4,
};

struct MemoryStreamContext {
    uint8_t state;      // kMemoryStream* bits
    uint32_t position;
    uint32_t end;       // highest position written
    uint32_t capacity;  // bytes in buffer
    uint8_t* buffer;    // null while the capacity is 0
    MemoryStreamAllocate allocate;
};

// Fills *stream with a fresh context (state 0) and, for capacity > 0, a buffer of that size.
// False, with *stream cleared, when an allocation fails.
bool BuildMemoryStream(cdStream* stream, uint32_t capacity, MemoryStreamAllocate allocate = nullptr);
// Frees the buffer and the context and clears every field of *stream.
void ReleaseMemoryStream(cdStream* stream);
// Copies the first `size` bytes of the buffer. False (nothing copied) for a null destination,
// size 0, a stream without context or buffer, or size beyond the capacity.
bool CopyOutMemoryStream(const cdStream* stream, void* destination, uint32_t size);
// The context of a built stream, null otherwise.
const MemoryStreamContext* MemoryStreamState(const cdStream* stream);
