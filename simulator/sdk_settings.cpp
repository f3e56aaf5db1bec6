// Shooting settings: the code lists with their Reset/Next/Count/Release, Get and Set calls,
// the image format, the flash, and the release-camera setting data.
#include "simulator/exports.h"
#include "simulator/sdk_entry.h"

using namespace sim;

namespace {

// Opens an enumeration over a snapshot of the list, so later changes do not disturb it.
cdError ResetList(const char* entry, cdHSource source, cdHEnum* enumeration, EnumKind kind, ListId list,
                  uint32_t relCamId = 0, uint32_t* elementSize = nullptr) {
    Simulator& sim = Simulator::Get();
    Lock lock(sim.mutex);
    cdError status = 0;
    Source* s = sim.FindSource(entry, source, &status);
    if (!s) return status;
    if (!enumeration || (kind == EnumKind::RelCam && !elementSize)) return cdINVALID_POINTER;
    CameraModel& camera = sim.CameraOf(*s);
    const ListSetting* setting = nullptr;
    if (kind == EnumKind::RelCam) {
        setting = camera.RelCam(relCamId);
        if (!setting) return cdNOT_SUPPORTED;
        *elementSize = setting->elementSize;
    } else {
        setting = &camera.config.List(list);
    }
    Enumeration e;
    e.kind = kind;
    e.list = list;
    e.relCamId = relCamId;
    e.source = source;
    e.values = setting->values;
    e.reportedCount = setting->ReportedCount();
    e.elementSize = setting->elementSize;
    *enumeration = sim.NewHandle();
    sim.enums[*enumeration] = std::move(e);
    return cdOK;
}

// The next value of an enumeration, or ENUM_NA at its end.
// `room` is the caller's element size where it states one.
cdError NextValue(const char* entry, cdHEnum enumeration, EnumKind kind, ListId list, uint32_t* value,
                  uint32_t room = 4, uint32_t* ownSize = nullptr) {
    Simulator& sim = Simulator::Get();
    Lock lock(sim.mutex);
    cdError status = 0;
    Enumeration* e = sim.FindEnum(entry, enumeration, kind, &status, list);
    if (!e) return status;
    if (e->next >= e->values.size()) return cdENUM_NA;
    if (room < e->elementSize) return cdINVALID_PARAMETER;
    if (ownSize) *ownSize = e->elementSize;
    *value = e->values[e->next++];
    return cdOK;
}

cdError NextCode(const char* entry, cdHEnum enumeration, ListId list, uint16_t* code) {
    if (!code) return cdINVALID_POINTER;
    uint32_t value = 0;
    cdError status = NextValue(entry, enumeration, EnumKind::List, list, &value);
    if (status == cdOK) *code = static_cast<uint16_t>(value);
    return status;
}

cdError CountValues(const char* entry, cdHEnum enumeration, EnumKind kind, ListId list, uint32_t* count) {
    Simulator& sim = Simulator::Get();
    Lock lock(sim.mutex);
    cdError status = 0;
    Enumeration* e = sim.FindEnum(entry, enumeration, kind, &status, list);
    if (!e) return status;
    if (!count) return cdINVALID_POINTER;
    *count = e->reportedCount;
    return cdOK;
}

cdError ReleaseEnum(const char* entry, cdHEnum enumeration, EnumKind kind, ListId list) {
    Simulator& sim = Simulator::Get();
    Lock lock(sim.mutex);
    cdError status = 0;
    if (!sim.FindEnum(entry, enumeration, kind, &status, list)) return status;
    sim.enums.erase(enumeration);
    return cdOK;
}

cdError GetCode(const char* entry, cdHSource source, ListId list, uint16_t* code) {
    Simulator& sim = Simulator::Get();
    Lock lock(sim.mutex);
    cdError status = 0;
    Source* s = sim.FindSource(entry, source, &status);
    if (!s) return status;
    if (!code) return cdINVALID_POINTER;
    *code = static_cast<uint16_t>(sim.CameraOf(*s).config.List(list).current);
    return cdOK;
}

cdError SetCode(const char* entry, cdHSource source, ListId list, uint32_t value) {
    Simulator& sim = Simulator::Get();
    Lock lock(sim.mutex);
    cdError status = 0;
    Source* s = sim.FindSource(entry, source, &status);
    if (!s) return status;
    CameraModel& camera = sim.CameraOf(*s);
    ListSetting& setting = camera.config.List(list);
    if (!camera.Accepts(setting, value)) return cdINVALID_PARAMETER;
    setting.current = value;
    return cdOK;
}

}  // namespace

