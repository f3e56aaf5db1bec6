// KamvioPos.ini: the main controls' font and rectangles, read at window creation and written
// back at destruction.
#include "dialog/camera_dialog.h"
#include "dialog/layout_value.h"
#include "platform/profile_file.h"
#include "resources/resource_ids.h"

namespace {

constexpr char kLayoutFile[] = "KamvioPos.ini";
constexpr char kLayoutSection[] = "Handle Dialog";
constexpr LONG kControlFontHeight = 12;

struct LayoutKey {
    const char* key;
    int id;
    bool written;  // the Search button's key is honoured but never written
};

constexpr LayoutKey kLayoutKeys[] = {
    {"IDC_HandleCanonDlg_SourceCmb", IDC_HandleCanonDlg_SourceCmb, true},
    {"IDC_HandleCanonDlg_Connect", IDC_HandleCanonDlg_Connect, true},
    {"IDC_HndlCnnDlg_Setting", IDC_HndlCnnDlg_Setting, true},
    {"IDC_HandleCanonDlg_DisCnect", IDC_HandleCanonDlg_DisCnect, true},
    {"IDC_HandleCanonDlg_Release", IDC_HandleCanonDlg_Release, true},
    {"IDC_HndlCnnDlg_ViewFinder", IDC_HndlCnnDlg_ViewFinder, true},
    {"IDC_HndlCnnDlg_ZomSldr", IDC_HndlCnnDlg_ZomSldr, true},
    {"IDOK", IDOK, true},
    {"IDC_BtnSearch", IDC_BtnSearch, false},
};

// The controls that get the layout font; slider, Search and the rest keep the dialog's.
constexpr int kFontControls[] = {IDC_HandleCanonDlg_SourceCmb, IDC_HandleCanonDlg_Connect, IDC_HndlCnnDlg_Setting,
                                 IDC_HandleCanonDlg_DisCnect,  IDC_HandleCanonDlg_Release, IDC_HndlCnnDlg_ViewFinder,
                                 IDOK};

}  // namespace

void CameraDialog::ApplyLayout() {
    LOGFONTA description{};
    auto dialogFont = reinterpret_cast<HFONT>(SendMessageA(GetSafeHwnd(), WM_GETFONT, 0, 0));
    if (!dialogFont || !GetObjectA(dialogFont, sizeof description, &description))
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
    description.lfHeight = kControlFontHeight;
    m_font.reset(CreateFontIndirectA(&description));
    if (m_font) {
        for (int id : kFontControls) {
            if (HWND control = GetItem(id))
                SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
        }
    }

    const std::string file = ProfilePath(m_szModuleDir, kLayoutFile);
    for (const LayoutKey& entry : kLayoutKeys) ReadControlPos(file.c_str(), kLayoutSection, entry.key, entry.id);
}

void CameraDialog::SaveLayout() {
    const std::string file = ProfilePath(m_szModuleDir, kLayoutFile);
    for (const LayoutKey& entry : kLayoutKeys) {
        if (entry.written) WriteControlPos(file.c_str(), kLayoutSection, entry.key, entry.id);
    }
}

void CameraDialog::ReadControlPos(const char* file, const char* section, const char* key, int id) {
    char value[MAX_PATH];
    ReadProfileText(file, section, key, value, sizeof value);
    layout_value::ControlPlace place{};
    if (!layout_value::Parse(value, &place)) return;
    if (HWND control = GetItem(id)) MoveWindow(control, place.left, place.top, place.width, place.height, TRUE);
}

void CameraDialog::WriteControlPos(const char* file, const char* section, const char* key, int id) {
    if (!GetItem(id)) return;
    const RECT rect = ItemClientRect(id);
    const layout_value::ControlPlace place{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    WriteProfileText(file, section, key, layout_value::Format(place));
}
