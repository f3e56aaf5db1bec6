// The platform's dialog class and profile helpers, on the camera window's template.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/dialog_base.h"
#include "platform/profile_file.h"
#include "platform/resource_module.h"
#include "resources/resource_ids.h"
#include "tests/dialog/dialog_test_support.h"

namespace {

constexpr UINT kEndWith = WM_APP + 10;  // EndDialog(wParam)
constexpr UINT kAnswer = WM_APP + 11;   // handled with result 1234

class ProbeDialog : public DialogBase {
public:
    ProbeDialog(UINT templateId, HWND parent, bool popup) : DialogBase(templateId, parent), m_popup(popup) {}
    ~ProbeDialog() override { DestroyWindow(); }

    int inits = 0;
    int destroys = 0;
    std::vector<WORD> commands;
    std::function<void(ProbeDialog&)> onInit;

    using DialogBase::ComboAdd;
    using DialogBase::ComboCount;
    using DialogBase::ComboGetData;
    using DialogBase::ComboGetItemText;
    using DialogBase::ComboGetSel;
    using DialogBase::ComboReset;
    using DialogBase::ComboSetData;
    using DialogBase::ComboSetSel;
    using DialogBase::EnableItem;
    using DialogBase::GetItem;
    using DialogBase::GetItemText;
    using DialogBase::IsItemChecked;
    using DialogBase::ItemClientRect;
    using DialogBase::SetItemCheck;
    using DialogBase::SetItemText;
    using DialogBase::ShowItem;

protected:
    DWORD AdjustWindowStyle(DWORD style) override {
        return m_popup ? (style & ~static_cast<DWORD>(WS_CHILD)) | WS_POPUP | WS_CAPTION | WS_SYSMENU : style;
    }
    BOOL OnInitDialog() override {
        ++inits;
        if (onInit) onInit(*this);
        return TRUE;
    }
    BOOL OnCommand(WORD id, WORD code, HWND) override {
        if (code != BN_CLICKED) return FALSE;
        commands.push_back(id);
        return TRUE;
    }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (message == kEndWith) {
            EndDialog(static_cast<INT_PTR>(wParam));
            return true;
        }
        if (message == kAnswer) {
            result = 1234;
            return true;
        }
        return false;
    }
    void OnDestroy() override { ++destroys; }

private:
    bool m_popup;
};

// No destructor of its own: the base class has to take the window down.
class BareDialog : public DialogBase {
public:
    BareDialog(HWND parent) : DialogBase(IDD_HANDLE_CANON_DLG, parent) {}
    int destroys = 0;

protected:
    void OnDestroy() override { ++destroys; }
};

}  // namespace

TEST(DialogBase, ModalRunsUntilEndDialogAndReturnsItsValue) {
    ProbeDialog dialog(IDD_HANDLE_CANON_DLG, nullptr, true);
    LONG_PTR style = 0;
    HWND seen = nullptr;
    dialog.onInit = [&](ProbeDialog& d) {
        seen = d.GetSafeHwnd();
        style = GetWindowLongPtrA(seen, GWL_STYLE);
        PostMessageA(seen, kEndWith, 42, 0);
    };
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_EQ(dialog.destroys, 1);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(IsWindow(seen));
    // The style hook turned the child template into a pop-up with a caption.
    EXPECT_EQ(style & WS_CHILD, 0);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
    // The object runs again with a fresh window.
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(dialog.inits, 2);
}

