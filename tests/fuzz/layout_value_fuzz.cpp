// KamvioPos.ini values: any text parses without reading past its terminator, and every place
// whose fields fit four characters survives Format and Parse unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "dialog/layout_value.h"
#include "tests/fuzz/require.h"

namespace {

bool FitsField(int32_t v) { return v >= -999 && v <= 9999; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The value as the profile reader hands it over: terminated, exactly as long as it is.
    std::vector<char> value(data, data + size);
    value.push_back('\0');
    layout_value::ControlPlace place{};
    const bool parsed = layout_value::Parse(value.data(), &place);
    Require(parsed == (value[0] != '\0'));
    if (parsed) {
        for (int32_t field : {place.left, place.top, place.width, place.height}) Require(FitsField(field));
    }
    // Each field alone, in a buffer of exactly its width (no terminator to stop at).
    for (size_t width = 0; width <= 4 && width <= size; ++width) {
        std::vector<char> field(data, data + width);
        Require(FitsField(layout_value::ParseField(field.data(), width)));
    }

    // Round trip of the first 16 bytes as four numbers folded into the writable range.
    if (size >= 16) {
        int32_t n[4];
        memcpy(n, data, sizeof n);
        for (int32_t& v : n) v = static_cast<int32_t>(static_cast<uint32_t>(v) % 10999u) - 999;
        const layout_value::ControlPlace written{n[0], n[1], n[2], n[3]};
        const std::string text = layout_value::Format(written);
        layout_value::ControlPlace read{};
        Require(layout_value::Parse(text.c_str(), &read));
        Require(read.left == n[0] && read.top == n[1] && read.width == n[2] && read.height == n[3]);
    }
    return 0;
}
