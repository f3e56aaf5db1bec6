// SetData.ini values: the number in any text agrees with the C library's reading clamped to
// 32 bits, and the plan of applying a section of arbitrary values keeps its order, its
// Tv/Av rule and its bounds. The input is the section: one value per line, in key order.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "settings/setting_keys.h"
#include "settings/stored_number.h"
#include "settings/stored_settings_plan.h"
#include "tests/fuzz/require.h"

namespace {

using setting_keys::kValueBufferSize;
using setting_table::KeyOf;
using stored_settings::Step;

int32_t Reference(const std::string& text) {
    errno = 0;
    const long long n = strtoll(text.c_str(), nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(n, INT32_MIN, INT32_MAX));
}

// Every key of the file, in its order.
std::vector<const char*> Keys() {
    std::vector<const char*> keys;
    for (const setting_table::StoredKey& stored : setting_table::kStoredKeys) {
        keys.push_back(stored.key);
        if (stored.pairedKey) keys.push_back(stored.pairedKey);
    }
    return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // First byte: the rule, and whether the reader overstates a cut value's length.
    const auto rule = (data[0] & 1) ? stored_settings::TvAvRule::WhenPresent : stored_settings::TvAvRule::ByStoredMode;
    const bool overstate = (data[0] & 2) != 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    std::map<std::string, std::string> section;
    size_t start = 0;
    for (const char* key : Keys()) {
        if (start > text.size()) break;
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string value = text.substr(start, end - start);
        Require(ParseStoredNumber(value) == Reference(value));
        value.resize(strnlen(value.c_str(), value.size()));  // a profile value ends at a NUL
        if (!value.empty()) section[key] = value;
        start = end + 1;
    }

    auto read = [&](const char* key, char* buffer, size_t room) -> size_t {
        auto found = section.find(key);
        if (found == section.end()) return 0;
        const std::string& v = found->second;
        const size_t copied = std::min(v.size(), room - 1);
        memcpy(buffer, v.data(), copied);
        buffer[copied] = '\0';
        return overstate ? v.size() : copied;
    };
    // What the plan sees of a key: the value cut to the buffer.
    auto seen = [&](const char* key) {
        return section.count(key) ? section[key].substr(0, kValueBufferSize - 1) : std::string();
    };

    const std::vector<stored_settings::Action> plan = stored_settings::Plan(read, rule);
    int previous = -1;
    for (const stored_settings::Action& a : plan) {
        Require(static_cast<int>(a.step) > previous);  // each step once, in the file's order
        previous = static_cast<int>(a.step);
        Require(a.text.size() < kValueBufferSize);
        if (a.step == Step::SavePath) Require(a.text.size() < kValueBufferSize - 1 && a.text == seen(KeyOf(Step::SavePath)));
        if (a.step == Step::SizeQuality)
            Require(a.number == Reference(seen(KeyOf(Step::SizeQuality))) &&
                    a.second == Reference(seen(setting_table::StoredKeyOf(Step::SizeQuality).pairedKey)));
        if (a.step == Step::ZoomPosition) Require(a.number == Reference(seen(KeyOf(Step::ZoomPosition))));
        if ((a.step == Step::Tv || a.step == Step::Av) && rule == stored_settings::TvAvRule::ByStoredMode) {
            Require(section.count(KeyOf(Step::ShootingMode)) > 0);
            const int32_t mode = Reference(seen(KeyOf(Step::ShootingMode))) & 0xFFFF;
            Require(mode == 4 || mode == (a.step == Step::Tv ? 2 : 3));
        }
    }
    return 0;
}
