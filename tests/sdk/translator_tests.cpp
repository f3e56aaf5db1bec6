#include <gtest/gtest.h>

#include <string>

#include "sdk/message_translator.h"
#include "tests/common/test_support.h"

namespace {

class TranslatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test_support::WriteTextFile(
            file_, "[Handle dialog]\r\nConnect=Verbinden\r\nCamera=Kamera\r\nEmpty=\r\nLong=" + std::string(1500, 'x') +
                       "\r\nApple=Apfel\r\nPear=Birne\r\nCherry=Kirsche\r\nFile=Datei\r\nOpen=Oeffnen\r\n"
                       "Recent=Zuletzt\r\nFirst=Erste\r\nTitle=Titel\r\n"));
        ASSERT_TRUE(t_.SetFile(file_.c_str()));
        ASSERT_TRUE(t_.SetSection("Handle dialog"));
    }
    void TearDown() override { DeleteFileA(file_.c_str()); }
    std::string file_ = test_support::ExeFolder() + "\\translator_test.ini";
    MessageTranslator t_;
};

TEST_F(TranslatorTest, LooksUpKeysAndFallsBackToTheKey) {
    EXPECT_EQ("Verbinden", t_.Translate("Connect"));
    EXPECT_EQ("Disconnect", t_.Translate("Disconnect")) << "missing key";
    EXPECT_EQ("Empty", t_.Translate("Empty")) << "empty value";
    EXPECT_EQ(std::string(1023, 'x'), t_.Translate("Long")) << "cut to 1023";
    EXPECT_FALSE(t_.SetSection(""));
    EXPECT_FALSE(t_.SetSection(nullptr));
    MessageTranslator none;
    for (const char* missing : {"", static_cast<const char*>(nullptr)}) EXPECT_FALSE(none.SetFile(missing));
    EXPECT_FALSE(none.SetFile((test_support::ExeFolder() + "\\no-such.ini").c_str()));
    none.SetSection("windows");  // must not fall through to win.ini
    EXPECT_EQ("device", none.Translate("device"));
}

TEST_F(TranslatorTest, TranslatesAWindowInPlaceKeepingItemDataSelectionAndSubmenus) {
    HMENU bar = CreateMenu(), file = CreatePopupMenu(), recent = CreatePopupMenu();
    AppendMenuA(recent, MF_STRING, 301, "First");
    AppendMenuA(file, MF_STRING, 201, "Open");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "Recent");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
    HWND top = test_support::ClassWindow("KamvioTranslatorTest", "Title", WS_OVERLAPPEDWINDOW, 400, 300, nullptr,
                                         nullptr, bar);
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

    EXPECT_EQ(0, t_.TranslateWindow(top));
    char text[256];
    std::string seen;
    for (HWND window : {top, button}) {
        GetWindowTextA(window, text, sizeof text);
        seen += std::string(text) + " ";
    }
    for (int i = 0; i < 3; ++i) {
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        seen += std::string(text) + " " + std::to_string(SendMessageA(combo, CB_GETITEMDATA, i, 0)) + " ";
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        seen += std::string(text) + " " + std::to_string(SendMessageA(list, LB_GETITEMDATA, i, 0)) + " ";
    }
    EXPECT_EQ("Titel Verbinden Apfel 1000 Apfel 2000 Birne 1001 Birne 2001 Kirsche 1002 Kirsche 2002 ", seen);
    EXPECT_EQ(1, SendMessageA(combo, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(2, SendMessageA(list, LB_GETCURSEL, 0, 0));
    seen.clear();
    const std::pair<HMENU, int> items[] = {{bar, 0}, {file, 0}, {file, 2}, {recent, 0}};
    for (const auto& [menu, position] : items) {
        GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
        seen += std::string(text) + " " + std::to_string(static_cast<int>(GetMenuItemID(menu, position))) + " ";
    }
    EXPECT_EQ("Datei -1 Oeffnen 201 Zuletzt -1 Erste 301 ", seen);
    EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(recent, GetSubMenu(file, 2)) << "the submenu stays attached";
    DestroyWindow(top);
}

TEST_F(TranslatorTest, BoxesTranslateTextAndCaption) {
    test_support::TakeMessageBoxes();
    t_.InformationBox("Camera", "Connect", nullptr);
    t_.WarningBox("Apple", nullptr);
    auto boxes = test_support::TakeMessageBoxes();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Kamera/Verbinden Apfel/Warning",
              boxes[0].text + "/" + boxes[0].caption + " " + boxes[1].text + "/" + boxes[1].caption);
}

}  // namespace
