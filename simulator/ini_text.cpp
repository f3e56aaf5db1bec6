#include "simulator/ini_text.h"

#include <cctype>

namespace sim {

std::string Trim(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool ParseIni(const std::string& text, std::vector<IniEntry>* entries, std::string* error) {
    std::string section;
    int lineNumber = 0;
    size_t pos = 0;
    // A UTF-8 byte-order mark is what editors like to put in front.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
    while (pos <= text.size()) {
        size_t eol = text.find('\n', pos);
        if (eol == std::string::npos) eol = text.size();
        std::string line = Trim(text.substr(pos, eol - pos));
        pos = eol + 1;
        ++lineNumber;
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            if (line.back() != ']' || line.size() < 3) {
                if (error) *error = "line " + std::to_string(lineNumber) + ": bad section header '" + line + "'";
                return false;
            }
            section = Trim(line.substr(1, line.size() - 2));
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos || Trim(line.substr(0, eq)).empty()) {
            if (error) *error = "line " + std::to_string(lineNumber) + ": expected key=value, got '" + line + "'";
            return false;
        }
        if (section.empty()) {
            if (error) *error = "line " + std::to_string(lineNumber) + ": key outside of any section";
            return false;
        }
        entries->push_back({section, Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)), lineNumber});
    }
    return true;
}

}  // namespace sim
