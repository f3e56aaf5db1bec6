// The camera SDK as the component sees it: status codes, records, callbacks and
// the 82 entry points. Shared by the component and by the simulated CDSDK.dll.
#pragma once

#include <stdint.h>

#if defined(_WIN32)
#define CDAPI __stdcall
#else
#define CDAPI
#endif

typedef uint32_t cdError;
typedef uint32_t cdHSource;
typedef uint32_t cdHEnum;
typedef uint32_t cdHVolume;
typedef uint32_t cdHandle;
typedef uintptr_t cdContext;  // the caller's own pointer, handed back unchanged

// Status codes. A call succeeded when the low 16 bits are 0.
enum : uint32_t {
    cdOK = 0x00,
    cdNOT_SUPPORTED = 0x07,
    cdINVALID_PARAMETER = 0x60,
    cdINVALID_HANDLE = 0x61,
    cdINVALID_POINTER = 0x62,
    cdDEVICE_NOT_FOUND = 0x80,
    cdDEVICE_BUSY = 0x81,
    cdDEVICE_NOT_INSTALLED = 0x82,
    cdDEVICE_NOT_RELEASED = 0x86,
    cdSTREAM_NOT_OPEN = 0xA1,
    cdSTREAM_ALREADY_OPEN = 0xA2,
    cdSTREAM_OPEN_ERROR = 0xA3,
    cdSTREAM_CLOSE_ERROR = 0xA4,
    cdSTREAM_SEEK_ERROR = 0xA5,
    cdSTREAM_TELL_ERROR = 0xA6,
    cdSTREAM_READ_ERROR = 0xA7,
    cdSTREAM_WRITE_ERROR = 0xA8,
    cdSTREAM_PERMISSION_ERROR = 0xA9,
    cdSTREAM_BAD_OPTIONS = 0xAB,
    cdENUM_NA = 0xF0,
    cdNOT_CONNECTED = 0xC0,
    cdSEQUENCE_ERROR = 0xD0,
};

inline bool cdSucceeded(cdError status) { return (status & 0xFFFF) == 0; }

// Event classes and ids delivered to the callbacks.
enum : uint32_t {
    cdEVENT_CLASS_MASK = 0x000F0000,
    cdEVENT_CLASS_SHUTDOWN = 0x00040000,   // bits 16..19 == 4
    cdEVENT_SHUTDOWN_POWER_OFF = 0x00040001,
    cdEVENT_SHUTDOWN_UNPLUGGED = 0x00040002,

    cdRELEASE_EVENT_RELEASE_START = 0x1C,
    cdRELEASE_EVENT_RELEASE_COMPLETE = 0x1D,
    cdRELEASE_EVENT_RESET_HW_ERROR = 0x1E,  // shutter button pressed on the camera
    cdRELEASE_EVENT_ABORT_PC_EVF = 0x20,
    cdRELEASE_EVENT_CHANGED_BY_UI = 0x20000,
    cdRELEASE_EVENT_CAM_POWER_OFF = 0x40000,
};

// Device properties the component reads or writes.
enum : uint32_t {
    cdDEVPROP_MODEL_NAME = 0x00000002,     // 32-byte text
    cdDEVPROP_CAPABILITY = 0x00000008,     // 32-bit word
    cdDEVPROP_OWNER_NAME = 0x0800000C,     // 32-byte text
    cdDEVPROP_TIME = 0x0800000D,           // 32-bit calendar time
};

enum : uint32_t {
    cdCAPABILITY_PC_VIEWFINDER = 4,
    cdCAPABILITY_STOP_VF_BEFORE_RELEASE = 8,
};

// Release-camera setting ids.
enum : uint32_t {
    cdRELCAM_METERING_MODE = 0x08000004,
    cdRELCAM_AF_POINT = 0x08000005,
    cdRELCAM_ISO_SPEED = 0x0800000C,
    cdRELCAM_PHOTO_EFFECT = 0x08000B00,
    cdRELCAM_AF_LIGHT = 0x08000C00,
};

