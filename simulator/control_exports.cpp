// The test and control interface of the simulated SDK (sim_control.h).
#include <fstream>
#include <set>
#include <sstream>

#include "simulator/exports.h"
#include "simulator/ini_text.h"
#include "simulator/simulator.h"

using namespace sim;

namespace {

constexpr uint32_t kMaxEventData = 64 * 1024;

// Copies text into a caller's buffer, cut to fit with its terminator; returns the full length.
uint32_t CopyText(const std::string& text, char* buffer, uint32_t size) {
    if (buffer && size > 0) {
        size_t n = text.size() < size - 1 ? text.size() : size - 1;
        memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
    }
    return static_cast<uint32_t>(text.size());
}

bool IsEntryName(const char* name) {
#define SIM_ENTRY_NAME(entry, params) #entry,
    static const std::set<std::string> names = {CDSDK_ENTRY_POINTS(SIM_ENTRY_NAME)};
#undef SIM_ENTRY_NAME
    return names.count(name) != 0;
}

// Replaces the configuration unless a source is open (its camera would vanish under it).
uint32_t LoadConfigText(const std::string& text) {
    Simulator& sim = Simulator::Get();
    SimConfig next;
    std::string error;
    bool parsed = ParseConfig(text, &next, &error);
    std::lock_guard<std::mutex> lock(sim.mutex);
    if (!parsed) {
        sim.configError = error;
        return 0;
    }
    if (!sim.sources.empty()) {
        sim.configError = "a source is open: close it before loading a configuration";
        return 0;
    }
    sim.configError.clear();
    sim.ApplyConfig(std::move(next));
    return 1;
}

uint32_t FireReleaseEvent(uint32_t event, const void* data, uint32_t size) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    if (!data || size > kMaxEventData) size = 0;
    bool any = false;
    for (const auto& entry : sim.sources) {
        const Source& source = *entry.second;
        if (!source.alive || !source.inReleaseControl || !source.releaseCallback) continue;
        any = sim.events.Post({EventTarget::Release, source.handle, 0}, event, data, size) || any;
    }
    return any ? 1 : 0;
}

uint32_t SwitchOff(uint32_t event) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    return sim.SwitchOff(event) ? 1 : 0;
}

// Values of the open source's session, for the test interface.
bool SessionSetting(Simulator& sim, const CameraRuntime& camera, const std::string& key, uint32_t* value) {
    auto it = sim.sources.find(camera.openSource);
    const Source* source = it == sim.sources.end() ? nullptr : it->second.get();
    const std::pair<const char*, uint32_t> values[] = {
        {"Open", source ? 1u : 0u},
        {"UiLocked", source && source->uiLocked ? 1u : 0u},
        {"ReleaseControl", source && source->inReleaseControl ? 1u : 0u},
        {"Viewfinder", source && source->viewfinder ? 1u : 0u},
        {"Registrations", source ? static_cast<uint32_t>(source->registrations.size()) : 0u},
        {"PendingItems", source ? static_cast<uint32_t>(source->pending.size()) : 0u},
    };
    for (const auto& entry : values) {
        if (EqualsNoCase(key, entry.first)) {
            *value = entry.second;
            return true;
        }
    }
    return false;
}

// "Camera2.WB" names camera 2; a bare key means the default camera.
CameraRuntime* CameraForKey(Simulator& sim, std::string* key) {
    if (key->size() > 7 && EqualsNoCase(key->substr(0, 6), "Camera")) {
        size_t dot = key->find('.');
        uint32_t number = 0;
        if (dot != std::string::npos && ParseNumber(key->substr(6, dot - 6), &number)) {
            *key = key->substr(dot + 1);
            return number >= 1 && number <= sim.cameras.size() ? sim.cameras[number - 1].get() : nullptr;
        }
    }
    return sim.DefaultCamera();
}

}  // namespace

extern "C" {

uint32_t CDAPI SimReset(void) {
    Simulator& sim = Simulator::Get();
    std::unique_lock<std::mutex> lock(sim.mutex);
    const bool wasStarted = sim.startCount > 0;
    auto viewfinders = sim.CloseAllSources();
    sim.startCount = 0;
    sim.everStarted = false;
    lock.unlock();
    for (auto& viewfinder : viewfinders) viewfinder->Stop();
    lock.lock();
    sim.events.Stop(lock);
    sim.LoadStartupConfig();
    sim.log.Clear();
    sim.ledger.Clear();
    sim.faults.Clear();
    sim.powerOffAt.clear();
    sim.powerOffChunks = 0;
    sim.sent.Clear();
    sim.framesDelivered = 0;
    sim.nextSequence = 1;
    return wasStarted ? 0 : 1;  // a started SDK was shut down by force
}

uint32_t CDAPI SimLoadConfigFile(const char* path) {
    if (!path) return 0;
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    if (file) text << file.rdbuf();
    if (!file || file.bad()) {
        Simulator& sim = Simulator::Get();
        std::lock_guard<std::mutex> lock(sim.mutex);
        sim.configError = std::string("cannot read ") + path;
        return 0;
    }
    return LoadConfigText(text.str());
}

uint32_t CDAPI SimLoadConfigText(const char* text) { return text ? LoadConfigText(text) : 0; }

uint32_t CDAPI SimConfigError(char* buffer, uint32_t size) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    return CopyText(sim.configError, buffer, size);
}

