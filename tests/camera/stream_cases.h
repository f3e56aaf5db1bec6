// Every error each stream operation reports, for the memory and the file stream side by side.
// Plain C++, so the memory stream's half also runs natively.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "sdk/cdsdk_contract.h"

enum StreamOp { kOpen, kClose, kRead, kWrite, kSeek, kTell };

struct StreamCase {
    const char* what;
    uint16_t openMode;  // opened with this mode first; 0: left closed
    bool nullContext;   // the operation gets context 0
    StreamOp op;
    uint16_t a;         // Open: mode; Read, Write: size; Seek: origin
    int32_t offset;     // Seek
    cdError memory, file;
};

const StreamCase kStreamCases[] = {
    {"open without context", 0, true, kOpen, 1, 0, cdSTREAM_OPEN_ERROR, cdSTREAM_OPEN_ERROR},
    {"open twice", 1, false, kOpen, 1, 0, cdSTREAM_ALREADY_OPEN, cdSTREAM_ALREADY_OPEN},
    {"open mode 5", 0, false, kOpen, 5, 0, cdSTREAM_BAD_OPTIONS, cdSTREAM_BAD_OPTIONS},
    {"open mode 3", 0, false, kOpen, 3, 0, cdSTREAM_BAD_OPTIONS, cdOK},  // read-write, created anew
    {"close without context", 1, true, kClose, 0, 0, cdSTREAM_CLOSE_ERROR, cdSTREAM_CLOSE_ERROR},
    {"close closed", 0, false, kClose, 0, 0, cdOK, cdSTREAM_CLOSE_ERROR},
    {"read without context", 1, true, kRead, 4, 0, cdSTREAM_READ_ERROR, cdSTREAM_READ_ERROR},
    {"read closed", 0, false, kRead, 4, 0, cdSTREAM_NOT_OPEN, cdSTREAM_READ_ERROR},
    {"read write-only", 2, false, kRead, 4, 0, cdSTREAM_PERMISSION_ERROR, cdSTREAM_READ_ERROR},
    {"write without context", 2, true, kWrite, 4, 0, cdSTREAM_WRITE_ERROR, cdSTREAM_WRITE_ERROR},
    {"write closed", 0, false, kWrite, 4, 0, cdSTREAM_NOT_OPEN, cdSTREAM_WRITE_ERROR},
    {"write read-only", 1, false, kWrite, 4, 0, cdSTREAM_PERMISSION_ERROR, cdSTREAM_WRITE_ERROR},
    {"seek without context", 1, true, kSeek, 1, 0, cdSTREAM_SEEK_ERROR, cdSTREAM_SEEK_ERROR},
    {"seek closed", 0, false, kSeek, 1, 0, cdSTREAM_NOT_OPEN, cdSTREAM_SEEK_ERROR},
    {"seek origin 4", 1, false, kSeek, 4, 0, cdSTREAM_BAD_OPTIONS, cdSTREAM_BAD_OPTIONS},
    {"seek before the start", 1, false, kSeek, 2, -1, cdSTREAM_SEEK_ERROR, cdSTREAM_SEEK_ERROR},
    {"tell without context", 1, true, kTell, 0, 0, cdSTREAM_TELL_ERROR, cdSTREAM_TELL_ERROR},
    {"tell closed", 0, false, kTell, 0, 0, cdSTREAM_NOT_OPEN, cdSTREAM_SEEK_ERROR},  // the failing seek's code
};

// Walks the table on fresh descriptors from `build`, freed by `release`.
inline void RunStreamCases(cdError StreamCase::*expected, const std::function<void(cdStream*)>& build,
                           const std::function<void(cdStream*)>& release) {
    for (const StreamCase& c : kStreamCases) {
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
        case kOpen: s.Open(context, c.a, &e); break;
        case kClose: s.Close(context, &e); break;
        case kRead: s.Read(context, data, &size, &e); break;
        case kWrite: s.Write(context, data, &size, &e); break;
        case kSeek: s.Seek(context, c.a, c.offset, &e); break;
        case kTell: size = s.Tell(context, &e); break;
        }
        EXPECT_EQ(c.*expected, e);
        if (c.op == kRead || c.op == kWrite || c.op == kTell) { EXPECT_EQ(0u, size); }
        release(&s);
    }
}