enum : uint32_t {
    cdDATA_KIND_THUMBNAIL = 0x10,
    cdDATA_KIND_PICTURE = 0x20,
    cdDATA_KIND_FULLVIEW = 0x50,
    cdFORMAT_JPEG = 1,
    cdFORMAT_RAW = 2,
    cdVIEWFINDER_FORMAT_BMP = 1,
    cdVF_OUTPUT_LCD_ON = 1,
    cdVF_OUTPUT_LCD_OFF = 3,
    cdSTG_TYPE_STREAM = 1,
    cdSHOOTING_MODE_MACRO = 110,
};

#pragma pack(push, 1)

// 40-byte start record: size, then version 6.0.
struct cdVersionInfo {
    uint16_t size;
    uint16_t major;
    uint16_t minor;
    uint8_t reserved[34];
};
static_assert(sizeof(cdVersionInfo) == 40, "start record is 40 bytes");

// 400-byte camera source record. The component reads only the type and the name.
struct SourceInfo {
    uint32_t sourceType;   // 0 = none
    uint32_t portType;
    char modelName[256];
    uint32_t deviceIndex;  // the SDK's own: identifies the camera in CDOpenSource
    uint8_t reserved[400 - 268];
};
static_assert(sizeof(SourceInfo) == 400, "source record is 400 bytes");

struct cdVolumeInfo {
    uint32_t storageType;
    uint32_t maxCapacityKB;  // second word
    uint32_t freeSpaceKB;    // third word
    uint32_t access;
    char name[64];
};

// Released-data information, byte-packed, 16 bytes.
struct cdReleaseImageInfo {
    uint32_t sequenceId;
    uint32_t dataType;
    uint8_t format;
    uint32_t dataSize;
    uint8_t reserved[3];
};
static_assert(sizeof(cdReleaseImageInfo) == 16, "released-data record is 16 bytes");

#pragma pack(pop)

typedef void(CDAPI* cdSOpen)(cdContext context, uint16_t mode, cdError* err);
typedef void(CDAPI* cdSClose)(cdContext context, cdError* err);
typedef void(CDAPI* cdSRead)(cdContext context, void* buffer, uint32_t* size, cdError* err);
typedef void(CDAPI* cdSWrite)(cdContext context, const void* buffer, uint32_t* size, cdError* err);
typedef void(CDAPI* cdSSeek)(cdContext context, uint16_t origin, int32_t offset, cdError* err);
typedef uint32_t(CDAPI* cdSTell)(cdContext context, cdError* err);

enum : uint16_t {
    cdSTREAM_MODE_READ = 1,
    cdSTREAM_MODE_WRITE = 2,
    cdSTREAM_MODE_READ_WRITE = 3,
    cdSTREAM_MODE_OPEN_OR_CREATE = 4,
    cdSTREAM_SEEK_SET = 1,
    cdSTREAM_SEEK_CUR = 2,
    cdSTREAM_SEEK_END = 3,
};

// Stream descriptor: a context followed by six operations.
struct cdStream {
    cdContext context;
    cdSOpen Open;
    cdSClose Close;
    cdSRead Read;
    cdSWrite Write;
    cdSSeek Seek;
    cdSTell Tell;
};

// Storage record of a transfer: type 1, then the stream descriptor.
struct cdStgMedium {
    uint32_t type;
    cdStream* stream;
};

// Callbacks the component hands to the SDK; called on the SDK's own threads.
typedef cdError(CDAPI* cdEventCallback)(uint32_t event, const void* data, uint32_t size, cdContext context);
typedef cdError(CDAPI* cdReleaseEventCallback)(uint32_t event, const void* data, uint32_t size, cdContext context);
typedef cdError(CDAPI* cdViewfinderCallback)(const void* frame, uint32_t size, uint32_t format, cdContext context);
typedef cdError(CDAPI* cdProgressCallback)(uint32_t progress, uint32_t status, uint32_t reserved, cdContext context);

