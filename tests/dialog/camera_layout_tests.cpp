// KamvioPos.ini: control places read at window creation and written back at destruction.
#include "tests/dialog/dialog_test_support.h"

TEST_F(CameraWindowTest, LayoutFileIsWrittenAtCloseAndReadByFixedFieldsAtCreation) {
    const std::string nines(300, '9'), file = TestFile("KamvioPos.ini");
    const std::tuple<const char*, int, const char*, const char*> rows[] = {
        // In file order: key, control, stored value, where the control lands and what is written back.
        // A drop-down combo box keeps the height of its selection field: the height is not compared.
        {"IDC_HandleCanonDlg_SourceCmb", IDC_HandleCanonDlg_SourceCmb, "0003,-007,0140,0000", "0003,-007,0140"},
        {"IDC_HandleCanonDlg_Connect", IDC_HandleCanonDlg_Connect, "0010,0020,0100,0030", "0010,0020,0100,0030"},
        {"IDC_HndlCnnDlg_Setting", IDC_HndlCnnDlg_Setting, "12,15,75,23", "0012,0000,0003,0000"},
        {"IDC_HandleCanonDlg_DisCnect", IDC_HandleCanonDlg_DisCnect, nines.c_str(), "9999,9999,9999,9999"},
        {"IDC_HandleCanonDlg_Release", IDC_HandleCanonDlg_Release, "-005,-999,0120,0040", "-005,-999,0120,0040"},
        {"IDC_HndlCnnDlg_ViewFinder", IDC_HndlCnnDlg_ViewFinder, "abc", "0000,0000,0000,0000"},
        {"IDC_HndlCnnDlg_ZomSldr", IDC_HndlCnnDlg_ZomSldr, "0050,0060,0022,0106", "0050,0060,0022,0106"},
        {"IDOK", IDOK, "0150,0160,0070,0025", "0150,0160,0070,0025"},
        // Read but never written: the stored value outlives a move.
        {"IDC_BtnSearch", IDC_BtnSearch, "0300,0005,0060,0020", "0300,0005,0060,0020"},
    };
    // Without a file the first close writes the eight places in order. The main controls get a
    // font of cell height 12, which goes with the window.
    OpenModeless(1);
    const auto font = reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(hwnd(), IDOK), WM_GETFONT, 0, 0));
    LOGFONTA description{};
    ASSERT_TRUE(GetObjectA(font, sizeof description, &description));
    EXPECT_EQ(12, description.lfHeight);
    std::vector<std::string> places;
    for (const auto& row : rows) places.push_back(Place(hwnd(), std::get<1>(row)));
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    dialog.reset();
    EXPECT_EQ(GetObjectType(font), 0u);
    std::string keys;
    for (size_t i = 0; i < 8; ++i) {
        keys += std::get<0>(rows[i]) + std::string(1, '\0');
        EXPECT_EQ(IniText("KamvioPos.ini", "Handle Dialog", std::get<0>(rows[i])), places[i]) << std::get<0>(rows[i]);
    }
    EXPECT_EQ(IniText("KamvioPos.ini", "Handle Dialog", nullptr), keys);

    for (const auto& [key, id, stored, place] : rows)
        ASSERT_TRUE(WritePrivateProfileStringA("Handle Dialog", key, stored, file.c_str()));
    OpenModeless(1);
    for (const auto& [key, id, stored, place] : rows)
        EXPECT_EQ(Place(hwnd(), id).substr(0, strlen(place)), place) << key;
    MoveWindow(GetDlgItem(hwnd(), IDC_BtnSearch), 1, 2, 3, 4, FALSE);
    dialog.reset();
    EXPECT_EQ(IniText("KamvioPos.ini", "Handle Dialog", nullptr), keys + "IDC_BtnSearch" + std::string(1, '\0'));
    for (const auto& [key, id, stored, place] : rows)
        EXPECT_EQ(IniText("KamvioPos.ini", "Handle Dialog", key).substr(0, strlen(place)), place) << key;
}
