// KamvioPos.ini: control places read at window creation and written back at destruction.
#include <windows.h>

#include "tests/dialog/camera_window_fixture.h"

using namespace dialog_test;
using Access = CameraDialogTestAccess;

namespace {

struct Key {
    const char* name;
    int id;
};
// The written keys, in file order.
const Key kWritten[] = {
    {"IDC_HandleCanonDlg_SourceCmb", IDC_HandleCanonDlg_SourceCmb},
    {"IDC_HandleCanonDlg_Connect", IDC_HandleCanonDlg_Connect},
    {"IDC_HndlCnnDlg_Setting", IDC_HndlCnnDlg_Setting},
    {"IDC_HandleCanonDlg_DisCnect", IDC_HandleCanonDlg_DisCnect},
    {"IDC_HandleCanonDlg_Release", IDC_HandleCanonDlg_Release},
    {"IDC_HndlCnnDlg_ViewFinder", IDC_HndlCnnDlg_ViewFinder},
    {"IDC_HndlCnnDlg_ZomSldr", IDC_HndlCnnDlg_ZomSldr},
    {"IDOK", IDOK},
};

std::string Place(const RECT& r) {
    char text[64];
    snprintf(text, sizeof text, "%04d,%04d,%04d,%04d", static_cast<int>(r.left), static_cast<int>(r.top),
             static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top));
    return text;
}

}  // namespace

class LayoutFileTest : public CameraWindowTest {
protected:
    std::string file = TestFile("KamvioPos.ini");
    void Put(const char* key, const char* value) {
        ASSERT_TRUE(WritePrivateProfileStringA("Handle Dialog", key, value, file.c_str()));
    }
    std::string Get(const char* key) const { return IniValue(file, "Handle Dialog", key); }
    void Reopen() {
        dialog.reset();
        OpenModeless(1);
    }
};

TEST_F(LayoutFileTest, WithoutFileTheTemplateStandsAndTheFirstCloseWritesEightKeys) {
    OpenModeless(1);
    RECT expected{6, 29, 50, 14};  // Connect in template units: place, size
    MapDialogRect(hwnd(), &expected);
    const RECT connect = ClientRectOf(hwnd(), IDC_HandleCanonDlg_Connect);
    EXPECT_EQ(connect.left, expected.left);
    EXPECT_EQ(connect.top, expected.top);
    EXPECT_EQ(connect.right - connect.left, expected.right);

    std::vector<std::string> places;
    for (const Key& key : kWritten) places.push_back(Place(ClientRectOf(hwnd(), key.id)));
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    dialog.reset();

    const std::vector<std::string> keys = IniKeys(file, "Handle Dialog");
    ASSERT_EQ(keys.size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(keys[i], kWritten[i].name);
        EXPECT_EQ(Get(kWritten[i].name), places[i]) << kWritten[i].name;
    }
}

TEST_F(LayoutFileTest, StoredValueMovesAndSizesTheControl) {
    Put("IDC_HandleCanonDlg_Connect", "0010,0020,0100,0030");
    OpenModeless(1);
    const RECT r = ClientRectOf(hwnd(), IDC_HandleCanonDlg_Connect);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(r.bottom - r.top, 30);
    dialog.reset();
    EXPECT_EQ(Get("IDC_HandleCanonDlg_Connect"), "0010,0020,0100,0030");
}

TEST_F(LayoutFileTest, EveryWrittenKeyIsReadBackUnchanged) {
    int n = 0;
    std::vector<std::string> values;
    for (const Key& key : kWritten) {
        char value[32];
        snprintf(value, sizeof value, "%04d,%04d,%04d,%04d", 3 + n * 11, -7 + n * 13, 40 + n, 15 + n);
        values.push_back(value);
        Put(key.name, value);
        ++n;
    }
    // A drop-down combo box keeps the height of its selection field whatever it is given.
    auto comparable = [](size_t i, const std::string& value) { return i == 0 ? value.substr(0, 14) : value; };
    OpenModeless(1);
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(comparable(i, Place(ClientRectOf(hwnd(), kWritten[i].id))), comparable(i, values[i]))
            << kWritten[i].name;
    Reopen();
    dialog.reset();
    for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(comparable(i, Get(kWritten[i].name)), comparable(i, values[i]));
}

