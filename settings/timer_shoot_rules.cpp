#include "settings/timer_shoot_rules.h"

#include "settings/stored_number.h"

namespace {

// Negative texts (pasted, since the edits take digits only) count as their 32-bit pattern,
// as an unsigned conversion would.
uint64_t Unsigned(const std::string& text) { return static_cast<uint32_t>(ParseStoredNumber(text)); }

}  // namespace

TimerRequest CheckTimerRequest(const std::string& minutes, const std::string& seconds, const std::string& total) {
    TimerRequest request;
    // Summed in 64 bits: an interval too large for 32 bits must not wrap into the allowed range.
    const uint64_t interval = Unsigned(minutes) * 60 + Unsigned(seconds);
    request.intervalSeconds = interval > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(interval);
    request.count = static_cast<uint16_t>(Unsigned(total) & 0xFFFF);
    const uint32_t s = request.intervalSeconds;
    if (request.count == 0)
        request.refusal = timer_messages::kNoShots;
    else if (request.count == 1 && (s < 2 || s > 30))
        request.refusal = timer_messages::kSingleShotRange;
    else if (request.count >= 2 && (s < 5 || s > 60))
        request.refusal = timer_messages::kSeriesRange;
    return request;
}
