// Finds every text the component hands to its translator, from its sources: the text arguments
// of the translator's calls (literals, named constants, and the values of the variables and
// parameters passed on) and the control texts of the dialog templates that TranslateWindow
// translates. Plain C++: reads files only.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace translatable {

struct SourceFile {
    std::string path;  // for messages
    std::string code;
};

// Section of the language file -> texts looked up in it.
using Texts = std::map<std::string, std::set<std::string>>;

struct Scan {
    Texts texts;
    std::vector<std::string> problems;  // arguments whose texts could not be told, unknown dialogs
};

// Code texts are looked up in "Error Message": every translator of the component is left in that
// section once its window is translated.
Scan ScanCode(const std::vector<SourceFile>& files);
// Dialog templates: texts of each dialog in that dialog's section.
Scan ScanTemplates(const std::vector<SourceFile>& files);

// The code without comments; string and character literals stay as they are.
std::string StripComments(const std::string& code);

}  // namespace translatable
