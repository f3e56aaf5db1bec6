// The platform's dialog class and profile helpers, on the camera window's template.
#include "platform/dialog_base.h"
#include "platform/profile_file.h"
#include "tests/dialog/dialog_test_support.h"

namespace {
class ProbeDialog : public DialogBase {
public:
    explicit ProbeDialog(UINT templateId) : DialogBase(templateId, nullptr) {}
    ~ProbeDialog() override { DestroyWindow(); }
    int inits = 0, destroys = 0;
    bool popup = false;
    using DialogBase::GetItemText;
    using DialogBase::SetItemText;

protected:
    // A child template cannot stand alone: the modal runs make it a pop-up before creation.
    DWORD AdjustWindowStyle(DWORD style) override { return popup ? (style & ~WS_CHILD) | WS_POPUP : style; }
    BOOL OnInitDialog() override { return ++inits; }
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
        result = 1234;
        return message == WM_APP;
    }
    void OnDestroy() override { ++destroys; }
};
}  // namespace

TEST(DialogBase, WindowsAreCreatedOnceAndOkAndCancelEndTheModalOne) {
    dialog_test::HostWindow host;
    ProbeDialog dialog(IDD_HANDLE_CANON_DLG);
    EXPECT_FALSE(dialog.ShowWindow(SW_SHOW) || dialog.DestroyWindow() || dialog.SetItemText(IDOK, "x"));  // no window
    dialog.popup = true;
    for (WPARAM command : {IDOK, IDCANCEL}) {
        host.PostAction([&] {
            EXPECT_EQ(GetWindowLongPtrA(dialog.GetSafeHwnd(), GWL_STYLE) & (WS_CHILD | WS_POPUP), WS_POPUP);
            PostMessageA(dialog.GetSafeHwnd(), WM_COMMAND, command, 0);
        });
        EXPECT_EQ(dialog.DoModal(), static_cast<INT_PTR>(command));
    }
    dialog.popup = false;
    ASSERT_TRUE(dialog.Create(host.hwnd()));
    HWND first = dialog.GetSafeHwnd();
    EXPECT_TRUE(GetParent(first) == host.hwnd() && (GetWindowLongPtrA(first, GWL_STYLE) & WS_CHILD));
    EXPECT_TRUE(dialog.Create(host.hwnd()) && dialog.GetSafeHwnd() == first);  // no second window
    EXPECT_EQ(dialog.DoModal(), -1);                                            // nor a modal one
    EXPECT_EQ(SendMessageA(first, WM_APP, 0, 0), 1234);  // handled results reach the sender
    EXPECT_EQ(SendMessageA(first, WM_APP + 1, 0, 0), 0);
    const std::string longText(5000, 'k');
    EXPECT_TRUE(dialog.SetItemText(IDC_HandleCanonDlg_Connect, longText.c_str()));
    EXPECT_EQ(dialog.GetItemText(IDC_HandleCanonDlg_Connect), longText);
    EXPECT_TRUE(dialog.DestroyWindow() && dialog.destroys == 3 && !dialog.GetSafeHwnd() && !IsWindow(first));
    EXPECT_TRUE(dialog.Create(host.hwnd()) && dialog.inits == 4);
    EXPECT_FALSE(ProbeDialog(999).Create(host.hwnd()));  // no such template
    ProbeDialog missing(999);
    missing.popup = true;
    EXPECT_EQ(missing.DoModal(), -1);
}

TEST(ProfileFile, ReadsBoundedAndWritesCreatingTheFile) {
    const std::string folder = test_support::ExeFolder(), file = ProfilePath(folder, "ProfileProbe.ini");
    EXPECT_EQ(file, folder + "\\ProfileProbe.ini");
    DeleteFileA(file.c_str());
    char buffer[8] = "xxxxxxx";
    EXPECT_TRUE(ReadProfileText(file.c_str(), "S", "K", buffer, sizeof buffer) == 0 && buffer[0] == '\0');
    // Longer values are cut and still terminated; strings stop at 259 characters.
    EXPECT_TRUE(WriteProfileText(file, "S", "K", "0123456789") && WriteProfileText(file, "S", "L", std::string(400, 'v')));
    EXPECT_EQ(ReadProfileText(file.c_str(), "S", "K", buffer, sizeof buffer), 7u);
    EXPECT_STREQ(buffer, "0123456");
    EXPECT_EQ(ReadProfileText(file, "S", "L"), std::string(259, 'v'));
    EXPECT_EQ(ReadProfileText(nullptr, "S", "K", buffer, 8) + ReadProfileText(file.c_str(), "S", "K", nullptr, 0), 0u);
    DeleteFileA(file.c_str());
}