// The five code lists with a Reset/Next/Count/Release set and a Get/Set pair of their own.
#define SIM_CODE_LIST(Which, ResetName, NextName, CountName, ReleaseName)                                    \
    cdError CDAPI ResetName(cdHSource source, cdHEnum* enumeration) {                                        \
        EntryCall call(#ResetName, source, enumeration);                                                     \
        return RunEntry(call, [&](Simulator&) {                                                              \
            return ResetList(#ResetName, source, enumeration, EnumKind::List, ListId::Which);                 \
        });                                                                                                  \
    }                                                                                                        \
    cdError CDAPI NextName(cdHEnum enumeration, uint16_t* value) {                                           \
        EntryCall call(#NextName, enumeration, value);                                                       \
        return RunEntry(call, [&](Simulator&) { return NextCode(#NextName, enumeration, ListId::Which, value); }); \
    }                                                                                                        \
    cdError CDAPI CountName(cdHEnum enumeration, uint32_t* count) {                                          \
        EntryCall call(#CountName, enumeration, count);                                                      \
        return RunEntry(call, [&](Simulator&) {                                                              \
            return CountValues(#CountName, enumeration, EnumKind::List, ListId::Which, count);                \
        });                                                                                                  \
    }                                                                                                        \
    cdError CDAPI ReleaseName(cdHEnum enumeration) {                                                         \
        EntryCall call(#ReleaseName, enumeration);                                                           \
        return RunEntry(call, [&](Simulator&) {                                                              \
            return ReleaseEnum(#ReleaseName, enumeration, EnumKind::List, ListId::Which);                     \
        });                                                                                                  \
    }

#define SIM_CODE_GET_SET(Which, GetName, SetName)                                                             \
    cdError CDAPI GetName(cdHSource source, uint16_t* value) {                                               \
        EntryCall call(#GetName, source, value);                                                             \
        return RunEntry(call, [&](Simulator&) { return GetCode(#GetName, source, ListId::Which, value); });   \
    }                                                                                                        \
    cdError CDAPI SetName(cdHSource source, uint16_t value) {                                                \
        EntryCall call(#SetName, source, value);                                                             \
        return RunEntry(call, [&](Simulator&) { return SetCode(#SetName, source, ListId::Which, value); });   \
    }

extern "C" {

SIM_CODE_LIST(WB, CDEnumWBSettingReset, CDEnumWBSettingNext, CDGetWBSettingCount, CDEnumWBSettingRelease)
SIM_CODE_LIST(ExpComp, CDEnumExposureCompReset, CDEnumExposureCompNext, CDGetExposureCompCount,
              CDEnumExposureCompRelease)
SIM_CODE_LIST(Flash, CDEnumFlashSettingReset, CDEnumFlashSettingNext, CDGetFlashSettingCount, CDEnumFlashSettingRelease)
SIM_CODE_LIST(Av, CDEnumAvValueReset, CDEnumAvValueNext, CDGetAvValueCount, CDEnumAvValueRelease)
SIM_CODE_LIST(Tv, CDEnumTvValueReset, CDEnumTvValueNext, CDGetTvValueCount, CDEnumTvValueRelease)
SIM_CODE_LIST(ShootingMode, CDEnumShootingModeReset, CDEnumShootingModeNext, CDGetShootingModeCount,
              CDEnumShootingModeRelease)

SIM_CODE_GET_SET(WB, CDGetWBSetting, CDSetWBSetting)
SIM_CODE_GET_SET(ExpComp, CDGetExposureComp, CDSetExposureComp)
SIM_CODE_GET_SET(Av, CDGetAvValue, CDSetAvValue)
SIM_CODE_GET_SET(Tv, CDGetTvValue, CDSetTvValue)
SIM_CODE_GET_SET(ShootingMode, CDGetShootingMode, CDSetShootingMode)

cdError CDAPI CDGetFlashSetting(cdHSource source, uint16_t* mode, uint32_t* second) {
    EntryCall call("CDGetFlashSetting", source, mode, second);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        if (!mode || !second) return cdINVALID_POINTER;
        cdError status = GetCode("CDGetFlashSetting", source, ListId::Flash, mode);
        if (status != cdOK) return status;
        Lock lock(sim.mutex);
        auto it = sim.sources.find(source);
        *second = it == sim.sources.end() ? 0 : sim.CameraOf(*it->second).flashSecond;
        return cdOK;
    });
}

cdError CDAPI CDSetFlashSetting(cdHSource source, uint16_t mode, uint32_t second) {
    EntryCall call("CDSetFlashSetting", source, mode, second);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        cdError status = SetCode("CDSetFlashSetting", source, ListId::Flash, mode);
        if (status != cdOK) return status;
        Lock lock(sim.mutex);
        auto it = sim.sources.find(source);
        if (it != sim.sources.end()) sim.CameraOf(*it->second).flashSecond = second;
        return cdOK;
    });
}

cdError CDAPI CDEnumImageFormatAttributeReset(cdHSource source, cdHEnum* enumeration) {
    EntryCall call("CDEnumImageFormatAttributeReset", source, enumeration);
    return RunEntry(call, [&](Simulator&) {
        return ResetList("CDEnumImageFormatAttributeReset", source, enumeration, EnumKind::ImageFormat,
                         ListId::ImageFormat);
    });
}

cdError CDAPI CDEnumImageFormatAttributeNext(cdHEnum enumeration, uint16_t* quality, uint16_t* size) {
    EntryCall call("CDEnumImageFormatAttributeNext", enumeration, quality, size);
    return RunEntry(call, [&](Simulator&) -> cdError {
        if (!quality || !size) return cdINVALID_POINTER;
        uint32_t packed = 0;
        cdError status =
            NextValue("CDEnumImageFormatAttributeNext", enumeration, EnumKind::ImageFormat, ListId::ImageFormat, &packed);
        if (status != cdOK) return status;
        *quality = FormatQuality(packed);
        *size = FormatSize(packed);
        return cdOK;
    });
}

cdError CDAPI CDGetImageFormatAttributeCount(cdHEnum enumeration, uint32_t* count) {
    EntryCall call("CDGetImageFormatAttributeCount", enumeration, count);
    return RunEntry(call, [&](Simulator&) {
        return CountValues("CDGetImageFormatAttributeCount", enumeration, EnumKind::ImageFormat, ListId::ImageFormat,
                           count);
    });
}

cdError CDAPI CDEnumImageFormatAttributeRelease(cdHEnum enumeration) {
    EntryCall call("CDEnumImageFormatAttributeRelease", enumeration);
    return RunEntry(call, [&](Simulator&) {
        return ReleaseEnum("CDEnumImageFormatAttributeRelease", enumeration, EnumKind::ImageFormat, ListId::ImageFormat);
    });
}

cdError CDAPI CDGetImageFormatAttribute(cdHSource source, uint16_t* quality, uint16_t* size) {
    EntryCall call("CDGetImageFormatAttribute", source, quality, size);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDGetImageFormatAttribute", source, &status);
        if (!s) return status;
        if (!quality || !size) return cdINVALID_POINTER;
        uint32_t packed = sim.CameraOf(*s).config.List(ListId::ImageFormat).current;
        *quality = FormatQuality(packed);
        *size = FormatSize(packed);
        return cdOK;
    });
}

cdError CDAPI CDSetImageFormatAttribute(cdHSource source, uint16_t quality, uint16_t size) {
    EntryCall call("CDSetImageFormatAttribute", source, quality, size);
    return RunEntry(call, [&](Simulator&) {
        return SetCode("CDSetImageFormatAttribute", source, ListId::ImageFormat, PackFormat(size, quality));
    });
}

cdError CDAPI CDGetRelCamSettingData(cdHSource source, uint32_t id, uint32_t* size, void* data) {
    EntryCall call("CDGetRelCamSettingData", source, id, size, data);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDGetRelCamSettingData", source, &status);
        if (!s) return status;
        if (!size || !data) return cdINVALID_POINTER;
        const ListSetting* setting = sim.CameraOf(*s).RelCam(id);
        if (!setting) return cdNOT_SUPPORTED;
        // A size word of 0 stands for a 4-byte buffer; only the value's own bytes are written.
        uint32_t room = *size ? *size : 4;
        if (room < setting->elementSize) return cdINVALID_PARAMETER;
        memcpy(data, &setting->current, setting->elementSize);  // little-endian: the low bytes
        *size = setting->elementSize;
        return cdOK;
    });
}

cdError CDAPI CDSetRelCamSettingData(cdHSource source, uint32_t id, uint32_t size, const void* data) {
    EntryCall call("CDSetRelCamSettingData", source, id, size, data);
    call.Capture(data, size);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDSetRelCamSettingData", source, &status);
        if (!s) return status;
        if (!data) return cdINVALID_POINTER;
        CameraModel& camera = sim.CameraOf(*s);
        ListSetting* setting = camera.RelCam(id);
        if (!setting) return cdNOT_SUPPORTED;
        if (size == 0 || size > 4) return cdINVALID_PARAMETER;
        // The value's own width counts; a wider buffer's upper bytes are not part of it.
        uint32_t value = 0;
        memcpy(&value, data, size < setting->elementSize ? size : setting->elementSize);
        if (!camera.Accepts(*setting, value)) return cdINVALID_PARAMETER;
        setting->current = value;
        return cdOK;
    });
}

cdError CDAPI CDEnumRelCamSettingDataReset(cdHSource source, uint32_t id, cdHEnum* enumeration, uint32_t* elementSize) {
    EntryCall call("CDEnumRelCamSettingDataReset", source, id, enumeration, elementSize);
    return RunEntry(call, [&](Simulator&) {
        return ResetList("CDEnumRelCamSettingDataReset", source, enumeration, EnumKind::RelCam, ListId::Count, id,
                         elementSize);
    });
}

cdError CDAPI CDEnumRelCamSettingDataNext(cdHEnum enumeration, uint32_t elementSize, void* value) {
    EntryCall call("CDEnumRelCamSettingDataNext", enumeration, elementSize, value);
    return RunEntry(call, [&](Simulator&) -> cdError {
        if (!value) return cdINVALID_POINTER;
        uint32_t next = 0, ownSize = 0;
        cdError status = NextValue("CDEnumRelCamSettingDataNext", enumeration, EnumKind::RelCam, ListId::Count, &next,
                                   elementSize, &ownSize);
        if (status != cdOK) return status;
        memcpy(value, &next, ownSize);  // the element's own bytes only
        return cdOK;
    });
}

cdError CDAPI CDGetRelCamSettingDataCount(cdHEnum enumeration, uint32_t* count) {
    EntryCall call("CDGetRelCamSettingDataCount", enumeration, count);
    return RunEntry(call, [&](Simulator&) {
        return CountValues("CDGetRelCamSettingDataCount", enumeration, EnumKind::RelCam, ListId::Count, count);
    });
}

cdError CDAPI CDEnumRelCamSettingDataRelease(cdHEnum enumeration) {
    EntryCall call("CDEnumRelCamSettingDataRelease", enumeration);
    return RunEntry(call, [&](Simulator&) {
        return ReleaseEnum("CDEnumRelCamSettingDataRelease", enumeration, EnumKind::RelCam, ListId::Count);
    });
}

}  // extern "C"
