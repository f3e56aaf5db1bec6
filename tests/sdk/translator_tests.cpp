#include <gtest/gtest.h>

#include <string>

#include "sdk/message_translator.h"
#include "tests/common/test_support.h"

namespace {

class TranslatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = test_support::ExeFolder() + "\\translator_test.ini";
        std::string longValue(1500, 'x');
        ASSERT_TRUE(test_support::WriteTextFile(file_,
            "[Handle dialog]\r\n"
            "Connect=Verbinden\r\n"
            "Camera=Kamera\r\n"
            "Empty=\r\n"
            "Long=" + longValue + "\r\n"
            "Apple=Apfel\r\n"
            "Pear=Birne\r\n"
            "Cherry=Kirsche\r\n"
            "File=Datei\r\n"
            "Open=Oeffnen\r\n"
            "Recent=Zuletzt\r\n"
            "First=Erste\r\n"
            "Title=Titel\r\n"));
    }
    void TearDown() override { DeleteFileA(file_.c_str()); }
    std::string file_;
};

TEST_F(TranslatorTest, LooksUpKeysAndFallsBackToTheKey) {
    MessageTranslator t;
    ASSERT_TRUE(t.SetFile(file_.c_str()));
    ASSERT_TRUE(t.SetSection("Handle dialog"));
    EXPECT_EQ("Verbinden", t.Translate("Connect"));
    EXPECT_EQ("Disconnect", t.Translate("Disconnect")) << "missing key";
    EXPECT_EQ("Empty", t.Translate("Empty")) << "empty value";
    EXPECT_EQ(std::string(1023, 'x'), t.Translate("Long")) << "cut to 1023";
    EXPECT_FALSE(t.SetSection(""));
    EXPECT_FALSE(t.SetSection(nullptr));
}

TEST_F(TranslatorTest, MissingOrEmptyFileLeavesTextsUntranslated) {
    MessageTranslator t;
    EXPECT_FALSE(t.SetFile((test_support::ExeFolder() + "\\no-such.ini").c_str()));
    t.SetSection("Handle dialog");
    EXPECT_EQ("Connect", t.Translate("Connect"));
    MessageTranslator empty;
    EXPECT_FALSE(empty.SetFile(""));
    EXPECT_FALSE(empty.SetFile(nullptr));
    empty.SetSection("windows");  // must not fall through to win.ini
    EXPECT_EQ("device", empty.Translate("device"));
}

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

TEST_F(TranslatorTest, TranslatesAWindowInPlaceKeepingItemDataAndSelection) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = "KamvioTranslatorTest";
    wc.hInstance = GetModuleHandleA(nullptr);
    RegisterClassA(&wc);

    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    HMENU recent = CreatePopupMenu();
    AppendMenuA(recent, MF_STRING, 301, "First");
    AppendMenuA(file, MF_STRING, 201, "Open");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "Recent");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");

    HWND top = CreateWindowExA(0, wc.lpszClassName, "Title", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, bar,
                               wc.hInstance, nullptr);
    ASSERT_TRUE(top);
    HWND button = CreateWindowExA(0, "BUTTON", "Connect", WS_CHILD, 0, 0, 80, 20, top, nullptr, nullptr, nullptr);
    HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 30, 80, 100, top, nullptr,
                                 nullptr, nullptr);
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD, 100, 30, 80, 100, top, nullptr, nullptr, nullptr);
    const char* fruit[] = {"Apple", "Pear", "Cherry"};
    for (int i = 0; i < 3; ++i) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fruit[i]));
        SendMessageA(combo, CB_SETITEMDATA, i, 1000 + i);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fruit[i]));
        SendMessageA(list, LB_SETITEMDATA, i, 2000 + i);
    }
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    SendMessageA(list, LB_SETCURSEL, 2, 0);

    MessageTranslator t;
    ASSERT_TRUE(t.SetFile(file_.c_str()));
    t.SetSection("Handle dialog");
    EXPECT_EQ(0, t.TranslateWindow(top));

    char text[256];
    GetWindowTextA(top, text, sizeof text);
    EXPECT_STREQ("Titel", text);
    GetWindowTextA(button, text, sizeof text);
    EXPECT_STREQ("Verbinden", text);

    const char* german[] = {"Apfel", "Birne", "Kirsche"};
    for (int i = 0; i < 3; ++i) {
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(german[i], text);
        EXPECT_EQ(1000 + i, SendMessageA(combo, CB_GETITEMDATA, i, 0));
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(german[i], text);
        EXPECT_EQ(2000 + i, SendMessageA(list, LB_GETITEMDATA, i, 0));
    }
    EXPECT_EQ(1, SendMessageA(combo, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(2, SendMessageA(list, LB_GETCURSEL, 0, 0));

    GetMenuStringA(bar, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("Datei", text);
    GetMenuStringA(file, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("Oeffnen", text);
    EXPECT_EQ(201u, GetMenuItemID(file, 0));
    EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
    GetMenuStringA(file, 2, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("Zuletzt", text);
    EXPECT_EQ(recent, GetSubMenu(file, 2)) << "the submenu stays attached";
    GetMenuStringA(recent, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("Erste", text);
    EXPECT_EQ(301u, GetMenuItemID(recent, 0));

    DestroyWindow(top);
}

TEST_F(TranslatorTest, BoxesTranslateTextAndCaption) {
    test_support::TakeMessageBoxes();
    MessageTranslator t;
    ASSERT_TRUE(t.SetFile(file_.c_str()));
    t.SetSection("Handle dialog");
    t.InformationBox("Camera", "Connect", nullptr);
    t.WarningBox("Apple", nullptr);
    auto boxes = test_support::TakeMessageBoxes();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Kamera", boxes[0].text);
    EXPECT_EQ("Verbinden", boxes[0].caption);
    EXPECT_EQ("Apfel", boxes[1].text);
    EXPECT_EQ("Warning", boxes[1].caption);
}

}  // namespace
