// KamvioPos.ini, SetData.ini and KamvioML.ini with malformed values, junk, missing sections or
// write-protected: the window still opens, connects, applies, zooms and closes, and every value
// that can be read is read the documented way. (The tests run as root, for whom Wine's read-only
// attribute does not stop a write: a protected file is also held open against writers.)
#include <climits>
#include <optional>
#include <random>

#include "resources/resource_ids.h"
#include "tests/bad_input/bad_input_fixture.h"

using namespace bad_input;

namespace {

constexpr char kCamera[] = "SimCam Compact Z10";  // the simulator's first camera

struct Content {
    const char* name;
    std::string value;                  // put under every key of the file's sections
    std::optional<int32_t> number;      // what a stored number reads as (none: no key is visible)
    enum Shape { Keyed, Junk, NoSection } shape = Keyed;
    bool readOnly = false;
};

using Keys = std::vector<std::pair<const char*, int>>;  // key and, for window texts and places, the control
struct Section {
    std::string name;
    Keys keys;
};

struct File {
    const char* name;
    std::vector<Section> sections;
};

std::string Junk() {
    std::mt19937 random(20261205);
    std::string bytes(6000, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
}

std::string FileText(const File& file, const Content& content) {
    if (content.shape == Content::Junk) return content.value;
    std::string text;
    for (const Section& s : file.sections) {
        if (content.shape == Content::Keyed) text += "[" + s.name + "]\r\n";
        for (const auto& key : s.keys) text += std::string(key.first) + "=" + content.value + "\r\n";
    }
    return text;
}

}  // namespace

TEST_F(BadInputTest, MalformedSettingsFilesAreReadTheDocumentedWayAndNeverStopTheWindow) {
    const Content contents[] = {
        {"non-numeric", "abc", 0},
        {"negative", "-12345", -12345},
        {"huge", "99999999999999999999", INT32_MAX},
        {"five digits", "12345,67890,11111,22222", 12345},
        {"10,000 characters", std::string(10000, '7'), INT32_MAX},
        {"blank", "   ", std::nullopt},
        {"binary junk", Junk(), std::nullopt, Content::Junk},
        {"no section", "0004,0005,0060,0020", std::nullopt, Content::NoSection},
        {"read-only", "0007,0008,0090,0020", 7, Content::Keyed, true},
    };
    const File files[] = {
        {"KamvioPos.ini",
         {{"Handle Dialog",
           {{"IDC_HandleCanonDlg_SourceCmb", IDC_HandleCanonDlg_SourceCmb}, {"IDC_HandleCanonDlg_Connect", IDC_HandleCanonDlg_Connect},
            {"IDC_HndlCnnDlg_Setting", IDC_HndlCnnDlg_Setting}, {"IDC_HandleCanonDlg_DisCnect", IDC_HandleCanonDlg_DisCnect},
            {"IDC_HandleCanonDlg_Release", IDC_HandleCanonDlg_Release}, {"IDC_HndlCnnDlg_ViewFinder", IDC_HndlCnnDlg_ViewFinder},
            {"IDC_HndlCnnDlg_ZomSldr", IDC_HndlCnnDlg_ZomSldr}, {"IDOK", IDOK}, {"IDC_BtnSearch", IDC_BtnSearch}}}}},
        {"SetData.ini",
         {{std::string(kCamera) + "Setting",
           {{"Size", 0}, {"Quality", 0}, {"White Balence", 0}, {"Exposal Compensation", 0}, {"Flash", 0},
            {"Shooting Mode", 0}, {"TV", 0}, {"AV", 0}, {"ISO Speed", 0}, {"Metering Mode", 0}, {"Photo Effect", 0},
            {"Owner Name", 0}, {"Macro", 0}, {"Foucsing Point", 0}, {"AF Light", 0}, {"Zoom Pos", 0}, {"Save Path", 0}}}}},
        {"KamvioML.ini",
         {{"Handle dialog",
           {{"Connect", IDC_HandleCanonDlg_Connect}, {"Release", IDC_HandleCanonDlg_Release}, {"Search", IDC_BtnSearch},
            {"Disconnect", IDC_HandleCanonDlg_DisCnect}, {"Camera Setting", IDC_HndlCnnDlg_Setting},
            {"Viewfinder", IDC_HndlCnnDlg_ViewFinder}, {"To LCD", IDC_HndlCnnDlg_ToLCD}}},
          {"Error Message", {{"Warning", 0}, {"API Error", 0}}}}},
    };
    for (const File& file : files) {
        for (const Content& content : contents) {
            SCOPED_TRACE(std::string(file.name) + ", " + content.name);
            for (const File& other : files) DeleteFileA(TestFile(other.name).c_str());
            const std::string path = TestFile(file.name), text = FileText(file, content);
            ASSERT_TRUE(test_support::WriteTextFile(path, text));
            UniqueFile holder;
            if (content.readOnly) {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
                holder.reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
                ASSERT_TRUE(holder);
            }
            Sim().SimReset();

            ASSERT_EQ(S_OK, Open());
            const HWND dialog = Dialog();
            ASSERT_TRUE(dialog);
            // The buttons' translations as the profile reader gives them, cut to 1023 characters.
            // (How odd places are read is the layout tests'.)
            for (const auto& [key, id] : file.name == std::string("KamvioML.ini") ? file.sections[0].keys : Keys{}) {
                const std::string value = IniText(file.name, "Handle dialog", key).substr(0, 1023);
                EXPECT_EQ(value.empty() ? std::string(key) : value, Text(dialog, id)) << key;
            }

            ASSERT_EQ(S_OK, ConnectFirst());
            EXPECT_EQ(S_OK, object->InitDCSettingByIniFile(Bstr(kCamera).get(), nullptr));
            uint32_t zoom = 99, wb = 99;
            Sim().SimGetSetting("ZoomPos", &zoom);
            Sim().SimGetSetting("WB", &wb);
            const bool setData = file.name == std::string("SetData.ini");
            const int32_t n = setData && content.number ? *content.number : 0;
            // The camera takes a stored number it offers and keeps its value for any other.
            EXPECT_EQ(zoom, n >= 0 && n <= 9 ? uint32_t(n) : 0u);
            EXPECT_EQ(wb, n >= 0 && n <= 6 ? uint32_t(n) : 0u);

            EXPECT_EQ(S_OK, object->SetZoomPos(2, nullptr)) << "a failed write of the zoom is not a failed zoom";
            if (setData) {
                EXPECT_EQ(IniText(file.name, file.sections[0].name, "Zoom Pos"), content.readOnly ? content.value : "2");
            }
            EXPECT_EQ(S_OK, object->DestroyKamvioDlg(nullptr));
            const std::string after = ReadFileBytes(path);
            if (content.readOnly) {
                EXPECT_EQ(after, text) << "a protected file is left as it was";
            } else if (file.name == std::string("KamvioPos.ini")) {
                for (const auto& [key, id] : file.sections[0].keys)
                    if (id != IDC_BtnSearch) { EXPECT_GE(IniText(file.name, "Handle Dialog", key).size(), 19u) << key; }
            }
            holder.reset();
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    }
}