uint32_t CDAPI SimSetFault(const char* name, uint32_t status, int32_t count) {
    if (!name || !IsEntryName(name)) return 0;
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    sim.faults.Set(name, status, count);
    return 1;
}

void CDAPI SimClearFaults(void) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    sim.faults.Clear();
}

uint32_t CDAPI SimFireDeviceEvent(uint32_t event, uint32_t data) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    bool any = false;
    for (const auto& entry : sim.sources) {
        const Source& source = *entry.second;
        if (!source.alive) continue;
        for (const auto& registration : source.registrations) {
            any = sim.events.Post({EventTarget::Device, source.handle, registration.first}, event, &data, sizeof data) ||
                  any;
        }
    }
    return any ? 1 : 0;
}

uint32_t CDAPI SimFireReleaseEvent(uint32_t event, const void* data, uint32_t size) {
    return FireReleaseEvent(event, data, size);
}

uint32_t CDAPI SimPendingEvents(void) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    return static_cast<uint32_t>(sim.events.Pending());
}

uint32_t CDAPI SimPressShutter(void) { return FireReleaseEvent(cdRELEASE_EVENT_RESET_HW_ERROR, nullptr, 0); }

uint32_t CDAPI SimPowerOff(void) { return SwitchOff(cdEVENT_SHUTDOWN_POWER_OFF); }

uint32_t CDAPI SimUnplug(void) { return SwitchOff(cdEVENT_SHUTDOWN_UNPLUGGED); }

uint32_t CDAPI SimPowerOn(void) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    uint32_t count = 0;
    for (auto& camera : sim.cameras) {
        if (camera->model.poweredOff) ++count;
        camera->model.poweredOff = false;
    }
    return count;
}

uint32_t CDAPI SimLogCount(void) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    return static_cast<uint32_t>(sim.log.Count());
}

uint32_t CDAPI SimLogGet(uint32_t index, SimCall* call) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    return sim.log.Get(index, call) ? 1 : 0;
}

void CDAPI SimLogClear(void) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    sim.log.Clear();
}

uint32_t CDAPI SimViolationCount(void) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    return static_cast<uint32_t>(sim.ledger.Count());
}

uint32_t CDAPI SimViolationGet(uint32_t index, char* buffer, uint32_t size) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    const std::string* line = sim.ledger.Get(index);
    if (!line) {
        CopyText(std::string(), buffer, size);
        return 0;
    }
    return CopyText(*line, buffer, size);
}

void CDAPI SimViolationClear(void) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    sim.ledger.Clear();
}

uint32_t CDAPI SimGetSetting(const char* key, uint32_t* value) {
    if (!key || !value) return 0;
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    std::string name = key;
    const std::pair<const char*, uint32_t> global[] = {
        {"Started", sim.startCount},
        {"OpenSources", static_cast<uint32_t>(sim.sources.size())},
        {"OpenEnumerations", static_cast<uint32_t>(sim.enums.size())},
        {"FramesDelivered", sim.framesDelivered.load()},
        {"Cameras", static_cast<uint32_t>(sim.cameras.size())},
    };
    for (const auto& entry : global) {
        if (EqualsNoCase(name, entry.first)) {
            *value = entry.second;
            return 1;
        }
    }
    CameraRuntime* camera = CameraForKey(sim, &name);
    if (!camera) return 0;
    if (SessionSetting(sim, *camera, name, value)) return 1;
    return camera->model.Setting(name, PcClock(), value) ? 1 : 0;
}

uint32_t CDAPI SimGetSettingText(const char* key, char* buffer, uint32_t size) {
    if (!key) return 0;
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    std::string name = key;
    CameraRuntime* camera = CameraForKey(sim, &name);
    std::string text;
    if (!camera || !camera->model.Text(name, &text)) {
        CopyText(std::string(), buffer, size);
        return 0;
    }
    CopyText(text, buffer, size);
    return 1;
}

uint32_t CDAPI SimSentItemCount(void) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    return static_cast<uint32_t>(sim.sent.Count());
}

uint32_t CDAPI SimSentItemGet(uint32_t index, void* buffer, uint32_t size) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    const SentItem* item = sim.sent.Get(index);
    if (!item) return 0;
    if (buffer) memcpy(buffer, item->bytes.data(), size < item->bytes.size() ? size : item->bytes.size());
    return static_cast<uint32_t>(item->bytes.size());
}

uint32_t CDAPI SimSentItemInfo(uint32_t index, cdReleaseImageInfo* info) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    const SentItem* item = sim.sent.Get(index);
    if (!item || !info) return 0;
    *info = item->info;
    return 1;
}

uint32_t CDAPI SimFramesDelivered(void) { return Simulator::Get().framesDelivered.load(); }

uint32_t CDAPI SimPowerOffAt(const char* name, uint32_t chunks) {
    Simulator& sim = Simulator::Get();
    std::lock_guard<std::mutex> lock(sim.mutex);
    sim.powerOffAt.clear();
    sim.powerOffChunks = 0;
    if (!name || !*name) return 1;
    if (!IsEntryName(name)) return 0;
    sim.powerOffAt = name;
    sim.powerOffChunks = chunks;
    return 1;
}

}  // extern "C"
