#include "simulator/viewfinder.h"

#include <string>

#include "simulator/bmp_file.h"
#include "simulator/sim_thread.h"

namespace sim {

FrameRing::FrameRing(uint32_t width, uint32_t height)
    : width_(width), height_(height), frameSize_(BmpFileSize(width, height)) {
    for (auto& slot : slots_) {
        slot.assign(frameSize_, 0);
        WriteBmpHeaders(slot.data(), width, height);
    }
}

Viewfinder::Viewfinder(std::shared_ptr<FrameRing> ring, uint32_t fps, cdViewfinderCallback callback,
                       cdContext context, SceneSource scene, std::atomic<uint32_t>& delivered)
    : shared_(new Shared{std::move(ring), 1000 / (fps ? fps : 1), callback, context, std::move(scene), delivered,
                         UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr))}) {}

Viewfinder::~Viewfinder() {
    // Stop() is the orderly end; a thread still running is told to end and keeps what it uses.
    SetEvent(shared_->stop.get());
}

bool Viewfinder::Start() {
    if (!shared_->stop) return false;
    auto* forThread = new std::shared_ptr<Shared>(shared_);
    thread_ = StartModuleThread(ThreadMain, forThread, &threadId_);
    if (!thread_) delete forThread;
    return static_cast<bool>(thread_);
}

void Viewfinder::Stop() {
    SetEvent(shared_->stop.get());
    if (!thread_) return;
    if (GetCurrentThreadId() != threadId_) WaitHandlingSentMessages(thread_.get());
    // Else stopped from inside the frame callback: the thread ends when the callback returns.
    thread_.reset();
}

DWORD WINAPI Viewfinder::ThreadMain(void* parameter) {
    std::unique_ptr<std::shared_ptr<Shared>> shared(static_cast<std::shared_ptr<Shared>*>(parameter));
    Run(**shared);
    return 0;
}

void Viewfinder::Run(Shared& s) {
    uint32_t frames = 0;
    ULONGLONG next = GetTickCount64() + s.periodMs;
    for (;;) {
        ULONGLONG now = GetTickCount64();
        DWORD wait = next > now ? static_cast<DWORD>(next - now) : 0;
        if (WaitForSingleObject(s.stop.get(), wait) != WAIT_TIMEOUT) return;
        // Timed from this frame's start: a late frame (a slow callback) is not followed by a burst.
        next = GetTickCount64() + s.periodMs;

        SceneParams scene;
        if (!s.scene(&scene)) continue;
        scene.banner = "LIVE " + std::to_string(frames);
        uint8_t* frame = s.ring->Slot(frames);
        RenderScene(scene, BmpPixels(frame, s.ring->Width(), s.ring->Height()));
        ++frames;
        s.callback(frame, static_cast<uint32_t>(s.ring->FrameSize()), cdVIEWFINDER_FORMAT_BMP, s.context);
        ++s.delivered;
    }
}

}  // namespace sim
