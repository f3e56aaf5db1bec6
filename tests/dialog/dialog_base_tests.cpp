// The platform's dialog class and profile helpers, on the camera window's template. The modal
// run, its style hook and Enter / Escape are covered through the camera window.
#include "platform/dialog_base.h"
#include "platform/profile_file.h"
#include "tests/dialog/dialog_test_support.h"

namespace {
class ProbeDialog : public DialogBase {
public:
    explicit ProbeDialog(UINT templateId) : DialogBase(templateId, nullptr) {}
    ~ProbeDialog() override { DestroyWindow(); }
    int inits = 0, destroys = 0;
    using DialogBase::GetItemText;
    using DialogBase::SetItemText;

protected:
    BOOL OnInitDialog() override { return ++inits; }
    void OnDestroy() override { ++destroys; }
};
}  // namespace

TEST(DialogBase, ModelessWindowIsCreatedOnceAndAgainAfterItsEnd) {
    HostWindow host;
    ProbeDialog dialog(IDD_HANDLE_CANON_DLG);
    EXPECT_FALSE(dialog.ShowWindow(SW_SHOW) || dialog.DestroyWindow() || dialog.SetItemText(IDOK, "x"));  // no window
    ASSERT_TRUE(dialog.Create(host.hwnd()));
    HWND first = dialog.GetSafeHwnd();
    EXPECT_TRUE(GetParent(first) == host.hwnd() && (GetWindowLongPtrA(first, GWL_STYLE) & WS_CHILD));
    EXPECT_TRUE(dialog.Create(host.hwnd()) && dialog.GetSafeHwnd() == first);  // no second window
    EXPECT_EQ(dialog.DoModal(), -1);                                            // nor a modal one
    const std::string longText(5000, 'k');
    EXPECT_TRUE(dialog.SetItemText(IDC_HandleCanonDlg_Connect, longText.c_str()));
    EXPECT_EQ(dialog.GetItemText(IDC_HandleCanonDlg_Connect), longText);
    EXPECT_TRUE(dialog.DestroyWindow() && dialog.destroys == 1 && !dialog.GetSafeHwnd() && !IsWindow(first));
    EXPECT_TRUE(dialog.Create(host.hwnd()) && dialog.inits == 2);
    ProbeDialog missing(999);  // no such template
    EXPECT_TRUE(!missing.Create(host.hwnd()) && missing.DoModal() == -1 && missing.inits == 0);
}

TEST(ProfileFile, ReadsBoundedAndWritesCreatingTheFile) {
    const std::string folder = test_support::ExeFolder(), file = ProfilePath(folder, "ProfileProbe.ini");
    EXPECT_EQ(file, folder + "\\ProfileProbe.ini");
    DeleteFileA(file.c_str());
    char buffer[8] = "xxxxxxx";
    EXPECT_TRUE(ReadProfileText(file.c_str(), "S", "K", buffer, sizeof buffer) == 0 && buffer[0] == '\0');
    // Longer values are cut and still terminated; strings stop at 259 characters.
    const std::string longValue(400, 'v');
    EXPECT_TRUE(WriteProfileText(file, "S", "K", "0123456789") && WriteProfileText(file, "S", "L", longValue));
    EXPECT_EQ(ReadProfileText(file.c_str(), "S", "K", buffer, sizeof buffer), 7u);
    EXPECT_STREQ(buffer, "0123456");
    EXPECT_EQ(ReadProfileText(file, "S", "L"), std::string(259, 'v'));
    EXPECT_EQ(ReadProfileText(nullptr, "S", "K", buffer, 8) + ReadProfileText(file.c_str(), "S", "K", nullptr, 0), 0u);
    DeleteFileA(file.c_str());
}
