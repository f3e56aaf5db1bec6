// The controller's copies of viewfinder frames. The SDK may reuse a frame's memory once its
// callback returns, so the callback copies the frame here; the window draws later from a copy
// that nothing rewrites until the window says it is done. Plain C++ (no Windows API).
//
// Two buffers: the newest frame, written by the callback, and the one handed to the window. They
// change places only when a new frame waits and the window has drawn the previous hand-off.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

class FrameHandOff {
public:
    FrameHandOff() = default;
    FrameHandOff(const FrameHandOff&) = delete;
    FrameHandOff& operator=(const FrameHandOff&) = delete;

    // Under the frame lock. Copies `size` bytes at `frame` as the newest frame. False, and the
    // frame ignored, for no bytes, more than viewfinder_frame::kMaxBytes, or no memory.
    bool Store(const void* frame, size_t size);
    // Under the frame lock. When a frame waits that was not handed yet and nothing is in flight,
    // hands it: true with its address and size, which stay as they are until Drawn(address).
    bool Hand(const uint8_t** frame, size_t* size);
    // Any thread: the window is done with `frame`. True when that was the frame in flight, whose
    // memory may then be rewritten.
    bool Drawn(const void* frame);
    // Under the frame lock: drops a waiting frame that was not handed.
    void ForgetWaiting();
    // Under the frame lock, when no window can read the frame in flight any more (its message
    // was dropped): forgets both frames and gives their memory back.
    void Reset();

private:
    struct Free {
        void operator()(uint8_t* p) const { std::free(p); }
    };
    struct Buffer {
        std::unique_ptr<uint8_t, Free> data;
        size_t capacity = 0;
        size_t size = 0;
    };

    Buffer m_newest;
    Buffer m_handed;
    bool m_waiting = false;  // m_newest holds a frame not handed yet
    std::atomic<const uint8_t*> m_inFlight{nullptr};
};
