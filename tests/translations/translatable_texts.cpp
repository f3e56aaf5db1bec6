#include "tests/translations/translatable_texts.h"

#include <regex>

namespace translatable {
namespace {

// The translator's entry points and how many of their leading arguments are texts.
const struct {
    const char* name;
    size_t texts;
} kCalls[] = {{"Translate", 1}, {"InformationBox", 2}, {"WarningBox", 1}, {"ShowMessage", 2}};

// The translator's own files only pass texts on; their non-literal arguments are not sources.
bool IsTranslatorFile(const std::string& path) {
    return path.find("message_translator.") != std::string::npos || path.find("error_report.") != std::string::npos;
}

const std::map<std::string, std::string> kDialogSections = {
    {"IDD_HANDLE_CANON_DLG", "Handle dialog"}, {"IDD_SETTING_DIALOG", "Setting dialog"}};

// Controls whose template text is never shown: a trackbar has none, a date picker shows the date.
const std::set<std::string> kTextlessClasses = {"msctls_trackbar32", "SysDateTimePick32"};

// The contents of every string literal in `text` (C++ escapes, or the doubled quote of resource
// scripts).
std::vector<std::string> Literals(const std::string& text, bool doubledQuote = false) {
    std::vector<std::string> found;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\'') {  // a character literal may hold a quote
            for (++i; i < text.size() && text[i] != '\''; ++i) i += text[i] == '\\';
            continue;
        }
        if (text[i] != '"') continue;
        std::string value;
        for (++i; i < text.size(); ++i) {
            if (doubledQuote && text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                value += '"';
                ++i;
            } else if (text[i] == '"') {
                break;
            } else if (!doubledQuote && text[i] == '\\' && i + 1 < text.size()) {
                char c = text[++i];
                value += c == 'n' ? '\n' : c == 't' ? '\t' : c;
            } else {
                value += text[i];
            }
        }
        found.push_back(value);
    }
    return found;
}

// The top-level arguments of the call whose '(' is at `open`.
std::vector<std::string> Arguments(const std::string& code, size_t open) {
    std::vector<std::string> args(1);
    int depth = 0;
    for (size_t i = open + 1; i < code.size(); ++i) {
        char c = code[i];
        if (c == '"' || c == '\'') {  // copy the literal whole: it may hold commas and brackets
            size_t end = i + 1;
            while (end < code.size() && code[end] != c) end += code[end] == '\\' ? 2 : 1;
            args.back() += code.substr(i, end - i + 1);
            i = end;
            continue;
        }
        if (c == '(' || c == '[' || c == '{') ++depth;
        if ((c == ')' || c == ']' || c == '}') && depth-- == 0) break;
        if (c == ',' && depth == 0)
            args.emplace_back();
        else
            args.back() += c;
    }
    return args;
}

// "const char* caption": a declaration's parameter, not an argument.
bool IsDeclaration(const std::string& arg) {
    static const std::regex parameter(R"(^\s*(const\s+)?[\w:<>]+[\s*&]+\w+\s*$)");
    return std::regex_match(arg, parameter);
}

class Resolver {
public:
    explicit Resolver(const std::vector<SourceFile>& files) : m_files(files) {}

    // The texts an argument can carry; empty when they cannot be told.
    std::set<std::string> Resolve(const std::string& arg, int depth = 0) {
        std::vector<std::string> literals = Literals(arg);
        if (!literals.empty()) return {literals.begin(), literals.end()};
        static const std::regex lastName(R"((\w+)\s*(\.\s*c_str\s*\(\s*\))?\s*$)");
        std::smatch m;
        if (depth > 4 || !std::regex_search(arg, m, lastName) || m[1] == "nullptr") return {};
        const std::string name = m[1];
        std::set<std::string> texts;
        // A constant, or a variable assigned a literal or a constant.
        const std::regex assigned("\\b" + name + R"(\s*(\[\s*\])?\s*=\s*("[^"]*"|[\w:]+)\s*;)");
        const std::regex defined(R"((\w+)\s*\(([^()]*\b)" + name + R"()\s*\)\s*(const\s*)?\{)");
        for (const SourceFile& f : m_files) {
            if (f.code.find(name) == std::string::npos) continue;  // std::regex is slow
            for (std::sregex_iterator a(f.code.begin(), f.code.end(), assigned), end; a != end; ++a)
                for (const std::string& t : Resolve((*a)[2], depth + 1)) texts.insert(t);
            // A parameter: the texts of the matching argument of every call.
            for (std::sregex_iterator d(f.code.begin(), f.code.end(), defined), end; d != end; ++d) {
                size_t index = Arguments("(" + (*d)[2].str() + ")", 0).size() - 1;
                for (const std::string& t : CallTexts((*d)[1], index, depth + 1)) texts.insert(t);
            }
        }
        return texts;
    }

private:
    std::set<std::string> CallTexts(const std::string& function, size_t index, int depth) {
        std::set<std::string> texts;
        const std::regex call("\\b" + function + R"(\s*\()");
        for (const SourceFile& f : m_files)
            for (std::sregex_iterator c(f.code.find(function) == std::string::npos ? f.code.end() : f.code.begin(),
                                        f.code.end(), call), end;
                 c != end; ++c) {
                std::vector<std::string> args = Arguments(f.code, c->position() + c->length() - 1);
                if (index >= args.size() || IsDeclaration(args[index])) continue;
                for (const std::string& t : Resolve(args[index], depth)) texts.insert(t);
            }
        return texts;
    }

