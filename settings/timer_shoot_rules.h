// The check of a timer-shooting request: interval from minutes and seconds, number of shots,
// and the message that refuses a request outside the allowed ranges.
#pragma once

#include <cstdint>
#include <string>

struct TimerRequest {
    uint32_t intervalSeconds = 0;  // minutes x 60 + seconds, at most 0xFFFFFFFF
    uint16_t count = 0;            // low 16 bits of the total
    const char* refusal = nullptr; // the message to show, or null when the request is accepted
};

// Texts as the user typed them; each converts like a stored number (empty gives 0).
TimerRequest CheckTimerRequest(const std::string& minutes, const std::string& seconds, const std::string& total);

namespace timer_messages {
constexpr char kCaption[] = "OnBtnTimershoot";
constexpr char kNoShots[] = "Please set the total numbers more than 1!";
constexpr char kSingleShotRange[] = "Please set the timer interval from 2 seconds to 30 seconds!";
constexpr char kSeriesRange[] = "Please Set the timer interval from 5 seconds to 60 seconds!";
}  // namespace timer_messages
