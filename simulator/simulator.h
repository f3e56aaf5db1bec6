// The simulated camera SDK's state: configuration, cameras, open sources, handles, recorders.
// One lock guards all of it and is never held while calling out to the caller (callbacks,
// stream operations) or while waiting for a thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sdk/cdsdk_contract.h"
#include "simulator/call_log.h"
#include "simulator/camera_model.h"
#include "simulator/event_dispatcher.h"
#include "simulator/fault_table.h"
#include "simulator/scene.h"
#include "simulator/sent_items.h"
#include "simulator/sim_config.h"
#include "simulator/viewfinder.h"
#include "simulator/violation_ledger.h"

namespace sim {

// A data item of a shot, waiting in the camera until it is transferred.
struct ReleasedItem {
    cdReleaseImageInfo info{};  // size filled once the bytes exist
    ItemShape shape;
    CameraConfig camera;  // the camera as it was at the shot
    SceneParams scene;
    std::once_flag made;
    std::vector<uint8_t> bytes;

    // Renders (and for pictures, encodes) the item on first use; without the simulator's lock.
    const std::vector<uint8_t>& Bytes(uint32_t rawSize);
};

struct CameraRuntime {
    explicit CameraRuntime(const CameraConfig& config) : model(config) {}
    CameraModel model;
    std::shared_ptr<FrameRing> ring;  // made at the first viewfinder start, kept for later ones
    cdHSource openSource = 0;
};

struct Source {
    cdHSource handle = 0;
    size_t camera = 0;
    bool alive = true;  // false once the camera was switched off or unplugged
    bool uiLocked = false;
    bool inReleaseControl = false;
    cdReleaseEventCallback releaseCallback = nullptr;
    cdContext releaseContext = 0;
    std::map<cdHandle, EventReceiver> registrations;
    std::unique_ptr<Viewfinder> viewfinder;
    std::deque<std::shared_ptr<ReleasedItem>> pending;
    std::vector<cdHVolume> volumes;
};

enum class EnumKind { Device, Volume, DeviceProperty, ImageFormat, List, RelCam };

struct Enumeration {
    EnumKind kind = EnumKind::Device;
    ListId list = ListId::WB;  // EnumKind::List
    uint32_t relCamId = 0;
    cdHSource source = 0;
    std::vector<uint32_t> values;
    size_t next = 0;
    uint32_t reportedCount = 0;
    uint32_t elementSize = 2;
};

class Simulator {
public:
    static Simulator& Get();

    Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    std::mutex mutex;

    // Configuration -------------------------------------------------------------------------
    SimConfig config;
    std::string configError;
    std::vector<std::unique_ptr<CameraRuntime>> cameras;
    // Back to the configuration of KAMVIO_SIM_CONFIG / CDSDK.ini / the defaults.
    void LoadStartupConfig();
    void ApplyConfig(SimConfig next);

    // Session -------------------------------------------------------------------------------
    uint32_t startCount = 0;  // CDStartSDK calls not yet finished
    bool everStarted = false;
    std::map<cdHSource, std::unique_ptr<Source>> sources;
    std::map<cdHEnum, Enumeration> enums;
    std::map<cdHVolume, std::pair<cdHSource, uint32_t>> volumes;
    cdHSource lastOpened = 0;
    uint32_t nextSequence = 1;
    std::atomic<uint32_t> framesDelivered{0};
    EventDispatcher events;

    uint32_t NewHandle() { return nextHandle_++; }
    // An open source, or null with `status` set: unknown handles go to the ledger (0x61), a
    // switched-off camera gives 0x80 unless `evenIfDead`.
    Source* FindSource(const char* entry, cdHSource handle, cdError* status, bool evenIfDead = false);
    // An open enumeration of `kind` (and of `list` for the code lists), else null, 0x61 and a ledger line.
    Enumeration* FindEnum(const char* entry, cdHEnum handle, EnumKind kind, cdError* status,
                          ListId list = ListId::Count);
    CameraModel& CameraOf(const Source& source) { return cameras[source.camera]->model; }
    // The camera that the test interface means by default: the last opened one while it is
    // open, else the first one.
    CameraRuntime* DefaultCamera();

    // Closes everything a finish or a reset must close. Returns what has to be stopped after
    // the lock is released.
    std::vector<std::unique_ptr<Viewfinder>> CloseAllSources();
    // Switches off the cameras of all open sources; false when none was open.
    bool SwitchOff(uint32_t event);
    // Armed by SimPowerOffAt: the entry at whose next call the camera switches off, and for a
    // transfer the body writes it survives first (0: at the call itself).
    std::string powerOffAt;
    uint32_t powerOffChunks = 0;
    bool DeliversFrames(cdHSource source, SceneParams* scene);
    SceneParams SceneOf(const CameraModel& camera) const;

    // Recorders -----------------------------------------------------------------------------
    CallLog log;
    FaultTable faults;
    ViolationLedger ledger;
    SentItems sent;
    void Violation(const char* entry, const char* format, ...);

private:
    bool ResolveEvent(const EventTarget& target, EventReceiver* receiver);
    uint32_t nextHandle_ = 0x10001;
    ULONGLONG sceneEpoch_;
};

std::string HandleText(uint32_t handle);
int64_t PcClock();

}  // namespace sim
