// The value format of the control-layout file: "left,top,width,height", each written "%04d"
// and read back from fixed character positions. No Windows calls.
#pragma once

#include <cstdint>
#include <string>

namespace layout_value {

struct ControlPlace {
    int32_t left, top, width, height;
};

// Fields are read from characters 0-3, 5-8, 10-13 and 15-18, each like atoi (leading blanks,
// a sign, digits up to the first other character); characters past the end count as absent.
// False for an empty value (the control stays where it is).
bool Parse(const char* value, ControlPlace* place);

// "%04d,%04d,%04d,%04d"; numbers of five or more characters widen their field.
std::string Format(const ControlPlace& place);

// atoi on at most `width` characters of `text`, never reading past its terminator.
int32_t ParseField(const char* text, size_t width);

}  // namespace layout_value