// The 82 entry points in the loader's resolution order: X(name, parameter list).
#define CDSDK_ENTRY_POINTS(X)                                                                                   \
    X(CDGetFunctions, (void* functions))                                                                        \
    X(CDStartSDK, (const cdVersionInfo* version, uint32_t option))                                              \
    X(CDFinishSDK, (void))                                                                                      \
    X(CDTermViewfinder, (cdHSource source))                                                                     \
    X(CDUnregisterEventCallbackFunction, (cdHSource source, cdHandle registration))                             \
    X(CDCloseSource, (cdHSource source))                                                                        \
    X(CDOpenSource, (const SourceInfo* info, cdHSource* source))                                                \
    X(CDLockUI, (cdHSource source))                                                                             \
    X(CDRegisterEventCallbackFunction,                                                                          \
      (cdHSource source, cdEventCallback callback, cdContext context, cdHandle * registration))                 \
    X(CDEnumVolumeReset, (cdHSource source, cdHEnum * enumeration))                                             \
    X(CDEnumVolumeNext, (cdHEnum enumeration, cdHVolume * volume))                                              \
    X(CDGetVolumeInfo, (cdHVolume volume, cdVolumeInfo * info))                                                 \
    X(CDEnumVolumeRelease, (cdHEnum enumeration))                                                               \
    X(CDEnumDevicePropertyReset, (cdHSource source, uint32_t option, cdHEnum * enumeration))                    \
    X(CDGetDevicePropertyData,                                                                                  \
      (cdHSource source, uint32_t property, uint32_t * size, void* data, uint32_t option))                      \
    X(CDEnumDevicePropertyRelease, (cdHEnum enumeration))                                                       \
    X(CDEnterReleaseControl, (cdHSource source, cdReleaseEventCallback callback, cdContext context))            \
    X(CDUnlockUI, (cdHSource source))                                                                           \
    X(CDSelectReleaseDataKind, (cdHSource source, uint32_t kind))                                               \
    X(CDRelease, (cdHSource source, uint32_t sync, cdProgressCallback callback, cdContext context,              \
                  uint32_t progressOption, uint32_t * dataCount))                                               \
    X(CDGetReleasedData, (cdHSource source, cdProgressCallback callback, cdContext context,                     \
                          uint32_t progressOption, cdReleaseImageInfo * info, cdStgMedium * medium))            \
    X(CDGetDeviceCount, (cdHEnum enumeration, uint32_t * count))                                                \
    X(CDStartViewfinder, (cdHSource source, uint32_t format, cdViewfinderCallback callback, cdContext context)) \
    X(CDGetMaximumZoomPos, (cdHSource source, uint32_t * maximum, uint32_t * other))                            \
    X(CDSetZoomPos, (cdHSource source, uint32_t position))                                                      \
    X(CDGetZoomPos, (cdHSource source, uint32_t * position))                                                    \
    X(CDGetDZoomMagnification, (cdHSource source, uint32_t * magnification))                                    \
    X(CDEnumDeviceReset, (uint32_t kind, cdHEnum * enumeration))                                                \
    X(CDEnumDeviceNext, (cdHEnum enumeration, SourceInfo * info))                                               \
    X(CDEnumDeviceRelease, (cdHEnum enumeration))                                                               \
    X(CDExitReleaseControl, (cdHSource source))                                                                 \
    X(CDEnumImageFormatAttributeReset, (cdHSource source, cdHEnum * enumeration))                               \
    X(CDEnumImageFormatAttributeNext, (cdHEnum enumeration, uint16_t * quality, uint16_t * size))               \
    X(CDGetImageFormatAttributeCount, (cdHEnum enumeration, uint32_t * count))                                  \
    X(CDEnumImageFormatAttributeRelease, (cdHEnum enumeration))                                                 \
    X(CDSetImageFormatAttribute, (cdHSource source, uint16_t quality, uint16_t size))                           \
    X(CDSetWBSetting, (cdHSource source, uint16_t value))                                                       \
    X(CDGetWBSetting, (cdHSource source, uint16_t * value))                                                     \
    X(CDEnumWBSettingReset, (cdHSource source, cdHEnum * enumeration))                                          \
    X(CDEnumWBSettingNext, (cdHEnum enumeration, uint16_t * value))                                             \
    X(CDGetWBSettingCount, (cdHEnum enumeration, uint32_t * count))                                             \
    X(CDEnumWBSettingRelease, (cdHEnum enumeration))                                                            \
    X(CDGetImageFormatAttribute, (cdHSource source, uint16_t * quality, uint16_t * size))                       \
    X(CDEnumExposureCompReset, (cdHSource source, cdHEnum * enumeration))                                       \
    X(CDEnumExposureCompNext, (cdHEnum enumeration, uint16_t * value))                                          \
    X(CDGetExposureCompCount, (cdHEnum enumeration, uint32_t * count))                                          \
    X(CDEnumExposureCompRelease, (cdHEnum enumeration))                                                         \
    X(CDGetExposureComp, (cdHSource source, uint16_t * value))                                                  \
    X(CDSetExposureComp, (cdHSource source, uint16_t value))                                                    \
    X(CDEnumFlashSettingReset, (cdHSource source, cdHEnum * enumeration))                                       \
    X(CDEnumFlashSettingNext, (cdHEnum enumeration, uint16_t * value))                                          \
    X(CDGetFlashSettingCount, (cdHEnum enumeration, uint32_t * count))                                          \
    X(CDEnumFlashSettingRelease, (cdHEnum enumeration))                                                         \
    X(CDGetFlashSetting, (cdHSource source, uint16_t * mode, uint32_t * second))                                \
    X(CDSetFlashSetting, (cdHSource source, uint16_t mode, uint32_t second))                                    \
    X(CDSetAvValue, (cdHSource source, uint16_t value))                                                         \
    X(CDGetAvValue, (cdHSource source, uint16_t * value))                                                       \
    X(CDSetTvValue, (cdHSource source, uint16_t value))                                                         \
    X(CDGetTvValue, (cdHSource source, uint16_t * value))                                                       \
    X(CDEnumAvValueReset, (cdHSource source, cdHEnum * enumeration))                                            \
    X(CDEnumAvValueNext, (cdHEnum enumeration, uint16_t * value))                                               \
    X(CDGetAvValueCount, (cdHEnum enumeration, uint32_t * count))                                               \
    X(CDEnumAvValueRelease, (cdHEnum enumeration))                                                              \
    X(CDEnumTvValueReset, (cdHSource source, cdHEnum * enumeration))                                            \
    X(CDEnumTvValueNext, (cdHEnum enumeration, uint16_t * value))                                               \
    X(CDGetTvValueCount, (cdHEnum enumeration, uint32_t * count))                                               \
    X(CDEnumTvValueRelease, (cdHEnum enumeration))                                                              \
    X(CDSetShootingMode, (cdHSource source, uint16_t mode))                                                     \
    X(CDGetShootingMode, (cdHSource source, uint16_t * mode))                                                   \
    X(CDEnumShootingModeReset, (cdHSource source, cdHEnum * enumeration))                                       \
    X(CDEnumShootingModeNext, (cdHEnum enumeration, uint16_t * mode))                                           \
    X(CDGetShootingModeCount, (cdHEnum enumeration, uint32_t * count))                                          \
    X(CDEnumShootingModeRelease, (cdHEnum enumeration))                                                         \
    X(CDGetRelCamSettingData, (cdHSource source, uint32_t id, uint32_t * size, void* data))                     \
    X(CDSetRelCamSettingData, (cdHSource source, uint32_t id, uint32_t size, const void* data))                 \
    X(CDEnumRelCamSettingDataReset,                                                                             \
      (cdHSource source, uint32_t id, cdHEnum * enumeration, uint32_t * elementSize))                           \
    X(CDEnumRelCamSettingDataNext, (cdHEnum enumeration, uint32_t elementSize, void* value))                    \
    X(CDGetRelCamSettingDataCount, (cdHEnum enumeration, uint32_t * count))                                     \
    X(CDEnumRelCamSettingDataRelease, (cdHEnum enumeration))                                                    \
    X(CDSetDevicePropertyData, (cdHSource source, uint32_t property, uint32_t * size, const void* data))        \
    X(CDAFLock, (cdHSource source, uint32_t lock))                                                              \
    X(CDSelectViewFinderCameraOutput, (cdHSource source, uint32_t output))

// One pointer type per entry point: PFN_CDStartSDK and so on.
#define CDSDK_DECLARE_PFN(name, params) typedef cdError(CDAPI* PFN_##name) params;
CDSDK_ENTRY_POINTS(CDSDK_DECLARE_PFN)
#undef CDSDK_DECLARE_PFN

enum { CDSDK_ENTRY_POINT_COUNT = 82 };
