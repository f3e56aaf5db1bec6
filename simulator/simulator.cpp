#include "simulator/simulator.h"

#include <stdarg.h>
#include <stdio.h>
#include <time.h>

#include <fstream>
#include <sstream>

#include "simulator/item_bytes.h"
#include "simulator/jpeg_encoder.h"

namespace sim {

namespace {

// The folder of this DLL, with a trailing backslash.
std::string ModuleFolder() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&ModuleFolder), &module))
        return std::string();
    char path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::string();
    std::string folder(path, n);
    size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

bool ReadWholeFile(const std::string& path, std::string* text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream contents;
    contents << file.rdbuf();
    *text = contents.str();
    return !file.bad();
}

}  // namespace

std::string HandleText(uint32_t handle) {
    char text[16];
    snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(handle));
    return text;
}

int64_t PcClock() { return static_cast<int64_t>(time(nullptr)); }

const std::vector<uint8_t>& ReleasedItem::Bytes(uint32_t rawSize) {
    std::call_once(made, [&] {
        const uint32_t sequence = info.sequenceId;
        if (shape.format == cdFORMAT_JPEG && shape.size == 0) {
            PicturePlan plan = PlanPicture(camera, shape.kind, camera.List(ListId::ImageFormat).current);
            OwnedImage image(plan.width, plan.height);
            RenderScene(scene, image.View());
            if (EncodeJpeg(image, plan.quality, &bytes)) return;
            // Without an encoder the item is still delivered, recognisably not a picture.
        }
        uint32_t size = shape.size ? shape.size : rawSize;
        bytes = SyntheticItem(shape.kind, shape.format, size, sequence, scene.lines);
    });
    return bytes;
}

Simulator& Simulator::Get() {
    static Simulator instance;
    return instance;
}

Simulator::Simulator()
    : events(mutex, [this](const EventTarget& target, EventReceiver* receiver) { return ResolveEvent(target, receiver); }),
      sceneEpoch_(GetTickCount64()) {
    LoadStartupConfig();
}

void Simulator::LoadStartupConfig() {
    configError.clear();
    std::string path;
    char variable[MAX_PATH + 1] = {};
    DWORD n = GetEnvironmentVariableA("KAMVIO_SIM_CONFIG", variable, sizeof variable);
    if (n >= sizeof variable) {
        configError = "KAMVIO_SIM_CONFIG is longer than a path may be; built-in defaults used";
    } else if (n > 0) {
        path = variable;
    } else if (!ModuleFolder().empty()) {  // never a CDSDK.ini of the current folder by mistake
        std::string beside = ModuleFolder() + "CDSDK.ini";
        if (GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES) path = beside;
    }
    SimConfig next = DefaultConfig();
    if (!path.empty()) {
        std::string text, error;
        if (!ReadWholeFile(path, &text)) {
            configError = "cannot read " + path + "; built-in defaults used";
        } else if (!ParseConfig(text, &next, &error)) {
            configError = path + ": " + error + "; built-in defaults used";
            next = DefaultConfig();
        }
    }
    ApplyConfig(std::move(next));
}

void Simulator::ApplyConfig(SimConfig next) {
    config = std::move(next);
    cameras.clear();
    for (const CameraConfig& camera : config.cameras) cameras.push_back(std::make_unique<CameraRuntime>(camera));
    lastOpened = 0;
}

Source* Simulator::FindSource(const char* entry, cdHSource handle, cdError* status, bool evenIfDead) {
    auto it = sources.find(handle);
    if (it == sources.end()) {
        Violation(entry, "source %s is not open", HandleText(handle).c_str());
        *status = cdINVALID_HANDLE;
        return nullptr;
    }
    if (!it->second->alive && !evenIfDead) {
        *status = cdDEVICE_NOT_FOUND;
        return nullptr;
    }
    return it->second.get();
}

Enumeration* Simulator::FindEnum(const char* entry, cdHEnum handle, EnumKind kind, cdError* status, ListId list) {
    auto it = enums.find(handle);
    if (it == enums.end() || it->second.kind != kind || (kind == EnumKind::List && it->second.list != list)) {
        Violation(entry, "enumeration %s is not open (or of another kind)", HandleText(handle).c_str());
        *status = cdINVALID_HANDLE;
        return nullptr;
    }
    return &it->second;
}

CameraRuntime* Simulator::DefaultCamera() {
    auto it = sources.find(lastOpened);
    if (it != sources.end()) return cameras[it->second->camera].get();
    return cameras.empty() ? nullptr : cameras.front().get();
}

std::vector<std::unique_ptr<Viewfinder>> Simulator::CloseAllSources() {
    std::vector<std::unique_ptr<Viewfinder>> running;
    for (auto& entry : sources) {
        if (entry.second->viewfinder) running.push_back(std::move(entry.second->viewfinder));
        cameras[entry.second->camera]->openSource = 0;
    }
    sources.clear();
    enums.clear();
    volumes.clear();
    lastOpened = 0;
    return running;
}

bool Simulator::SwitchOff(uint32_t event) {
    bool any = false;
    for (auto& entry : sources) {
        Source& source = *entry.second;
        if (!source.alive) continue;
        any = true;
        source.alive = false;
        source.pending.clear();
        CameraOf(source).poweredOff = true;
        for (const auto& registration : source.registrations) {
            uint32_t data = 0;
            events.Post({EventTarget::Device, source.handle, registration.first}, event, &data, sizeof data);
        }
    }
    return any;
}

SceneParams Simulator::SceneOf(const CameraModel& camera) const {
    SceneParams scene;
    scene.step = static_cast<uint32_t>((GetTickCount64() - sceneEpoch_) / 66);  // the scene moves at 15 steps/s
    scene.zoomPos = camera.zoomPos;
    scene.zoomMax = camera.config.zoomMax;
    scene.whiteBalance = camera.config.List(ListId::WB).current;
    scene.exposureComp = camera.config.List(ListId::ExpComp).current;
    scene.lines = camera.Describe(PcClock());
    return scene;
}

bool Simulator::DeliversFrames(cdHSource handle, SceneParams* scene) {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = sources.find(handle);
    if (it == sources.end() || !it->second->alive) return false;
    *scene = SceneOf(CameraOf(*it->second));
    return true;
}

bool Simulator::ResolveEvent(const EventTarget& target, EventReceiver* receiver) {
    auto it = sources.find(target.source);
    if (it == sources.end()) return false;
    Source& source = *it->second;
    if (target.kind == EventTarget::Device) {
        auto registration = source.registrations.find(target.registration);
        if (registration == source.registrations.end()) return false;
        *receiver = registration->second;
        return true;
    }
    if (!source.inReleaseControl || !source.releaseCallback) return false;
    receiver->callback = source.releaseCallback;
    receiver->context = source.releaseContext;
    return true;
}

void Simulator::Violation(const char* entry, const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    ledger.Add(std::string(entry) + ": " + text);
}

}  // namespace sim
