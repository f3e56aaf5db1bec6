#include "dialog/layout_value.h"

#include <cstdio>

namespace layout_value {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
}  // namespace

int32_t ParseField(const char* text, size_t width) {
    size_t i = 0;
    while (i < width && text[i] != '\0' && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < width && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int32_t value = 0;  // at most four digits: no overflow
    while (i < width && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i] - '0');
        ++i;
    }
    return negative ? -value : value;
}

bool Parse(const char* value, ControlPlace* place) {
    if (!value || value[0] == '\0' || !place) return false;
    int32_t fields[4] = {};
    size_t length = 0;
    while (length < 19 && value[length] != '\0') ++length;
    for (size_t f = 0; f < 4; ++f) {
        const size_t start = f * 5;
        fields[f] = start < length ? ParseField(value + start, 4) : 0;
    }
    *place = ControlPlace{fields[0], fields[1], fields[2], fields[3]};
    return true;
}

std::string Format(const ControlPlace& place) {
    char text[64];
    snprintf(text, sizeof text, "%04d,%04d,%04d,%04d", static_cast<int>(place.left), static_cast<int>(place.top),
             static_cast<int>(place.width), static_cast<int>(place.height));
    return text;
}

}  // namespace layout_value