TEST(DialogBase, OkAndCancelEndTheDialogByDefaultAndOtherCommandsReachTheHandler) {
    ProbeDialog dialog(IDD_HANDLE_CANON_DLG, nullptr, true);
    dialog.onInit = [](ProbeDialog& d) {
        PostMessageA(d.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_BtnSearch, BN_CLICKED), 0);
        PostMessageA(d.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(dialog.commands.size(), 1u);
    EXPECT_EQ(dialog.commands[0], IDC_BtnSearch);
    dialog.onInit = [](ProbeDialog& d) { PostMessageA(d.GetSafeHwnd(), WM_COMMAND, IDOK, 0); };
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(DialogBase, ModelessWindowIsCreatedOnceAndCanBeCreatedAgainAfterItsEnd) {
    dialog_test::HostWindow host;
    ProbeDialog dialog(IDD_HANDLE_CANON_DLG, nullptr, false);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(dialog.ShowWindow(SW_SHOW));
    EXPECT_FALSE(dialog.DestroyWindow());
    ASSERT_TRUE(dialog.Create(host.hwnd()));
    HWND first = dialog.GetSafeHwnd();
    EXPECT_EQ(GetParent(first), host.hwnd());
    EXPECT_NE(GetWindowLongPtrA(first, GWL_STYLE) & WS_CHILD, 0);
    EXPECT_TRUE(dialog.Create(host.hwnd()));  // no second window
    EXPECT_EQ(dialog.GetSafeHwnd(), first);
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_EQ(dialog.DoModal(), -1);  // not while a window exists
    // Results of handled messages reach the sender; others get the default answer.
    EXPECT_EQ(SendMessageA(first, kAnswer, 0, 0), 1234);
    EXPECT_EQ(SendMessageA(first, WM_APP + 12, 0, 0), 0);
    EXPECT_TRUE(dialog.DestroyWindow());
    EXPECT_EQ(dialog.destroys, 1);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    ASSERT_TRUE(dialog.Create(host.hwnd()));
    EXPECT_EQ(dialog.inits, 2);
}

TEST(DialogBase, DestructorTakesTheWindowDownWithoutCallingGoneHandlers) {
    dialog_test::HostWindow host;
    auto* dialog = new BareDialog(host.hwnd());
    ASSERT_TRUE(dialog->Create(host.hwnd()));
    HWND window = dialog->GetSafeHwnd();
    delete dialog;
    EXPECT_FALSE(IsWindow(window));
}

TEST(DialogBase, MissingTemplateOrForeignResourceModuleFailsCleanly) {
    dialog_test::HostWindow host;
    ProbeDialog missing(999, nullptr, true);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_FALSE(missing.Create(host.hwnd()));
    EXPECT_EQ(missing.inits, 0);

    EXPECT_EQ(ResourceModule(), GetModuleHandleA(nullptr));
    SetResourceModule(GetModuleHandleA("kernel32.dll"));
    ProbeDialog elsewhere(IDD_HANDLE_CANON_DLG, nullptr, false);
    EXPECT_FALSE(elsewhere.Create(host.hwnd()));
    SetResourceModule(nullptr);
    EXPECT_EQ(ResourceModule(), GetModuleHandleA(nullptr));
    EXPECT_TRUE(elsewhere.Create(host.hwnd()));
}

TEST(DialogBase, ControlHelpersReadAndSetControls) {
    dialog_test::HostWindow host;
    ProbeDialog dialog(IDD_HANDLE_CANON_DLG, nullptr, false);
    // Without a window every helper fails quietly.
    EXPECT_EQ(dialog.GetItem(IDOK), nullptr);
    EXPECT_EQ(dialog.GetItemText(IDOK), "");
    EXPECT_FALSE(dialog.SetItemText(IDOK, "x"));
    EXPECT_EQ(dialog.ComboGetSel(IDC_HandleCanonDlg_SourceCmb), CB_ERR);
    EXPECT_EQ(dialog.ComboAdd(IDC_HandleCanonDlg_SourceCmb, "x"), CB_ERR);
    ASSERT_TRUE(dialog.Create(host.hwnd()));

    EXPECT_EQ(dialog.GetItemText(IDC_HandleCanonDlg_Connect), "Connect");
    const std::string longText(5000, 'k');
    EXPECT_TRUE(dialog.SetItemText(IDC_HandleCanonDlg_Connect, longText.c_str()));
    EXPECT_EQ(dialog.GetItemText(IDC_HandleCanonDlg_Connect), longText);
    EXPECT_TRUE(dialog.SetItemText(IDC_HandleCanonDlg_Connect, nullptr));
    EXPECT_EQ(dialog.GetItemText(IDC_HandleCanonDlg_Connect), "");
    EXPECT_EQ(dialog.GetItemText(4711), "");

    const int combo = IDC_HandleCanonDlg_SourceCmb;
    EXPECT_EQ(dialog.ComboAdd(combo, "first"), 0);
    EXPECT_EQ(dialog.ComboAdd(combo, nullptr), 1);
    int anchor = 0;
    EXPECT_TRUE(dialog.ComboSetData(combo, 0, reinterpret_cast<LPARAM>(&anchor)));
    EXPECT_EQ(dialog.ComboGetData(combo, 0), reinterpret_cast<LPARAM>(&anchor));
    EXPECT_EQ(dialog.ComboGetData(combo, -1), CB_ERR);
    EXPECT_EQ(dialog.ComboGetData(combo, 7), CB_ERR);
    EXPECT_FALSE(dialog.ComboSetData(combo, 7, 1));
    EXPECT_EQ(dialog.ComboGetSel(combo), CB_ERR);
    EXPECT_TRUE(dialog.ComboSetSel(combo, 0));
    EXPECT_EQ(dialog.ComboGetSel(combo), 0);
    EXPECT_EQ(dialog.ComboGetItemText(combo, 0), "first");
    EXPECT_EQ(dialog.ComboGetItemText(combo, 9), "");
    EXPECT_EQ(dialog.ComboCount(combo), 2);
    dialog.ComboReset(combo);
    EXPECT_EQ(dialog.ComboCount(combo), 0);

    EXPECT_TRUE(dialog.EnableItem(IDC_HndlCnnDlg_ToLCD, TRUE));
    dialog.SetItemCheck(IDC_HndlCnnDlg_ToLCD, TRUE);
    EXPECT_TRUE(dialog.IsItemChecked(IDC_HndlCnnDlg_ToLCD));
    dialog.SetItemCheck(IDC_HndlCnnDlg_ToLCD, FALSE);
    EXPECT_FALSE(dialog.IsItemChecked(IDC_HndlCnnDlg_ToLCD));
    EXPECT_TRUE(dialog.ShowItem(IDC_HndlCnnDlg_View, SW_SHOW));
    EXPECT_FALSE(dialog.ShowItem(4711, SW_SHOW));

    // Template units converted by the dialog's own font: place and size each converted.
    RECT expected{6, 29, 50, 14};
    MapDialogRect(dialog.GetSafeHwnd(), &expected);
    const RECT got = dialog.ItemClientRect(IDC_HandleCanonDlg_Connect);
    EXPECT_EQ(got.left, expected.left);
    EXPECT_EQ(got.top, expected.top);
    EXPECT_EQ(got.right - got.left, expected.right);
    EXPECT_EQ(got.bottom - got.top, expected.bottom);
}

TEST(ProfileFile, ReadsBoundedAndWritesCreatingTheFile) {
    const std::string file = ProfilePath(dialog_test::TestFolder(), "ProfileProbe.ini");
    EXPECT_EQ(file, dialog_test::TestFolder() + "\\ProfileProbe.ini");
    DeleteFileA(file.c_str());
    char buffer[8];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(ReadProfileText(file.c_str(), "S", "K", buffer, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_TRUE(WriteProfileText(file, "S", "K", "0123456789"));
    // A value longer than the buffer is cut and still terminated.
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(ReadProfileText(file.c_str(), "S", "K", buffer, sizeof buffer), 7u);
    EXPECT_STREQ(buffer, "0123456");
    EXPECT_EQ(ReadProfileText(file, "S", "K"), "0123456789");
    EXPECT_EQ(ReadProfileText(file, "S", "Missing"), "");
    EXPECT_EQ(ReadProfileText(nullptr, "S", "K", buffer, sizeof buffer), 0u);
    EXPECT_EQ(ReadProfileText(file.c_str(), "S", "K", nullptr, 0), 0u);
    // A string read stops at 259 characters.
    EXPECT_TRUE(WriteProfileText(file, "S", "Long", std::string(400, 'v')));
    EXPECT_EQ(ReadProfileText(file, "S", "Long"), std::string(259, 'v'));
    DeleteFileA(file.c_str());
}
