#include "settings/stored_number.h"

#include <cstdio>
#include <limits>

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

int32_t ParseStoredNumber(const char* text) {
    if (!text) return 0;
    while (IsSpace(*text)) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    // Accumulated as a magnitude with a ceiling, so that no digit count can overflow.
    const int64_t ceiling = negative ? -int64_t(std::numeric_limits<int32_t>::min()) : std::numeric_limits<int32_t>::max();
    int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > ceiling) magnitude = ceiling;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

std::string StoredNumberText(int32_t value) {
    char text[16];
    snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return text;
}
