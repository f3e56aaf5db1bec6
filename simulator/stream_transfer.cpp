#include "simulator/stream_transfer.h"

#include <stdio.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace sim {

namespace {

std::string Hex(uint32_t value) {
    char text[16];
    snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(value));
    return text;
}

class StreamDriver {
public:
    StreamDriver(const TransferRequest& request, std::vector<std::string>* problems)
        : r_(request), s_(request.stream), problems_(problems) {}

    cdError Run() {
        cdError err = 0;
        s_.Open(s_.context, cdSTREAM_MODE_WRITE, &err);
        if (err) return err;
        cdError status = Body();
        err = 0;
        s_.Close(s_.context, &err);
        Check("Close", err);
        return status ? status : err;
    }

private:
    cdError Body() {
        const std::vector<uint8_t>& bytes = *r_.bytes;
        const uint32_t total = static_cast<uint32_t>(bytes.size());
        const uint32_t header = std::min(total, kPlaceholderHeaderBytes);
        cdError err = 0;
        uint32_t start = s_.Tell(s_.context, &err);
        if (Check("Tell", err)) return err;
        if (start != 0) Problem("stream Tell gave " + std::to_string(start) + " right after Open, expected 0");

        // The header is written last, once the size is known, as a camera fills in its directory.
        std::vector<uint8_t> placeholder(header, 0);
        if ((err = Write(placeholder.data(), header))) return err;
        for (uint32_t at = header; at < total;) {
            if (r_.cameraAlive && !r_.cameraAlive()) return cdDEVICE_NOT_FOUND;
            uint32_t n = std::min(r_.chunkSize, total - at);
            if ((err = Write(bytes.data() + at, n))) return err;
            at += n;
            if (r_.chunkDelayMs) std::this_thread::sleep_for(std::chrono::milliseconds(r_.chunkDelayMs));
            if (r_.progress) {
                cdError answer = r_.progress(static_cast<uint32_t>(100.0 * at / total), 0, 0, r_.progressContext);
                if (answer) return answer;
            }
        }
        s_.Seek(s_.context, cdSTREAM_SEEK_SET, 0, &err);
        if (Check("Seek", err)) return err;
        if ((err = Write(bytes.data(), header))) return err;
        s_.Seek(s_.context, cdSTREAM_SEEK_END, 0, &err);
        if (Check("Seek", err)) return err;
        uint32_t end = s_.Tell(s_.context, &err);
        if (Check("Tell", err)) return err;
        if (end != total) {
            Problem("stream Tell gave " + std::to_string(end) + " at the end of " + std::to_string(total) + " bytes");
        }
        return 0;
    }

    cdError Write(const uint8_t* data, uint32_t size) {
        if (size == 0) return 0;
        uint32_t done = size;
        cdError err = 0;
        s_.Write(s_.context, data, &done, &err);
        if (Check("Write", err)) return err;
        if (done != size) {
            Problem("stream Write took " + std::to_string(done) + " of " + std::to_string(size) +
                    " bytes and reported no error");
            return cdSTREAM_WRITE_ERROR;
        }
        return 0;
    }

    // True when `err` is an error. A stream that denies being open after its Open succeeded
    // contradicts itself: that goes to the ledger as well.
    bool Check(const char* operation, cdError err) {
        if (err == cdSTREAM_NOT_OPEN) {
            Problem(std::string("stream ") + operation + " answered " + Hex(err) + " (not open) after a successful Open");
        }
        return err != 0;
    }

    void Problem(const std::string& text) {
        if (problems_) problems_->push_back(text);
    }

    const TransferRequest& r_;
    const cdStream& s_;
    std::vector<std::string>* problems_;
};

}  // namespace

const char* MissingStreamOperation(const cdStream& stream) {
    if (!stream.Open) return "Open";
    if (!stream.Close) return "Close";
    if (!stream.Read) return "Read";
    if (!stream.Write) return "Write";
    if (!stream.Seek) return "Seek";
    if (!stream.Tell) return "Tell";
    return nullptr;
}

cdError RunTransfer(const TransferRequest& request, std::vector<std::string>* problems) {
    if (!request.bytes || MissingStreamOperation(request.stream)) return cdINVALID_POINTER;
    return StreamDriver(request, problems).Run();
}

}  // namespace sim
