// One table row per error a stream operation reports, walked for any stream descriptor.
// Plain C++, so the memory stream's table also runs natively.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "sdk/cdsdk_contract.h"

enum class StreamOp { Open, Close, Read, Write, Seek, Tell };

struct StreamCase {
    const char* what;
    uint16_t openMode;  // opened with this mode first; 0: left closed
    bool nullContext;   // the operation gets context 0
    StreamOp op;
    uint16_t a;         // Open: mode; Read, Write: size; Seek: origin
    int32_t offset;     // Seek
    cdError expected;
};

// `build` makes a fresh descriptor, `release` frees it.
inline void RunStreamCases(const std::vector<StreamCase>& cases, const std::function<void(cdStream*)>& build,
                           const std::function<void(cdStream*)>& release) {
    for (const StreamCase& c : cases) {
        SCOPED_TRACE(c.what);
        cdStream s{};
        build(&s);
        cdError e = cdOK;
        if (c.openMode) s.Open(s.context, c.openMode, &e);
        EXPECT_EQ(cdOK, e) << "the open before";
        cdContext context = c.nullContext ? 0 : s.context;
        char data[16] = {};
        uint32_t size = c.a;
        e = 0xDEAD;
        switch (c.op) {
        case StreamOp::Open: s.Open(context, c.a, &e); break;
        case StreamOp::Close: s.Close(context, &e); break;
        case StreamOp::Read: s.Read(context, data, &size, &e); break;
        case StreamOp::Write: s.Write(context, data, &size, &e); break;
        case StreamOp::Seek: s.Seek(context, c.a, c.offset, &e); break;
        case StreamOp::Tell: size = s.Tell(context, &e); break;
        }
        EXPECT_EQ(c.expected, e);
        if (c.op == StreamOp::Read || c.op == StreamOp::Write || c.op == StreamOp::Tell) { EXPECT_EQ(0u, size); }
        release(&s);
    }
}
