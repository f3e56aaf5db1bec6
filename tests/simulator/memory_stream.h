// A caller's stream over memory for the transfers: keeps a journal of the calls made on it, and
// fails one chosen call or contradicts itself on demand. Plain C++, for the native tests as well.
#pragma once

#include <string.h>

#include <string>
#include <vector>

#include "sdk/cdsdk_contract.h"

struct MemoryStream {
    MemoryStream() = default;
    MemoryStream(const MemoryStream&) = delete;  // the descriptor points here

    std::vector<uint8_t> data;
    uint32_t position = 0;
    std::vector<std::string> journal;  // "Open 2", "Write 512", "Seek 1 0", "Tell 512", "Close"
    std::string failOp;                // call number failNth of failOp answers failCode
    int failNth = 1;
    cdError failCode = 0;
    bool shortWrites = false, lieAboutPosition = false;
    cdStream descriptor{reinterpret_cast<cdContext>(this), Open, Close, Read, Write, Seek, Tell};
    cdStgMedium medium{cdSTG_TYPE_STREAM, &descriptor};

private:
    int seen_ = 0;
    static MemoryStream& Of(cdContext c) { return *reinterpret_cast<MemoryStream*>(c); }
    static bool Fails(cdContext c, const std::string& call, cdError* err) {
        MemoryStream& s = Of(c);
        s.journal.push_back(call);
        *err = !s.failOp.empty() && call.rfind(s.failOp, 0) == 0 && ++s.seen_ == s.failNth ? s.failCode : 0;
        return *err != 0;
    }
    static void CDAPI Open(cdContext c, uint16_t mode, cdError* err) { Fails(c, "Open " + std::to_string(mode), err); }
    static void CDAPI Close(cdContext c, cdError* err) { Fails(c, "Close", err); }
    static void CDAPI Read(cdContext, void*, uint32_t*, cdError* err) { *err = cdSTREAM_PERMISSION_ERROR; }
    static void CDAPI Write(cdContext c, const void* buffer, uint32_t* size, cdError* err) {
        MemoryStream& s = Of(c);
        if (Fails(c, "Write " + std::to_string(*size), err)) return;
        if (s.shortWrites) *size /= 2;
        if (s.data.size() < s.position + *size) s.data.resize(s.position + *size);
        memcpy(s.data.data() + s.position, buffer, *size);
        s.position += *size;
    }
    static void CDAPI Seek(cdContext c, uint16_t origin, int32_t offset, cdError* err) {
        if (Fails(c, "Seek " + std::to_string(origin) + " " + std::to_string(offset), err)) return;
        Of(c).position = origin == cdSTREAM_SEEK_SET ? offset : static_cast<uint32_t>(Of(c).data.size()) - offset;
    }
    static uint32_t CDAPI Tell(cdContext c, cdError* err) {
        MemoryStream& s = Of(c);
        return Fails(c, "Tell " + std::to_string(s.position), err) ? 0 : s.position + (s.lieAboutPosition ? 1 : 0);
    }
};
