// The example language files stay complete as the code changes: every text the component passes
// to its translator has an entry in each of them, and each entry is still such a text.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/translations/translatable_texts.h"

namespace {

namespace fs = std::filesystem;
using namespace translatable;

const fs::path kRoot = KAMVIO_SOURCE_DIR;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<SourceFile> Sources(std::initializer_list<const char*> folders, std::initializer_list<const char*> types) {
    std::vector<SourceFile> files;
    for (const char* folder : folders)
        for (const auto& entry : fs::recursive_directory_iterator(kRoot / folder))
            for (const char* type : types)
                if (entry.path().extension() == type)
                    files.push_back({entry.path().lexically_relative(kRoot).string(), StripComments(ReadFile(entry.path()))});
    return files;
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r"), e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

// The entries as the profile functions find them: keys and values trimmed; an empty value counts
// as no entry (the component then shows its own text).
Texts ReadLanguageFile(const fs::path& path) {
    Texts texts;
    std::string section, line;
    std::ifstream in(path, std::ios::binary);
    while (std::getline(in, line)) {
        line = Trim(line);
        size_t eq = line.find('=');
        if (line.size() > 1 && line.front() == '[' && line.back() == ']')
            section = line.substr(1, line.size() - 2);
        else if (!line.empty() && line[0] != ';' && eq != std::string::npos && !Trim(line.substr(eq + 1)).empty())
            texts[section].insert(Trim(line.substr(0, eq)));
    }
    return texts;
}

TEST(TranslatableTexts, FollowsConstantsAndParametersIgnoresCommentsAndReportsWhatItCannotTell) {
    const std::vector<SourceFile> code = {{"a.cpp", StripComments(R"src(// Translate("commented")
        void F(const char* why) { ShowMessage("Cap, (x)", why); /* WarningBox("block", 0); */ }
        void G() { F(kText); F("Direct"); }
        constexpr char kText[] = "From constant";
        void H(std::string s) { m.Translate(s.c_str()); })src")}};
    Scan scan = ScanCode(code);
    EXPECT_EQ((std::set<std::string>{"Cap, (x)", "Direct", "From constant"}), scan.texts["Error Message"]);
    ASSERT_EQ(1u, scan.problems.size());
    EXPECT_NE(std::string::npos, scan.problems[0].find("s.c_str()")) << scan.problems[0];

    scan = ScanTemplates({{"x.rc", "IDD_OTHER DIALOG 0, 0, 9, 9\nBEGIN\n    LTEXT \"x\", -1, 0, 0, 9, 9\nEND\n"}});
    EXPECT_EQ(1u, scan.problems.size());
}

TEST(TranslationExamples, HoldEveryTextTheComponentTranslatesAndNothingElse) {
    Scan code = ScanCode(Sources({"sdk", "camera", "dialog", "settings", "component", "platform"}, {".cpp", ".h"}));
    Scan templates = ScanTemplates(Sources({"resources"}, {".rc"}));
    for (const auto& problem : code.problems) ADD_FAILURE() << problem;
    for (const auto& problem : templates.problems) ADD_FAILURE() << problem;
    // The profile functions ignore blanks around a key, as the comparison does.
    Texts expected;
    for (const Texts* scanned : {&code.texts, &templates.texts})
        for (const auto& [section, texts] : *scanned)
            for (const std::string& text : texts) expected[section].insert(Trim(text));

    // One text of each way a text reaches the translator, so that a blind scan cannot pass.
    const std::pair<const char*, const char*> seen[] = {
        {"Error Message", "View Off"},                  // one branch of a choice
        {"Error Message", "Warning"},                   // the translator's own caption
        {"Error Message", "PopCanonSettingDlg"},        // passed on as a parameter
        {"Error Message", "Please Set the timer interval from 5 seconds to 60 seconds!"},  // via a variable
        {"Handle dialog", "Camera Setting"},            // a button of the camera window
        {"Setting dialog", "Setting"},                  // a dialog caption
    };
    for (const auto& [section, text] : seen) EXPECT_EQ(1u, expected[section].count(text)) << section << ": " << text;
    EXPECT_EQ(0u, expected["Handle dialog"].count("Slider1")) << "a trackbar shows no text";

    for (const char* language : {"de", "fr"}) {
        Texts file = ReadLanguageFile(kRoot / "examples/languages" / language / "KamvioML.ini");
        for (const auto& [section, texts] : expected)
            for (const std::string& text : texts)
                EXPECT_EQ(1u, file[section].count(text)) << language << " [" << section << "] lacks \"" << text << "\"";
        for (const auto& [section, texts] : file)
            for (const std::string& text : texts)
                EXPECT_EQ(1u, expected[section].count(text))
                    << language << " [" << section << "] \"" << text << "\" is no text of the component";
    }
}

}  // namespace
