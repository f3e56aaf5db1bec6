#include "simulator/viewfinder.h"

#include <string>

#include "simulator/bmp_file.h"
#include "simulator/sim_config.h"
#include "simulator/sim_thread.h"

namespace sim {

namespace {

// Makes the frame's headers lie as configured; returns the size to hand over with it.
uint32_t Lie(uint32_t faults, uint8_t* frame, uint32_t width, uint32_t height, uint32_t size) {
    if (faults & kFrameTallHeader) PutLe32(frame + 22, height + 1);
    if (faults & kFrameWideHeader) PutLe32(frame + 18, width * 2);
    if (faults & kFrameFarPixels) PutLe32(frame + 10, size);
    return faults & kFrameShortSize ? kBmpHeaderBytes - 1 : size;
}

void Poison(const ImageView& pixels) {
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x) pixels.Set(x, y, 255, 0, 255);
}

}  // namespace

// Each slot is a reservation of its own: the frame's committed pages, then one that never is.
PassingFrames::PassingFrames(size_t frameSize) : frameSize_(frameSize) {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    const size_t page = info.dwPageSize;
    committed_ = (frameSize + page - 1) / page * page;
    for (void*& region : regions_) region = VirtualAlloc(nullptr, committed_ + page, MEM_RESERVE, PAGE_NOACCESS);
}

PassingFrames::~PassingFrames() {
    for (void* region : regions_)
        if (region) VirtualFree(region, 0, MEM_RELEASE);
}

uint8_t* PassingFrames::Commit(uint32_t index) {
    void* region = regions_[index % FrameRing::kSlots];
    if (!region || !VirtualAlloc(region, committed_, MEM_COMMIT, PAGE_READWRITE)) return nullptr;
    return static_cast<uint8_t*>(region) + committed_ - frameSize_;
}

void PassingFrames::Decommit(uint32_t index) {
    if (void* region = regions_[index % FrameRing::kSlots]) VirtualFree(region, committed_, MEM_DECOMMIT);
}

FrameRing::FrameRing(uint32_t width, uint32_t height)
    : width_(width), height_(height), frameSize_(BmpFileSize(width, height)) {
    for (auto& slot : slots_) {
        slot.assign(frameSize_, 0);
        WriteBmpHeaders(slot.data(), width, height);
    }
}

Viewfinder::Viewfinder(std::shared_ptr<FrameRing> ring, uint32_t fps, uint32_t faults, cdViewfinderCallback callback,
                       cdContext context, SceneSource scene, std::atomic<uint32_t>& delivered)
    : shared_(new Shared{std::move(ring), 1000 / (fps ? fps : 1), faults, callback, context, std::move(scene),
                         delivered, UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr))}) {}

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
    std::unique_ptr<PassingFrames> passing;
    if (s.faults & kFrameFreed) passing.reset(new PassingFrames(s.ring->FrameSize()));
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
        const uint32_t slot = frames++;
        uint8_t* frame = passing ? passing->Commit(slot) : s.ring->Slot(slot);
        if (!frame) continue;
        const uint32_t width = s.ring->Width(), height = s.ring->Height();
        WriteBmpHeaders(frame, width, height);  // a lie told to the last user of this slot goes
        RenderScene(scene, BmpPixels(frame, width, height));
        const uint32_t size = Lie(s.faults, frame, width, height, static_cast<uint32_t>(s.ring->FrameSize()));
        s.callback(frame, size, cdVIEWFINDER_FORMAT_BMP, s.context);
        ++s.delivered;
        if (s.faults & kFramePoisoned) Poison(BmpPixels(frame, width, height));
        if (passing) passing->Decommit(slot);
    }
}

}  // namespace sim
