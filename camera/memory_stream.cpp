#include "camera/memory_stream.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

MemoryStreamContext* Context(cdContext context) { return reinterpret_cast<MemoryStreamContext*>(context); }

void* DefaultAllocate(size_t size) { return std::malloc(size); }

// The stream functions' error out-argument may be null from a careless caller.
cdError& ErrorSlot(cdError* err, cdError& spare) { return err ? *err : spare; }

// Replaces the buffer by one of newCapacity bytes (> capacity) holding the first `keep` bytes
// of the old one, zeros behind them. False, nothing changed, when the allocation fails.
bool Grow(MemoryStreamContext* c, uint64_t newCapacity, uint32_t keep) {
    if (newCapacity > UINT32_MAX) return false;
    uint8_t* fresh = static_cast<uint8_t*>(c->allocate(static_cast<size_t>(newCapacity)));
    if (!fresh) return false;
    if (keep) std::memcpy(fresh, c->buffer, keep);
    std::memset(fresh + keep, 0, static_cast<size_t>(newCapacity - keep));
    std::free(c->buffer);
    c->buffer = fresh;
    c->capacity = static_cast<uint32_t>(newCapacity);
    return true;
}

void CDAPI MemoryOpen(cdContext context, uint16_t mode, cdError* err) {
    cdError spare;
    cdError& e = ErrorSlot(err, spare);
    e = cdOK;
    MemoryStreamContext* c = Context(context);
    if (!c) {
        e = cdSTREAM_OPEN_ERROR;
        return;
    }
    if (c->state & kMemoryStreamOpen) {
        e = cdSTREAM_ALREADY_OPEN;
        return;
    }
    switch (mode) {
    case 1: c->state = kMemoryStreamOpen | kMemoryStreamReadable; break;
    case 2: c->state = kMemoryStreamOpen | kMemoryStreamWritable; break;
    case 4: c->state = kMemoryStreamOpen | kMemoryStreamReadable | kMemoryStreamWritable; break;
    default: e = cdSTREAM_BAD_OPTIONS; return;
    }
    c->position = 0;
}

void CDAPI MemoryClose(cdContext context, cdError* err) {
    cdError spare;
    cdError& e = ErrorSlot(err, spare);
    e = cdOK;
    MemoryStreamContext* c = Context(context);
    if (!c) {
        e = cdSTREAM_CLOSE_ERROR;
        return;
    }
    c->state = 0;
}

// Common gate of Read and Write: 0 when the transfer may go on.
cdError Gate(MemoryStreamContext* c, uint8_t access, cdError nullCode, const void* data, const uint32_t* size) {
    if (!c) return nullCode;
    if (!(c->state & kMemoryStreamOpen)) return cdSTREAM_NOT_OPEN;
    if (!(c->state & access)) return cdSTREAM_PERMISSION_ERROR;
    if (!size || (!data && *size)) return nullCode;
    return cdOK;
}

void CDAPI MemoryRead(cdContext context, void* buffer, uint32_t* size, cdError* err) {
    cdError spare;
    cdError& e = ErrorSlot(err, spare);
    MemoryStreamContext* c = Context(context);
    e = Gate(c, kMemoryStreamReadable, cdSTREAM_READ_ERROR, buffer, size);
    if (e != cdOK) {
        if (size) *size = 0;
        return;
    }
    uint32_t wanted = *size;
    uint32_t left = c->end > c->position ? c->end - c->position : 0;
    uint32_t n = wanted <= left ? wanted : left;
    if (n) std::memcpy(buffer, c->buffer + c->position, n);
    c->position += n;
    if (n < wanted) {
        *size = n;
        e = cdSTREAM_READ_ERROR;
    }
}

