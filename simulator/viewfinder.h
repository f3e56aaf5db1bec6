// The live viewfinder of one open source: a thread that renders the scene into a ring of BMP
// frames and hands each to the caller's frame callback at the configured rate.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "platform/handles.h"
#include "sdk/cdsdk_contract.h"
#include "simulator/scene.h"

namespace sim {

// Frame memory of one camera. A frame stays untouched for the next kSlots - 1 frames and the
// ring outlives the viewfinder, so a frame address handed out never dangles.
class FrameRing {
public:
    static constexpr int kSlots = 8;

    FrameRing(uint32_t width, uint32_t height);
    FrameRing(const FrameRing&) = delete;
    FrameRing& operator=(const FrameRing&) = delete;

    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }
    size_t FrameSize() const { return frameSize_; }
    uint8_t* Slot(uint32_t index) { return slots_[index % kSlots].data(); }

private:
    uint32_t width_;
    uint32_t height_;
    size_t frameSize_;
    std::vector<uint8_t> slots_[kSlots];
};

class Viewfinder {
public:
    // Fills the scene of the next frame under the simulator's lock; false while the camera
    // delivers nothing (switched off).
    using SceneSource = std::function<bool(SceneParams*)>;

    Viewfinder(std::shared_ptr<FrameRing> ring, uint32_t fps, cdViewfinderCallback callback, cdContext context,
               SceneSource scene, std::atomic<uint32_t>& delivered);
    Viewfinder(const Viewfinder&) = delete;
    Viewfinder& operator=(const Viewfinder&) = delete;
    ~Viewfinder();

    bool Start();
    // Returns when no callback can come any more. Called without the simulator's lock.
    void Stop();

private:
    // What the thread uses; shared with it, so a thread that was stopped from its own callback
    // (and cannot be waited for) may outlive this object.
    struct Shared {
        std::shared_ptr<FrameRing> ring;
        uint32_t periodMs;
        cdViewfinderCallback callback;
        cdContext context;
        SceneSource scene;
        std::atomic<uint32_t>& delivered;
        UniqueHandle stop;
    };
    static DWORD WINAPI ThreadMain(void* shared);
    static void Run(Shared& shared);

    std::shared_ptr<Shared> shared_;
    UniqueHandle thread_;
    DWORD threadId_ = 0;
};

}  // namespace sim
