// Starting and ending the live viewfinder.
#include "simulator/exports.h"
#include "simulator/sdk_entry.h"

using namespace sim;

extern "C" {

cdError CDAPI CDStartViewfinder(cdHSource source, uint32_t format, cdViewfinderCallback callback, cdContext context) {
    EntryCall call("CDStartViewfinder", source, format, callback, context);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDStartViewfinder", source, &status);
        if (!s) return status;
        if (!callback) return cdINVALID_POINTER;
        if (format != cdVIEWFINDER_FORMAT_BMP) return cdINVALID_PARAMETER;
        CameraRuntime& camera = *sim.cameras[s->camera];
        const CameraConfig& config = camera.model.config;
        if (!(config.capability & cdCAPABILITY_PC_VIEWFINDER)) return cdNOT_SUPPORTED;
        if (!s->inReleaseControl) {
            sim.Violation("CDStartViewfinder", "source %s is not in release control", HandleText(source).c_str());
            return cdSEQUENCE_ERROR;
        }
        if (s->viewfinder) return cdSEQUENCE_ERROR;  // already running
        if (!camera.ring) camera.ring = std::make_shared<FrameRing>(config.viewWidth, config.viewHeight);
        auto viewfinder = std::make_unique<Viewfinder>(
            camera.ring, config.viewFps, config.frameFaults, callback, context,
            [&sim, source](SceneParams* scene) { return sim.DeliversFrames(source, scene); }, sim.framesDelivered);
        if (!viewfinder->Start()) return cdNOT_SUPPORTED;
        s->viewfinder = std::move(viewfinder);
        return cdOK;
    });
}

cdError CDAPI CDTermViewfinder(cdHSource source) {
    EntryCall call("CDTermViewfinder", source);
    return RunEntry(call, [&](Simulator& sim) -> cdError {
        Lock lock(sim.mutex);
        cdError status = 0;
        Source* s = sim.FindSource("CDTermViewfinder", source, &status, true);
        if (!s) return status;
        // Ending a viewfinder that does not run is harmless.
        std::unique_ptr<Viewfinder> viewfinder = std::move(s->viewfinder);
        lock.unlock();
        if (viewfinder) viewfinder->Stop();
        return cdOK;
    });
}

}  // extern "C"