void CDAPI MemoryWrite(cdContext context, const void* buffer, uint32_t* size, cdError* err) {
    cdError spare;
    cdError& e = ErrorSlot(err, spare);
    MemoryStreamContext* c = Context(context);
    e = Gate(c, kMemoryStreamWritable, cdSTREAM_WRITE_ERROR, buffer, size);
    if (e != cdOK) {
        if (size) *size = 0;
        return;
    }
    uint32_t n = *size;
    uint64_t target = uint64_t(c->position) + n;
    if (target <= c->capacity) {
        if (n) std::memcpy(c->buffer + c->position, buffer, n);
        c->position = static_cast<uint32_t>(target);
    } else if (Grow(c, target, c->position)) {
        std::memcpy(c->buffer + c->position, buffer, n);
        c->position = static_cast<uint32_t>(target);
    } else {
        uint32_t room = c->capacity - c->position;
        if (room) std::memcpy(c->buffer + c->position, buffer, room);
        *size = room;
        c->position = c->capacity;
        e = cdSTREAM_WRITE_ERROR;
    }
    if (c->position > c->end) c->end = c->position;
}

void CDAPI MemorySeek(cdContext context, uint16_t origin, int32_t offset, cdError* err) {
    cdError spare;
    cdError& e = ErrorSlot(err, spare);
    e = cdOK;
    MemoryStreamContext* c = Context(context);
    if (!c) {
        e = cdSTREAM_SEEK_ERROR;
        return;
    }
    if (!(c->state & kMemoryStreamOpen)) {
        e = cdSTREAM_NOT_OPEN;
        return;
    }
    int64_t target;
    switch (origin) {
    case 1: target = offset; break;
    case 2: target = int64_t(c->position) + offset; break;
    case 3: target = int64_t(c->capacity) - offset; break;
    default: e = cdSTREAM_BAD_OPTIONS; return;
    }
    // Before the start, or beyond what 32 bits can address: refused, position unchanged.
    if (target < 0 || target > int64_t(UINT32_MAX)) {
        e = cdSTREAM_SEEK_ERROR;
        return;
    }
    if (uint64_t(target) > c->capacity && !Grow(c, uint64_t(target), c->capacity)) {
        e = cdSTREAM_SEEK_ERROR;
        return;
    }
    c->position = static_cast<uint32_t>(target);
    if (c->position > c->end) c->end = c->position;
}

uint32_t CDAPI MemoryTell(cdContext context, cdError* err) {
    cdError spare;
    cdError& e = ErrorSlot(err, spare);
    e = cdOK;
    MemoryStreamContext* c = Context(context);
    if (!c) {
        e = cdSTREAM_TELL_ERROR;
        return 0;
    }
    if (!(c->state & kMemoryStreamOpen)) {
        e = cdSTREAM_NOT_OPEN;
        return 0;
    }
    return c->position;
}

}  // namespace

bool BuildMemoryStream(cdStream* stream, uint32_t capacity, MemoryStreamAllocate allocate) {
    if (!stream) return false;
    *stream = cdStream{};
    if (!allocate) allocate = DefaultAllocate;
    void* place = allocate(sizeof(MemoryStreamContext));
    if (!place) return false;
    MemoryStreamContext* c = new (place) MemoryStreamContext{0, 0, 0, capacity, nullptr, allocate};
    if (capacity > 0) {
        c->buffer = static_cast<uint8_t*>(allocate(capacity));
        if (!c->buffer) {
            std::free(place);
            return false;
        }
    }
    stream->context = reinterpret_cast<cdContext>(c);
    stream->Open = MemoryOpen;
    stream->Close = MemoryClose;
    stream->Read = MemoryRead;
    stream->Write = MemoryWrite;
    stream->Seek = MemorySeek;
    stream->Tell = MemoryTell;
    return true;
}

void ReleaseMemoryStream(cdStream* stream) {
    if (!stream) return;
    if (MemoryStreamContext* c = Context(stream->context)) {
        std::free(c->buffer);
        std::free(c);
    }
    *stream = cdStream{};
}

bool CopyOutMemoryStream(const cdStream* stream, void* destination, uint32_t size) {
    const MemoryStreamContext* c = MemoryStreamState(stream);
    if (!destination || size == 0 || !c || !c->buffer || size > c->capacity) return false;
    std::memcpy(destination, c->buffer, size);
    return true;
}

const MemoryStreamContext* MemoryStreamState(const cdStream* stream) {
    return stream ? Context(stream->context) : nullptr;
}
