// Release control, shooting, and the transfer of the shot's data items.
#include "simulator/exports.h"
#include "simulator/sdk_entry.h"
#include "simulator/stream_transfer.h"

using namespace sim;

namespace {

constexpr size_t kMaxPendingItems = 1000;  // the camera's buffer is full beyond this

// The source of a release-control call, or null with `status` set (not in release control
// is a violation: shots and transfers happen only inside it).
Source* ReleasingSource(Simulator& sim, const char* entry, cdHSource source, cdError* status) {
    Source* s = sim.FindSource(entry, source, status);
    if (!s) return nullptr;
    if (!s->inReleaseControl) {
        sim.Violation(entry, "source %s is not in release control", HandleText(source).c_str());
        *status = cdSEQUENCE_ERROR;
        return nullptr;
    }
    return s;
}

void Describe(const ReleasedItem& item, const std::vector<uint8_t>& bytes, cdReleaseImageInfo* info) {
    *info = item.info;
    info->dataSize = static_cast<uint32_t>(bytes.size());
}

}  // namespace

extern "C" {

cdError CDAPI CDEnterReleaseControl(cdHSource source, cdReleaseEventCallback callback, cdContext context) {
    EntryCall call("CDEnterReleaseControl", source, callback, context);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDEnterReleaseControl", source, &status);
        if (!s) return status;
        if (s->inReleaseControl) return cdSEQUENCE_ERROR;
        s->inReleaseControl = true;
        s->releaseCallback = callback;
        s->releaseContext = context;
        return cdOK;
    });
}

cdError CDAPI CDExitReleaseControl(cdHSource source) {
    EntryCall call("CDExitReleaseControl", source);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDExitReleaseControl", source, &status, true);
        if (!s) return status;
        if (s->alive && s->viewfinder)
            sim.Violation("CDExitReleaseControl", "the viewfinder of %s still runs", HandleText(source).c_str());
        // Leaving when not inside is harmless: a caller cleaning up after a half-done connect.
        s->inReleaseControl = false;
        s->releaseCallback = nullptr;
        s->releaseContext = 0;
        s->pending.clear();
        sim.events.WaitUntilNotDelivering(
            lock, [&](const EventTarget& t) { return t.kind == EventTarget::Release && t.source == source; });
        return cdOK;
    });
}

cdError CDAPI CDSelectReleaseDataKind(cdHSource source, uint32_t kind) {
    EntryCall call("CDSelectReleaseDataKind", source, kind);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDSelectReleaseDataKind", source, &status);
        if (!s) return status;
        sim.CameraOf(*s).releaseDataKind = kind;
        return cdOK;
    });
}

cdError CDAPI CDRelease(cdHSource source, uint32_t sync, cdProgressCallback callback, cdContext context,
                        uint32_t progressOption, uint32_t* dataCount) {
    EntryCall call("CDRelease", source, sync, callback, context, progressOption, dataCount);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = ReleasingSource(sim, "CDRelease", source, &status);
        if (!s) return status;
        if (!dataCount) return cdINVALID_POINTER;
        CameraModel& camera = sim.CameraOf(*s);
        if (s->viewfinder && (camera.config.capability & cdCAPABILITY_STOP_VF_BEFORE_RELEASE)) {
            sim.Violation("CDRelease", "the viewfinder of %s runs, and this camera needs it stopped for a shot",
                          HandleText(source).c_str());
            return cdSEQUENCE_ERROR;
        }
        if (s->pending.size() + camera.config.items.size() > kMaxPendingItems) return cdDEVICE_BUSY;
        ++camera.shots;
        SceneParams scene = sim.SceneOf(camera);
        scene.banner = "SHOT " + std::to_string(camera.shots);
        for (const ItemShape& shape : camera.config.items) {
            auto item = std::make_shared<ReleasedItem>();
            item->info.sequenceId = sim.nextSequence++;
            item->info.dataType = shape.kind;
            item->info.format = static_cast<uint8_t>(shape.format);
            item->shape = shape;
            item->camera = camera.config;
            item->scene = scene;
            s->pending.push_back(std::move(item));
        }
        const uint32_t count = static_cast<uint32_t>(camera.config.items.size());
        *dataCount = count;
        if (sim.config.releaseEvents && s->releaseCallback) {
            sim.events.Post({EventTarget::Release, source, 0}, cdRELEASE_EVENT_RELEASE_START, nullptr, 0);
            sim.events.Post({EventTarget::Release, source, 0}, cdRELEASE_EVENT_RELEASE_COMPLETE, &count, sizeof count);
        }
        lock.unlock();
        if (callback) callback(100, 0, 0, context);
        return cdOK;
    });
}

cdError CDAPI CDGetReleasedData(cdHSource source, cdProgressCallback callback, cdContext context,
                                uint32_t progressOption, cdReleaseImageInfo* info, cdStgMedium* medium) {
    EntryCall call("CDGetReleasedData", source, callback, context, progressOption, info, medium);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        const char* entry = "CDGetReleasedData";
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = ReleasingSource(sim, entry, source, &status);
        if (!s) return status;
        if (!info) return cdINVALID_POINTER;
        if (s->pending.empty()) return cdSEQUENCE_ERROR;  // nothing was shot, or all was fetched
        std::shared_ptr<ReleasedItem> item = s->pending.front();
        const uint32_t rawSize = sim.config.rawSize;

        if (!medium) {  // the description of the next item
            lock.unlock();
            Describe(*item, item->Bytes(rawSize), info);
            return cdOK;
        }
        if (medium->type != cdSTG_TYPE_STREAM || !medium->stream) {
            sim.Violation(entry, "the storage record is not a stream (type %u, stream %p)",
                          static_cast<unsigned>(medium->type), static_cast<void*>(medium->stream));
            return cdINVALID_PARAMETER;
        }
        if (const char* missing = MissingStreamOperation(*medium->stream)) {
            sim.Violation(entry, "the stream descriptor has no %s operation", missing);
            return cdINVALID_POINTER;
        }
        s->pending.pop_front();  // the camera sends it once, whatever the receiver makes of it
        TransferRequest request;
        request.stream = *medium->stream;
        request.chunkSize = sim.config.chunkSize;
        request.chunkDelayMs = sim.config.chunkDelayMs;
        request.progress = callback;
        request.progressContext = context;
        uint32_t chunksLeft = 0;  // armed power-off in the middle of this transfer
        if (sim.powerOffChunks && sim.powerOffAt == entry) {
            chunksLeft = sim.powerOffChunks;
            sim.powerOffAt.clear();
        }
        request.cameraAlive = [&sim, source, chunksLeft]() mutable {
            std::lock_guard<std::mutex> guard(sim.mutex);
            if (chunksLeft && --chunksLeft == 0) sim.SwitchOff(cdEVENT_SHUTDOWN_POWER_OFF);
            auto it = sim.sources.find(source);
            return it != sim.sources.end() && it->second->alive;
        };
        lock.unlock();

        const std::vector<uint8_t>& bytes = item->Bytes(rawSize);
        Describe(*item, bytes, info);
        request.bytes = &bytes;
        std::vector<std::string> problems;
        status = RunTransfer(request, &problems);

        lock.lock();
        for (const std::string& problem : problems) sim.Violation(entry, "%s", problem.c_str());
        if (status == cdOK) {
            SentItem sent;
            Describe(*item, bytes, &sent.info);
            sent.bytes = bytes;
            sim.sent.Add(std::move(sent));
        }
        return status;
    });
}

}  // extern "C"
