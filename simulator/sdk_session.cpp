// Starting and finishing, the device list, opening and closing sources, UI lock, device events.
#include "simulator/exports.h"
#include "simulator/sdk_entry.h"

using namespace sim;

namespace {

const char* EnumKindText(const Enumeration& e) {
    switch (e.kind) {
    case EnumKind::Device: return "device";
    case EnumKind::Volume: return "volume";
    case EnumKind::DeviceProperty: return "device-property";
    case EnumKind::ImageFormat: return "image-format";
    case EnumKind::RelCam: return "release-camera setting";
    case EnumKind::List: return ListKey(e.list);
    }
    return "";
}

void StopAll(std::vector<std::unique_ptr<Viewfinder>>& viewfinders) {
    for (auto& viewfinder : viewfinders) viewfinder->Stop();
    viewfinders.clear();
}

}  // namespace

extern "C" {

cdError CDAPI CDGetFunctions(void* functions) {
    EntryCall call("CDGetFunctions", functions);
    // A table of the SDK's own; nobody here uses it.
    return RunEntry(call, [&](Simulator&) { return functions ? cdNOT_SUPPORTED : cdINVALID_POINTER; });
}

cdError CDAPI CDStartSDK(const cdVersionInfo* version, uint32_t option) {
    EntryCall call("CDStartSDK", version, option);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        if (!version) return cdINVALID_POINTER;
        if (version->size != sizeof(cdVersionInfo)) return cdINVALID_PARAMETER;
        if (version->major > 6) return cdNOT_SUPPORTED;  // asks for a newer SDK than this one
        Lock lock(sim.mutex);
        // Started once per client: each start needs its own finish.
        if (sim.startCount++ == 0) sim.framesDelivered = 0;
        sim.everStarted = true;
        return cdOK;
    });
}

cdError CDAPI CDFinishSDK(void) {
    EntryCall call("CDFinishSDK");
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        if (sim.startCount == 0) {  // another thread's finish came first
            sim.Violation("CDFinishSDK", "called after CDFinishSDK");
            return cdSEQUENCE_ERROR;
        }
        if (--sim.startCount > 0) return cdOK;
        for (const auto& entry : sim.sources) {
            const Source& source = *entry.second;
            if (source.alive) {  // a switched-off camera may simply be forgotten
                sim.Violation("CDFinishSDK", "source %s (%s) is still open", HandleText(source.handle).c_str(),
                              sim.CameraOf(source).config.model.c_str());
            }
        }
        for (const auto& entry : sim.enums) {
            sim.Violation("CDFinishSDK", "%s enumeration %s is still open", EnumKindText(entry.second),
                          HandleText(entry.first).c_str());
        }
        auto viewfinders = sim.CloseAllSources();
        lock.unlock();
        StopAll(viewfinders);
        lock.lock();
        sim.events.Stop(lock);
        return cdOK;
    });
}

cdError CDAPI CDEnumDeviceReset(uint32_t kind, cdHEnum* enumeration) {
    EntryCall call("CDEnumDeviceReset", kind, enumeration);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        if (!enumeration) return cdINVALID_POINTER;
        if (kind != 1) return cdINVALID_PARAMETER;
        Lock lock(sim.mutex);
        Enumeration e;
        e.kind = EnumKind::Device;
        for (size_t i = 0; i < sim.cameras.size(); ++i) {
            if (!sim.cameras[i]->model.poweredOff) e.values.push_back(static_cast<uint32_t>(i));
        }
        e.reportedCount =
            sim.config.deviceCount < 0 ? static_cast<uint32_t>(e.values.size()) : static_cast<uint32_t>(sim.config.deviceCount);
        *enumeration = sim.NewHandle();
        sim.enums[*enumeration] = std::move(e);
        return cdOK;
    });
}

cdError CDAPI CDGetDeviceCount(cdHEnum enumeration, uint32_t* count) {
    EntryCall call("CDGetDeviceCount", enumeration, count);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Enumeration* e = sim.FindEnum("CDGetDeviceCount", enumeration, EnumKind::Device, &status);
        if (!e) return status;
        if (!count) return cdINVALID_POINTER;
        *count = e->reportedCount;
        return cdOK;
    });
}

cdError CDAPI CDEnumDeviceNext(cdHEnum enumeration, SourceInfo* info) {
    EntryCall call("CDEnumDeviceNext", enumeration, info);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Enumeration* e = sim.FindEnum("CDEnumDeviceNext", enumeration, EnumKind::Device, &status);
        if (!e) return status;
        if (!info) return cdINVALID_POINTER;
        if (e->next >= e->values.size()) return cdENUM_NA;
        uint32_t index = e->values[e->next++];
        const CameraConfig& camera = sim.cameras[index]->model.config;
        memset(info, 0, sizeof *info);
        info->sourceType = camera.sourceType;
        info->portType = 1;  // USB
        strncpy(info->modelName, camera.model.c_str(), sizeof info->modelName - 1);
        info->deviceIndex = index + 1;
        return cdOK;
    });
}

