// The live viewfinder of one open source: a thread that renders the scene into a ring of BMP
// frames and hands each to the caller's frame callback at the configured rate; configured faults
// make the frames lie about their size or vanish after the callback.
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

// Frames that exist only while their callback runs: each lies at the very end of committed
// pages of its own, decommitted when the callback returns, so a read after the callback or past
// the frame's end faults. A slot's addresses come back only after FrameRing::kSlots frames.
class PassingFrames {
public:
    explicit PassingFrames(size_t frameSize);
    PassingFrames(const PassingFrames&) = delete;
    PassingFrames& operator=(const PassingFrames&) = delete;
    ~PassingFrames();

    uint8_t* Commit(uint32_t index);  // null when the memory cannot be had
    void Decommit(uint32_t index);

private:
    size_t frameSize_;
    size_t committed_ = 0;
    void* regions_[FrameRing::kSlots] = {};
};

class Viewfinder {
public:
    // Fills the scene of the next frame under the simulator's lock; false while the camera
    // delivers nothing (switched off).
    using SceneSource = std::function<bool(SceneParams*)>;

    // `faults`: FrameFault bits, how the frames lie and what becomes of them after the callback.
    Viewfinder(std::shared_ptr<FrameRing> ring, uint32_t fps, uint32_t faults, cdViewfinderCallback callback,
               cdContext context, SceneSource scene, std::atomic<uint32_t>& delivered);
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
        uint32_t faults;
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
