// A shot from TakePhoto to the host's file-saved message, and the two stream descriptors the
// SDK writes a shot through, each against what it stands for.
#include <memory>

#include "bench/bench_support.h"
#include "camera/file_stream.h"
#include "camera/memory_stream.h"
#include "platform/handles.h"
#include "sdk/sdk_loader.h"
#include "simulator/sim_api.h"

namespace bench {
namespace {

// Times what the component's stream does while the SDK transfers an item into it: the rest of
// a shot is the simulated camera making and sending its bytes, and the messages.
struct StreamProbe {
    PFN_CDGetReleasedData transfer = nullptr;
    cdStream stream{};
    int64_t ticks = 0;

    static StreamProbe& Get() {
        static StreamProbe probe;
        return probe;
    }
    struct Timed {
        int64_t start = Ticks();
        ~Timed() { Get().ticks += Ticks() - start; }
    };
    static void CDAPI Open(cdContext c, uint16_t mode, cdError* e) { Timed t; Get().stream.Open(c, mode, e); }
    static void CDAPI Close(cdContext c, cdError* e) { Timed t; Get().stream.Close(c, e); }
    static void CDAPI Write(cdContext c, const void* data, uint32_t* size, cdError* e) {
        Timed t;
        Get().stream.Write(c, data, size, e);
    }
    static cdError CDAPI GetReleasedData(cdHSource source, cdProgressCallback progress, cdContext context,
                                         uint32_t option, cdReleaseImageInfo* info, cdStgMedium* medium) {
        StreamProbe& p = Get();
        if (!medium || !medium->stream) return p.transfer(source, progress, context, option, info, medium);
        p.stream = *medium->stream;
        cdStream timed = p.stream;
        timed.Open = Open, timed.Close = Close, timed.Write = Write;
        cdStgMedium through = *medium;
        through.stream = &timed;
        return p.transfer(source, progress, context, option, info, &through);
    }
};

// Writes `bytes` to a new file in `chunk`-byte WriteFile calls.
void PlainWrite(const std::string& path, const std::vector<uint8_t>& bytes, size_t chunk) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD done = 0;
    for (size_t at = 0; at < bytes.size(); at += chunk)
        WriteFile(file.get(), &bytes[at], static_cast<DWORD>(std::min(chunk, bytes.size() - at)), &done, nullptr);
}

}  // namespace

void Transfer() {
    AddSection("Transfer: TakePhoto to the host's file-saved message vs plain WriteFile of the same bytes, 64 KB chunks");
    SimApi sim;
    if (!sim.Load()) return AddRow({"simulator control exports missing", "", "", 0, ""});
    Host host;
    const std::string folder = ScratchFolder("bench_shots");
    const struct {
        const char* name;
        const char* items;
        int shots;
    } cases[] = {{"20 KB thumbnail", "0x10:1:20480", 30}, {"6 MB JPEG", "0x20:1:6291456", 10},
                 {"25 MB raw", "0x20:2:26214400", 6}};
    StreamProbe& probe = StreamProbe::Get();
    for (const auto& c : cases) {
        sim.SimLoadConfigText(Format("[Simulator]\nCameras=1\n[Camera1]\nItems=%s\n", c.items).c_str());
        CameraWindow window(host, 1, nullptr, folder.c_str());
        if (!window.Connect()) return AddRow({"could not connect", "", "", 0, ""});
        probe.transfer = g_sdk.CDGetReleasedData;
        g_sdk.CDGetReleasedData = StreamProbe::GetReleasedData;
        std::vector<double> shot, stream, plain;
        for (int i = 0; i <= c.shots; ++i) {  // the first of each goes uncounted
            const uint32_t saved = host.filesSaved;
            probe.ticks = 0;
            const int64_t start = Ticks();
            const bool done = window.dialog.TakePhoto() && PumpUntil([&] { return host.filesSaved != saved; }, 60000);
            const double t = Seconds(host.lastSavedAt - start), s = Seconds(probe.ticks);
            std::vector<uint8_t> bytes(sim.SimSentItemGet(sim.SimSentItemCount() - 1, nullptr, 0));
            sim.SimSentItemGet(sim.SimSentItemCount() - 1, bytes.data(), static_cast<uint32_t>(bytes.size()));
            DeleteFileA(host.lastPath.c_str());
            const std::string path = folder + "\\plain.bin";
            const int64_t plainStart = Ticks();
            PlainWrite(path, bytes, 65536);
            const double p = Seconds(Ticks() - plainStart);
            DeleteFileA(path.c_str());
            if (i > 0 && done) shot.push_back(t), stream.push_back(s), plain.push_back(p);
        }
        g_sdk.CDGetReleasedData = probe.transfer;
        const double t = Percentile(shot, 0.5), s = Percentile(stream, 0.5), p = Percentile(plain, 0.5);
        AddRow({Format("%s: TakePhoto to file-saved", c.name), Format("%.2f ms", t * 1e3), Format("%.2f ms", p * 1e3),
                t / p, Format("median of %zu; %.1f ms of it outside the FileStream", shot.size(), (t - s) * 1e3)});
        AddRow({Format("%s: of which the FileStream (open, writes, close)", c.name), Format("%.2f ms", s * 1e3),
                Format("%.2f ms", p * 1e3), s / p, Format("throughput %.2f of WriteFile", p / s)});
    }
    RemoveFolder(folder);
    sim.SimReset();
}

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
