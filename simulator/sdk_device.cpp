// Volumes, device properties, zoom and the camera's own display.
#include "simulator/exports.h"
#include "simulator/sdk_entry.h"

using namespace sim;

namespace {

constexpr uint32_t kTextPropertyBytes = 32;

// Copies a text property as a zero-padded 32-byte field.
cdError PutText(const std::string& text, uint32_t* size, void* data) {
    if (*size < kTextPropertyBytes) return cdINVALID_PARAMETER;
    char field[kTextPropertyBytes] = {};
    strncpy(field, text.c_str(), kTextPropertyBytes - 1);
    memcpy(data, field, kTextPropertyBytes);
    *size = kTextPropertyBytes;
    return cdOK;
}

cdError PutWord(uint32_t value, uint32_t* size, void* data) {
    if (*size < sizeof value) return cdINVALID_PARAMETER;
    memcpy(data, &value, sizeof value);
    *size = sizeof value;
    return cdOK;
}

}  // namespace

extern "C" {

cdError CDAPI CDEnumVolumeReset(cdHSource source, cdHEnum* enumeration) {
    EntryCall call("CDEnumVolumeReset", source, enumeration);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDEnumVolumeReset", source, &status);
        if (!s) return status;
        if (!enumeration) return cdINVALID_POINTER;
        Enumeration e;
        e.kind = EnumKind::Volume;
        e.source = source;
        e.values.assign(s->volumes.begin(), s->volumes.end());
        e.reportedCount = static_cast<uint32_t>(e.values.size());
        *enumeration = sim.NewHandle();
        sim.enums[*enumeration] = std::move(e);
        return cdOK;
    });
}

cdError CDAPI CDEnumVolumeNext(cdHEnum enumeration, cdHVolume* volume) {
    EntryCall call("CDEnumVolumeNext", enumeration, volume);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Enumeration* e = sim.FindEnum("CDEnumVolumeNext", enumeration, EnumKind::Volume, &status);
        if (!e) return status;
        if (!volume) return cdINVALID_POINTER;
        if (e->next >= e->values.size()) return cdENUM_NA;
        *volume = e->values[e->next++];
        return cdOK;
    });
}

cdError CDAPI CDGetVolumeInfo(cdHVolume volume, cdVolumeInfo* info) {
    EntryCall call("CDGetVolumeInfo", volume, info);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        auto it = sim.volumes.find(volume);
        if (it == sim.volumes.end()) {
            sim.Violation("CDGetVolumeInfo", "volume %s belongs to no open source", HandleText(volume).c_str());
            return cdINVALID_HANDLE;
        }
        cdError status = 0;
        Source* s = sim.FindSource("CDGetVolumeInfo", it->second.first, &status);
        if (!s) return status;
        if (!info) return cdINVALID_POINTER;
        const CameraConfig& camera = sim.CameraOf(*s).config;
        memset(info, 0, sizeof *info);
        info->storageType = 1;
        info->maxCapacityKB = camera.volumeCapacityKB;
        info->freeSpaceKB = camera.volumeFreeKB;
        info->access = 3;  // read and write
        snprintf(info->name, sizeof info->name, "SIMCARD%u", static_cast<unsigned>(it->second.second + 1));
        return cdOK;
    });
}

cdError CDAPI CDEnumVolumeRelease(cdHEnum enumeration) {
    EntryCall call("CDEnumVolumeRelease", enumeration);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        if (!sim.FindEnum("CDEnumVolumeRelease", enumeration, EnumKind::Volume, &status)) return status;
        sim.enums.erase(enumeration);
        return cdOK;
    });
}

cdError CDAPI CDEnumDevicePropertyReset(cdHSource source, uint32_t option, cdHEnum* enumeration) {
    EntryCall call("CDEnumDevicePropertyReset", source, option, enumeration);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        if (!sim.FindSource("CDEnumDevicePropertyReset", source, &status)) return status;
        if (!enumeration) return cdINVALID_POINTER;
        Enumeration e;
        e.kind = EnumKind::DeviceProperty;
        e.source = source;
        e.values = {cdDEVPROP_MODEL_NAME, cdDEVPROP_CAPABILITY, cdDEVPROP_OWNER_NAME, cdDEVPROP_TIME};
        e.reportedCount = static_cast<uint32_t>(e.values.size());
        *enumeration = sim.NewHandle();
        sim.enums[*enumeration] = std::move(e);
        return cdOK;
    });
}

cdError CDAPI CDEnumDevicePropertyRelease(cdHEnum enumeration) {
    EntryCall call("CDEnumDevicePropertyRelease", enumeration);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        if (!sim.FindEnum("CDEnumDevicePropertyRelease", enumeration, EnumKind::DeviceProperty, &status)) return status;
        sim.enums.erase(enumeration);
        return cdOK;
    });
}