cdError CDAPI CDEnumDeviceRelease(cdHEnum enumeration) {
    EntryCall call("CDEnumDeviceRelease", enumeration);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        if (!sim.FindEnum("CDEnumDeviceRelease", enumeration, EnumKind::Device, &status)) return status;
        sim.enums.erase(enumeration);
        return cdOK;
    });
}

cdError CDAPI CDOpenSource(const SourceInfo* info, cdHSource* source) {
    EntryCall call("CDOpenSource", info, source);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        if (!info || !source) return cdINVALID_POINTER;
        if (info->sourceType == 0) return cdINVALID_PARAMETER;
        Lock lock(sim.mutex);
        if (info->deviceIndex == 0 || info->deviceIndex > sim.cameras.size()) return cdDEVICE_NOT_FOUND;
        size_t index = info->deviceIndex - 1;
        CameraRuntime& camera = *sim.cameras[index];
        if (camera.model.poweredOff) return cdDEVICE_NOT_FOUND;
        if (camera.model.config.busy || camera.openSource) return cdDEVICE_BUSY;
        auto opened = std::make_unique<Source>();
        opened->handle = sim.NewHandle();
        opened->camera = index;
        for (uint32_t v = 0; v < camera.model.config.volumes; ++v) {
            cdHVolume volume = sim.NewHandle();
            opened->volumes.push_back(volume);
            sim.volumes[volume] = {opened->handle, v};
        }
        camera.openSource = opened->handle;
        sim.lastOpened = opened->handle;
        *source = opened->handle;
        sim.sources[opened->handle] = std::move(opened);
        return cdOK;
    });
}

cdError CDAPI CDCloseSource(cdHSource source) {
    EntryCall call("CDCloseSource", source);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDCloseSource", source, &status, true);
        if (!s) return status;
        if (s->alive) {  // after a switch-off, the order no longer matters
            if (s->viewfinder) sim.Violation("CDCloseSource", "the viewfinder of %s still runs", HandleText(source).c_str());
            if (s->inReleaseControl)
                sim.Violation("CDCloseSource", "source %s is still in release control", HandleText(source).c_str());
            if (!s->registrations.empty())
                sim.Violation("CDCloseSource", "source %s still has an event callback registered", HandleText(source).c_str());
        }
        std::unique_ptr<Viewfinder> viewfinder = std::move(s->viewfinder);
        for (cdHVolume volume : s->volumes) sim.volumes.erase(volume);
        sim.cameras[s->camera]->openSource = 0;
        std::unique_ptr<Source> closed = std::move(sim.sources[source]);
        sim.sources.erase(source);
        lock.unlock();
        if (viewfinder) viewfinder->Stop();
        lock.lock();
        sim.events.WaitUntilNotDelivering(lock, [&](const EventTarget& t) { return t.source == source; });
        return cdOK;
    });
}

cdError CDAPI CDLockUI(cdHSource source) {
    EntryCall call("CDLockUI", source);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDLockUI", source, &status);
        if (!s) return status;
        s->uiLocked = true;
        return cdOK;
    });
}

cdError CDAPI CDUnlockUI(cdHSource source) {
    EntryCall call("CDUnlockUI", source);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        // Unlocking is harmless: also on a switched-off camera and when not locked.
        Source* s = sim.FindSource("CDUnlockUI", source, &status, true);
        if (!s) return status;
        s->uiLocked = false;
        return cdOK;
    });
}

cdError CDAPI CDAFLock(cdHSource source, uint32_t lockFocus) {
    EntryCall call("CDAFLock", source, lockFocus);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDAFLock", source, &status);
        if (!s) return status;
        sim.CameraOf(*s).afLock = lockFocus;
        return cdOK;
    });
}

cdError CDAPI CDRegisterEventCallbackFunction(cdHSource source, cdEventCallback callback, cdContext context,
                                              cdHandle* registration) {
    EntryCall call("CDRegisterEventCallbackFunction", source, callback, context, registration);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDRegisterEventCallbackFunction", source, &status);
        if (!s) return status;
        if (!callback || !registration) return cdINVALID_POINTER;
        *registration = sim.NewHandle();
        s->registrations[*registration] = {callback, context};
        return cdOK;
    });
}

cdError CDAPI CDUnregisterEventCallbackFunction(cdHSource source, cdHandle registration) {
    EntryCall call("CDUnregisterEventCallbackFunction", source, registration);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        const char* entry = "CDUnregisterEventCallbackFunction";
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource(entry, source, &status, true);
        if (!s) return status;
        if (!s->registrations.erase(registration)) {
            sim.Violation(entry, "registration %s is not held on source %s", HandleText(registration).c_str(),
                          HandleText(source).c_str());
            return cdINVALID_HANDLE;
        }
        if (s->alive && s->viewfinder)
            sim.Violation(entry, "the viewfinder of %s still runs", HandleText(source).c_str());
        if (s->alive && s->inReleaseControl)
            sim.Violation(entry, "source %s is still in release control", HandleText(source).c_str());
        sim.events.WaitUntilNotDelivering(lock, [&](const EventTarget& t) {
            return t.kind == EventTarget::Device && t.source == source && t.registration == registration;
        });
        return cdOK;
    });
}

}  // extern "C"
