#include "camera/file_stream.h"

#include <windows.h>

#include <cstring>
#include <new>

#include "platform/handles.h"

namespace {

struct FileStreamContext {
    char path[260] = {};
    UniqueFile file;
};

FileStreamContext* Context(cdContext context) { return reinterpret_cast<FileStreamContext*>(context); }

cdError& ErrorSlot(cdError* err, cdError& spare) {
    cdError& e = err ? *err : spare;
    e = cdOK;
    return e;
}

struct OpenRule {
    DWORD access;
    DWORD share;
    DWORD disposition;
};

// Modes 1 to 4; any other mode is refused before the file system is touched.
bool RuleFor(uint16_t mode, OpenRule* rule) {
    switch (mode) {
    case 1: *rule = {GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING}; return true;
    case 2: *rule = {GENERIC_WRITE, 0, CREATE_ALWAYS}; return true;
    case 3: *rule = {GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS}; return true;
    case 4: *rule = {GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS}; return true;
    default: return false;
    }
}

void CDAPI FileOpen(cdContext context, uint16_t mode, cdError* err) {
    cdError spare;
    cdError& e = ErrorSlot(err, spare);
    FileStreamContext* c = Context(context);
    if (!c) {
        e = cdSTREAM_OPEN_ERROR;
        return;
    }
    if (c->file) {
        e = cdSTREAM_ALREADY_OPEN;
        return;
    }
    OpenRule rule;
    if (!RuleFor(mode, &rule)) {
        e = cdSTREAM_BAD_OPTIONS;
        return;
    }
    c->file.reset(CreateFileA(c->path, rule.access, rule.share, nullptr, rule.disposition, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
    if (!c->file) e = cdSTREAM_OPEN_ERROR;
}

void CDAPI FileClose(cdContext context, cdError* err) {
    cdError spare;
    cdError& e = ErrorSlot(err, spare);
    FileStreamContext* c = Context(context);
    if (!c || !c->file || !CloseHandle(c->file.release())) e = cdSTREAM_CLOSE_ERROR;
}

void CDAPI FileRead(cdContext context, void* buffer, uint32_t* size, cdError* err) {
    cdError spare;
    cdError& e = ErrorSlot(err, spare);
    FileStreamContext* c = Context(context);
    DWORD done = 0;
    if (!c || !size || (!buffer && *size) || !ReadFile(c->file.get(), buffer, *size, &done, nullptr))
        e = cdSTREAM_READ_ERROR;
    if (size) *size = done;
}

void CDAPI FileWrite(cdContext context, const void* buffer, uint32_t* size, cdError* err) {
    cdError spare;
    cdError& e = ErrorSlot(err, spare);
    FileStreamContext* c = Context(context);
    DWORD done = 0;
    if (!c || !size || (!buffer && *size) || !WriteFile(c->file.get(), buffer, *size, &done, nullptr))
        e = cdSTREAM_WRITE_ERROR;
    if (size) *size = done;
}

void CDAPI FileSeek(cdContext context, uint16_t origin, int32_t offset, cdError* err) {
    cdError spare;
    cdError& e = ErrorSlot(err, spare);
    FileStreamContext* c = Context(context);
    if (!c) {
        e = cdSTREAM_SEEK_ERROR;
        return;
    }
    DWORD method;
    switch (origin) {
    case 1: method = FILE_BEGIN; break;
    case 2: method = FILE_CURRENT; break;
    case 3: method = FILE_END; break;
    default: e = cdSTREAM_BAD_OPTIONS; return;
    }
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    if (!SetFilePointerEx(c->file.get(), distance, nullptr, method)) e = cdSTREAM_SEEK_ERROR;
}

uint32_t CDAPI FileTell(cdContext context, cdError* err) {
    cdError spare;
    cdError& e = ErrorSlot(err, spare);
    FileStreamContext* c = Context(context);
    if (!c) {
        e = cdSTREAM_TELL_ERROR;
        return 0;
    }
    LARGE_INTEGER zero{}, position{};
    if (!SetFilePointerEx(c->file.get(), zero, &position, FILE_CURRENT)) {
        e = cdSTREAM_SEEK_ERROR;
        return 0;
    }
    return static_cast<uint32_t>(position.QuadPart);
}

}  // namespace

bool BuildFileStream(cdStream* stream, const char* path) {
    if (!stream) return false;
    *stream = cdStream{};
    if (!path || std::strlen(path) >= sizeof(FileStreamContext::path)) return false;
    FileStreamContext* c = new (std::nothrow) FileStreamContext;
    if (!c) return false;
    std::memcpy(c->path, path, std::strlen(path) + 1);
    stream->context = reinterpret_cast<cdContext>(c);
    stream->Open = FileOpen;
    stream->Close = FileClose;
    stream->Read = FileRead;
    stream->Write = FileWrite;
    stream->Seek = FileSeek;
    stream->Tell = FileTell;
    return true;
}

void ReleaseFileStream(cdStream* stream) {
    if (!stream) return;
    delete Context(stream->context);
    *stream = cdStream{};
}