    const std::vector<SourceFile>& m_files;
};

}  // namespace

std::string StripComments(const std::string& code) {
    std::string out;
    for (size_t i = 0; i < code.size(); ++i) {
        char c = code[i];
        if (c == '"' || c == '\'') {
            size_t end = i + 1;
            while (end < code.size() && code[end] != c && code[end] != '\n') end += code[end] == '\\' ? 2 : 1;
            out += code.substr(i, end - i + 1);
            i = end;
        } else if (code.compare(i, 2, "//") == 0) {
            i = code.find('\n', i) - 1;
            if (i + 1 == 0) break;
        } else if (code.compare(i, 2, "/*") == 0) {
            size_t end = code.find("*/", i + 2);
            if (end == std::string::npos) break;
            out += ' ';
            i = end + 1;
        } else {
            out += c;
        }
    }
    return out;
}

Scan ScanCode(const std::vector<SourceFile>& files) {
    Scan scan;
    Resolver resolver(files);
    for (const auto& entry : kCalls) {
        const std::regex call(std::string("\\b") + entry.name + R"(\s*\()");
        for (const SourceFile& f : files)
            for (std::sregex_iterator c(f.code.find(entry.name) == std::string::npos ? f.code.end() : f.code.begin(),
                                        f.code.end(), call), end;
                 c != end; ++c) {
                std::vector<std::string> args = Arguments(f.code, c->position() + c->length() - 1);
                if (args.size() < entry.texts || IsDeclaration(args[0])) continue;
                for (size_t i = 0; i < entry.texts; ++i) {
                    bool literal = !Literals(args[i]).empty();
                    if (!literal && IsTranslatorFile(f.path)) continue;
                    std::set<std::string> texts = resolver.Resolve(args[i]);
                    if (texts.empty())
                        scan.problems.push_back(f.path + ": cannot tell the texts of " + entry.name + " argument '" +
                                                args[i] + "'");
                    scan.texts["Error Message"].insert(texts.begin(), texts.end());
                }
            }
    }
    return scan;
}

Scan ScanTemplates(const std::vector<SourceFile>& files) {
    Scan scan;
    static const std::regex dialog(R"((\w+)\s+DIALOG(EX)?\b([\s\S]*?)\bBEGIN\b([\s\S]*?)\bEND\b)");
    static const std::regex statement(
        R"(\b(CAPTION|CONTROL|[LRC]TEXT|(?:DEF)?PUSHBUTTON|GROUPBOX|(?:AUTO)?CHECKBOX|(?:AUTO)?RADIOBUTTON|STATE3|AUTO3STATE)\s+("(?:""|[^"])*")(?:\s*,\s*[^,]+,\s*("[^"]*"))?)");
    for (const SourceFile& f : files)
        for (std::sregex_iterator d(f.code.begin(), f.code.end(), dialog), end; d != end; ++d) {
            auto section = kDialogSections.find((*d)[1]);
            if (section == kDialogSections.end()) {
                scan.problems.push_back(f.path + ": dialog " + (*d)[1].str() + " has no language section here");
                continue;
            }
            const std::string body = (*d)[3].str() + "\n" + (*d)[4].str();
            for (std::sregex_iterator s(body.begin(), body.end(), statement), stop; s != stop; ++s) {
                const std::string text = Literals((*s)[2], true).front();
                const bool textless = (*s)[1] == "CONTROL" && (*s)[3].matched &&
                                      kTextlessClasses.count(Literals((*s)[3]).front());
                if (!text.empty() && !textless) scan.texts[section->second].insert(text);
            }
        }
    return scan;
}

}  // namespace translatable
