#include "camera/frame_hand_off.h"

#include <cstring>
#include <utility>

#include "camera/viewfinder_frame.h"

bool FrameHandOff::Store(const void* frame, size_t size) {
    if (!frame || size == 0 || size > viewfinder_frame::kMaxBytes) return false;
    Buffer& b = m_newest;
    if (size > b.capacity) {
        // Grown only: a camera keeps its frame size, so memory is taken once per viewfinder.
        b.data.reset();
        b.capacity = b.size = 0;
        b.data.reset(static_cast<uint8_t*>(std::malloc(size)));
        if (!b.data) {
            m_waiting = false;
            return false;
        }
        b.capacity = size;
    }
    std::memcpy(b.data.get(), frame, size);
    b.size = size;
    m_waiting = true;
    return true;
}

bool FrameHandOff::Hand(const uint8_t** frame, size_t* size) {
    if (!m_waiting || m_inFlight.load() != nullptr) return false;
    std::swap(m_newest, m_handed);
    m_waiting = false;
    m_inFlight = m_handed.data.get();
    *frame = m_handed.data.get();
    *size = m_handed.size;
    return true;
}

bool FrameHandOff::Drawn(const void* frame) {
    const uint8_t* expected = static_cast<const uint8_t*>(frame);
    return expected && m_inFlight.compare_exchange_strong(expected, nullptr);
}

void FrameHandOff::ForgetWaiting() { m_waiting = false; }

void FrameHandOff::Reset() {
    m_inFlight = nullptr;
    m_waiting = false;
    m_newest = Buffer();
    m_handed = Buffer();
}
