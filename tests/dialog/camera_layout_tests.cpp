// KamvioPos.ini: control places read at window creation and written back at destruction.
#include <windows.h>

#include "tests/dialog/dialog_test_support.h"

using namespace dialog_test;

TEST_F(CameraWindowTest, WithoutLayoutFileTheTemplateStandsAndTheFirstCloseWritesEightKeys) {
    // The written keys, in file order.
    const std::pair<const char*, int> written[] = {
        {"IDC_HandleCanonDlg_SourceCmb", IDC_HandleCanonDlg_SourceCmb}, {"IDC_HandleCanonDlg_Connect", IDC_HandleCanonDlg_Connect},
        {"IDC_HndlCnnDlg_Setting", IDC_HndlCnnDlg_Setting}, {"IDC_HandleCanonDlg_DisCnect", IDC_HandleCanonDlg_DisCnect},
        {"IDC_HandleCanonDlg_Release", IDC_HandleCanonDlg_Release}, {"IDC_HndlCnnDlg_ViewFinder", IDC_HndlCnnDlg_ViewFinder},
        {"IDC_HndlCnnDlg_ZomSldr", IDC_HndlCnnDlg_ZomSldr}, {"IDOK", IDOK}};
    OpenModeless(1);
    RECT connect{6, 29, 50, 14};  // in template units: place, size
    MapDialogRect(hwnd(), &connect);
    EXPECT_EQ(ClientRectOf(hwnd(), IDC_HandleCanonDlg_Connect).left, connect.left);
    EXPECT_EQ(ClientRectOf(hwnd(), IDC_HandleCanonDlg_Connect).top, connect.top);
    // The main controls get a font of cell height 12, which goes with the window.
    const HFONT font = CameraDialogTestAccess::Font(*dialog);
    LOGFONTA description{};
    ASSERT_TRUE(GetObjectA(font, sizeof description, &description));
    EXPECT_EQ(description.lfHeight, 12);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageA(hwnd(), IDC_HandleCanonDlg_Connect, WM_GETFONT, 0, 0)), font);
    std::vector<std::string> places;
    for (const auto& [key, id] : written) places.push_back(Place(hwnd(), id));
    EXPECT_EQ(GetFileAttributesA(TestFile("KamvioPos.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    dialog.reset();
    EXPECT_EQ(GetObjectType(font), 0u);
    const std::vector<std::string> keys = IniKeys("KamvioPos.ini", "Handle Dialog");
    ASSERT_EQ(keys.size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(keys[i], written[i].first);
        EXPECT_EQ(IniValue("KamvioPos.ini", "Handle Dialog", written[i].first), places[i]) << written[i].first;
    }
}

TEST_F(CameraWindowTest, StoredPlacesAreReadByFixedFieldsAndWrittenBack) {
    const std::string nines(300, '9');
    const std::tuple<const char*, int, const char*, const char*> rows[] = {
        // key, control, stored value, where the control lands and what is stored after it closed
        {"IDC_HandleCanonDlg_Connect", IDC_HandleCanonDlg_Connect, "0010,0020,0100,0030", "0010,0020,0100,0030"},
        {"IDC_HndlCnnDlg_Setting", IDC_HndlCnnDlg_Setting, "12,15,75,23", "0012,0000,0003,0000"},
        {"IDC_HandleCanonDlg_DisCnect", IDC_HandleCanonDlg_DisCnect, nines.c_str(), "9999,9999,9999,9999"},
        {"IDC_HandleCanonDlg_Release", IDC_HandleCanonDlg_Release, "-005,-999,0120,0040", "-005,-999,0120,0040"},
        {"IDC_HndlCnnDlg_ViewFinder", IDC_HndlCnnDlg_ViewFinder, "abc", "0000,0000,0000,0000"},
        {"IDC_HndlCnnDlg_ZomSldr", IDC_HndlCnnDlg_ZomSldr, "0050,0060,0022,0106", "0050,0060,0022,0106"},
        {"IDOK", IDOK, "0150,0160,0070,0025", "0150,0160,0070,0025"},
        // Read but never written: the stored value outlives a move.
        {"IDC_BtnSearch", IDC_BtnSearch, "0300,0005,0060,0020", "0300,0005,0060,0020"},
        // A drop-down combo box keeps the height of its selection field: the height is not compared.
        {"IDC_HandleCanonDlg_SourceCmb", IDC_HandleCanonDlg_SourceCmb, "0003,-007,0140,0000", "0003,-007,0140"},
    };
    for (const auto& [key, id, stored, place] : rows)
        ASSERT_TRUE(WritePrivateProfileStringA("Handle Dialog", key, stored, TestFile("KamvioPos.ini").c_str()));
    OpenModeless(1);
    for (const auto& [key, id, stored, place] : rows) EXPECT_EQ(Place(hwnd(), id).substr(0, strlen(place)), place) << key;
    MoveWindow(GetDlgItem(hwnd(), IDC_BtnSearch), 1, 2, 3, 4, FALSE);
    dialog.reset();
    EXPECT_EQ(IniKeys("KamvioPos.ini", "Handle Dialog").size(), std::size(rows));
    for (const auto& [key, id, stored, place] : rows)
        EXPECT_EQ(IniValue("KamvioPos.ini", "Handle Dialog", key).substr(0, strlen(place)), place) << key;
}
