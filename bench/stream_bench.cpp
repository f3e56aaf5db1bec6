// The two stream descriptors the SDK writes a shot through, against what they stand for.
#include "bench/bench_support.h"
#include <memory>

#include "camera/file_stream.h"
#include "camera/memory_stream.h"
#include "platform/handles.h"

namespace bench {

void StreamThroughput() {
    AddSection("Streams: 25 MB in 64 KB writes (open, write, close)");
    const uint32_t total = 25u << 20, chunk = 65536;
    const std::vector<uint8_t> bytes(total, 0x5A);
    const std::string folder = ScratchFolder("bench_streams");
    const std::string path = folder + "\\stream.bin";
    // Everything a descriptor does for one item, from build to release.
    auto through = [&](cdStream& s) {
        cdError err = 0;
        s.Open(s.context, cdSTREAM_MODE_WRITE, &err);
        for (uint32_t at = 0; at < total; at += chunk) {
            uint32_t n = chunk;
            s.Write(s.context, &bytes[at], &n, &err);
        }
        s.Close(s.context, &err);
    };
    const Pair file = Compare(
        [&] {
            cdStream s{};
            if (BuildFileStream(&s, path.c_str())) through(s);
            ReleaseFileStream(&s);
        },
        [&] {
            UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD done = 0;
            for (uint32_t at = 0; at < total; at += chunk) WriteFile(f.get(), &bytes[at], chunk, &done, nullptr);
        },
        20);
    const Pair memory = Compare(
        [&] {
            cdStream s{};
            if (BuildMemoryStream(&s, total)) through(s);
            ReleaseMemoryStream(&s);
        },
        [&] {
            std::unique_ptr<uint8_t[]> buffer(new uint8_t[total]);
            for (uint32_t at = 0; at < total; at += chunk) memcpy(&buffer[at], &bytes[at], chunk);
            volatile uint8_t last = buffer[total - 1];
            (void)last;
        },
        20);
    const double mb = total / 1048576.0;
    AddRow({"FileStream vs CreateFile + WriteFile", Format("%.0f MB/s", mb / file.a), Format("%.0f MB/s", mb / file.b),
            file.a / file.b, Format("throughput %.2f of WriteFile", file.b / file.a)});
    AddRow({"MemoryStream (capacity given) vs new[] + memcpy", Format("%.0f MB/s", mb / memory.a),
            Format("%.0f MB/s", mb / memory.b), memory.a / memory.b, Format("throughput %.2f of memcpy", memory.b / memory.a)});
    DeleteFileA(path.c_str());
    RemoveFolder(folder);
}

}  // namespace bench
