// The number in a stored settings value: optional leading white space and sign, then decimal
// digits up to the first other character. Text that does not start with a number gives 0;
// a number beyond the 32-bit range gives the nearest 32-bit limit.
#pragma once

#include <cstdint>
#include <string>

int32_t ParseStoredNumber(const char* text);
inline int32_t ParseStoredNumber(const std::string& text) { return ParseStoredNumber(text.c_str()); }

// The value written for a number: decimal, "%d".
std::string StoredNumberText(int32_t value);