cdError CDAPI CDGetDevicePropertyData(cdHSource source, uint32_t property, uint32_t* size, void* data, uint32_t option) {
    EntryCall call("CDGetDevicePropertyData", source, property, size, data, option);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDGetDevicePropertyData", source, &status);
        if (!s) return status;
        if (!size || !data) return cdINVALID_POINTER;
        const CameraModel& camera = sim.CameraOf(*s);
        switch (property) {
        case cdDEVPROP_CAPABILITY: return PutWord(camera.config.capability, size, data);
        case cdDEVPROP_MODEL_NAME: return PutText(camera.config.propertyName, size, data);
        case cdDEVPROP_OWNER_NAME: return PutText(camera.owner, size, data);
        case cdDEVPROP_TIME: return PutWord(camera.Clock(PcClock()), size, data);
        default: return cdNOT_SUPPORTED;
        }
    });
}

cdError CDAPI CDSetDevicePropertyData(cdHSource source, uint32_t property, uint32_t* size, const void* data) {
    EntryCall call("CDSetDevicePropertyData", source, property, size, data);
    if (size) call.Capture(data, *size);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDSetDevicePropertyData", source, &status);
        if (!s) return status;
        if (!size || !data) return cdINVALID_POINTER;
        CameraModel& camera = sim.CameraOf(*s);
        switch (property) {
        case cdDEVPROP_OWNER_NAME: {
            if (*size == 0 || *size > kTextPropertyBytes) return cdINVALID_PARAMETER;
            const char* text = static_cast<const char*>(data);
            // All 32 bytes are kept; reading the property back gives at most 31 and a terminator.
            camera.owner.assign(text, strnlen(text, *size));
            return cdOK;
        }
        case cdDEVPROP_TIME: {
            if (*size != sizeof(uint32_t)) return cdINVALID_PARAMETER;
            uint32_t value = 0;
            memcpy(&value, data, sizeof value);
            camera.SetClock(value, PcClock());
            return cdOK;
        }
        case cdDEVPROP_MODEL_NAME:
        case cdDEVPROP_CAPABILITY: return cdNOT_SUPPORTED;  // read only
        default: return cdNOT_SUPPORTED;
        }
    });
}

cdError CDAPI CDGetMaximumZoomPos(cdHSource source, uint32_t* maximum, uint32_t* other) {
    EntryCall call("CDGetMaximumZoomPos", source, maximum, other);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDGetMaximumZoomPos", source, &status);
        if (!s) return status;
        if (!maximum || !other) return cdINVALID_POINTER;
        *maximum = sim.CameraOf(*s).config.zoomMax;
        *other = sim.CameraOf(*s).config.zoomOther;
        return cdOK;
    });
}

cdError CDAPI CDSetZoomPos(cdHSource source, uint32_t position) {
    EntryCall call("CDSetZoomPos", source, position);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDSetZoomPos", source, &status);
        if (!s) return status;
        CameraModel& camera = sim.CameraOf(*s);
        if (position > camera.config.zoomMax) return cdINVALID_PARAMETER;
        camera.zoomPos = position;
        return cdOK;
    });
}

cdError CDAPI CDGetZoomPos(cdHSource source, uint32_t* position) {
    EntryCall call("CDGetZoomPos", source, position);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDGetZoomPos", source, &status);
        if (!s) return status;
        if (!position) return cdINVALID_POINTER;
        *position = sim.CameraOf(*s).zoomPos;
        return cdOK;
    });
}

cdError CDAPI CDGetDZoomMagnification(cdHSource source, uint32_t* magnification) {
    EntryCall call("CDGetDZoomMagnification", source, magnification);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        if (!sim.FindSource("CDGetDZoomMagnification", source, &status)) return status;
        if (!magnification) return cdINVALID_POINTER;
        *magnification = 1;  // no digital zoom
        return cdOK;
    });
}

cdError CDAPI CDSelectViewFinderCameraOutput(cdHSource source, uint32_t output) {
    EntryCall call("CDSelectViewFinderCameraOutput", source, output);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDSelectViewFinderCameraOutput", source, &status);
        if (!s) return status;
        CameraModel& camera = sim.CameraOf(*s);
        if (!camera.config.lcdOutput) return cdNOT_SUPPORTED;
        if (output != cdVF_OUTPUT_LCD_ON && output != cdVF_OUTPUT_LCD_OFF) return cdINVALID_PARAMETER;
        camera.lcd = output;
        return cdOK;
    });
}

}  // extern "C"