TEST_F(LayoutFileTest, NegativeValuesSurviveAWriteAndARead) {
    Put("IDC_HandleCanonDlg_Release", "-005,-999,0120,0040");
    OpenModeless(1);
    const RECT r = ClientRectOf(hwnd(), IDC_HandleCanonDlg_Release);
    EXPECT_EQ(r.left, -5);
    EXPECT_EQ(r.top, -999);
    Reopen();
    EXPECT_EQ(ClientRectOf(hwnd(), IDC_HandleCanonDlg_Release).top, -999);
    dialog.reset();
    EXPECT_EQ(Get("IDC_HandleCanonDlg_Release"), "-005,-999,0120,0040");
}

TEST_F(LayoutFileTest, SearchEntryIsHonouredButNeverWritten) {
    Put("IDC_BtnSearch", "0300,0005,0060,0020");
    OpenModeless(1);
    const RECT r = ClientRectOf(hwnd(), IDC_BtnSearch);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 5);
    EXPECT_EQ(r.right - r.left, 60);
    MoveWindow(GetDlgItem(hwnd(), IDC_BtnSearch), 1, 2, 3, 4, FALSE);
    dialog.reset();
    EXPECT_EQ(Get("IDC_BtnSearch"), "0300,0005,0060,0020");
    EXPECT_EQ(IniKeys(file, "Handle Dialog").size(), 9u);
}

TEST_F(LayoutFileTest, UnpaddedAndMalformedValuesAreReadByTheFixedFields) {
    Put("IDC_HandleCanonDlg_Connect", "12,15,75,23");
    Put("IDC_HandleCanonDlg_DisCnect", std::string(300, '9').c_str());
    Put("IDC_HandleCanonDlg_Release", "abc");
    OpenModeless(1);
    const RECT connect = ClientRectOf(hwnd(), IDC_HandleCanonDlg_Connect);
    EXPECT_EQ(connect.left, 12);
    EXPECT_EQ(connect.top, 0);
    EXPECT_EQ(connect.right - connect.left, 3);
    EXPECT_EQ(connect.bottom - connect.top, 0);
    EXPECT_EQ(ClientRectOf(hwnd(), IDC_HandleCanonDlg_DisCnect).left, 9999);
    const RECT release = ClientRectOf(hwnd(), IDC_HandleCanonDlg_Release);
    EXPECT_EQ(release.left, 0);
    EXPECT_EQ(release.right - release.left, 0);
}

TEST_F(LayoutFileTest, MainControlsGetAFontOfCellHeightTwelve) {
    OpenModeless(1);
    HFONT font = Access::Font(*dialog);
    ASSERT_NE(font, nullptr);
    LOGFONTA description{}, dialogFont{};
    ASSERT_TRUE(GetObjectA(font, sizeof description, &description));
    EXPECT_EQ(description.lfHeight, 12);
    auto ownFont = reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
    ASSERT_TRUE(GetObjectA(ownFont, sizeof dialogFont, &dialogFont));
    EXPECT_STREQ(description.lfFaceName, dialogFont.lfFaceName);
    for (int id : {IDC_HandleCanonDlg_SourceCmb, IDC_HandleCanonDlg_Connect, IDC_HndlCnnDlg_Setting,
                   IDC_HandleCanonDlg_DisCnect, IDC_HandleCanonDlg_Release, IDC_HndlCnnDlg_ViewFinder, IDOK})
        EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageA(hwnd(), id, WM_GETFONT, 0, 0)), font) << id;
    for (int id : {IDC_BtnSearch, IDC_HndlCnnDlg_ToLCD})
        EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageA(hwnd(), id, WM_GETFONT, 0, 0)), ownFont) << id;
    dialog->DestroyWindow();
    EXPECT_EQ(GetObjectType(font), 0u);  // deleted with the window
}

TEST_F(LayoutFileTest, ModalAndModelessWindowsShareTheFile) {
    Put("IDOK", "0150,0160,0070,0025");
    dialog = std::make_unique<CameraDialog>(nullptr);
    dialog->ApplyPara(nullptr);
    dialog->SetModal(TRUE);
    RECT ok{};
    host.PostAction([&] {
        ok = ClientRectOf(dialog->GetSafeHwnd(), IDOK);
        MoveWindow(GetDlgItem(dialog->GetSafeHwnd(), IDOK), 151, 161, 71, 26, FALSE);
        PostMessageA(dialog->GetSafeHwnd(), WM_CLOSE, 0, 0);
    });
    dialog->DoModal();
    EXPECT_EQ(ok.left, 150);
    EXPECT_EQ(ok.top, 160);
    EXPECT_EQ(Get("IDOK"), "0151,0161,0071,0026");
}
