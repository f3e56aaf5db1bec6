// A small INI reader for the simulator's configuration: sections, keys, values, in file order.
// Names compare without regard to case; values keep their text (surrounding blanks removed).
#pragma once

#include <string>
#include <vector>

namespace sim {

struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
    int line = 0;
};

// Parses INI text. Comment lines start with ';' or '#'. Returns false for a line that is
// neither a section, a key=value pair, a comment nor blank, and says why in `error`.
bool ParseIni(const std::string& text, std::vector<IniEntry>* entries, std::string* error);

bool EqualsNoCase(const std::string& a, const std::string& b);
std::string Trim(const std::string& text);

}  // namespace sim
