#include "platform/dialog_base.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "platform/modeless_keyboard.h"
#include "platform/resource_module.h"

namespace {

// Templates may hold trackbars and date pickers, whose classes exist only once registered.
void RegisterCommonControls() {
    static const BOOL registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
        return InitCommonControlsEx(&controls);
    }();
    (void)registered;
}

// A writable copy of a dialog template (DWORD-aligned, as the indirect creation calls want it).
std::vector<DWORD> LoadTemplateCopy(UINT id) {
    HINSTANCE module = ResourceModule();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_DIALOG));
    if (!found) return {};
    DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || size < sizeof(DLGTEMPLATE)) return {};
    std::vector<DWORD> copy((size + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
    memcpy(copy.data(), data, size);
    return copy;
}

// Extended templates start with version 1 and signature 0xFFFF; the style then sits at byte 12.
DWORD* TemplateStyle(std::vector<DWORD>& tmpl) {
    auto* words = reinterpret_cast<WORD*>(tmpl.data());
    if (words[0] == 1 && words[1] == 0xFFFF) {
        if (tmpl.size() * sizeof(DWORD) < 16) return nullptr;
        return reinterpret_cast<DWORD*>(reinterpret_cast<BYTE*>(tmpl.data()) + 12);
    }
    return &reinterpret_cast<DLGTEMPLATE*>(tmpl.data())->style;
}

// The top-level window of `window` when it belongs to this thread. Owning a window of another
// thread would mean disabling it by a message that thread might never answer.
HWND TopLevelOfThisThread(HWND window) {
    if (!window || !IsWindow(window)) return nullptr;
    HWND top = GetAncestor(window, GA_ROOT);
    return top && GetWindowThreadProcessId(top, nullptr) == GetCurrentThreadId() ? top : nullptr;
}

bool ReturnsValueDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_COMPAREITEM:
    case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

}  // namespace

DialogBase::DialogBase(UINT templateId, HWND parent) : m_templateId(templateId), m_hParent(parent) {}

DialogBase::~DialogBase() {
    if (m_hWnd) {
        HWND window = m_hWnd;
        Detach();
        ::DestroyWindow(window);
    }
}

void DialogBase::Retire(DialogBase* dialog) {
    if (!dialog || dialog->m_holds.Doomed()) return;
    dialog->m_holds.Doom();
    CallScope scope(*dialog);  // deletes it on the way out when nothing else holds it
    if (!dialog->m_hWnd) return;
    if (dialog->m_bModalLoop)
        ::EndDialog(dialog->m_hWnd, IDCANCEL);  // the loop ends, then DoModal destroys the window
    else
        ::DestroyWindow(dialog->m_hWnd);
}

INT_PTR DialogBase::DoModal(HWND owner) {
    if (m_hWnd) return -1;
    RegisterCommonControls();
    std::vector<DWORD> tmpl = LoadTemplateCopy(m_templateId);
    DWORD* style = tmpl.empty() ? nullptr : TemplateStyle(tmpl);
    if (!style) return -1;
    *style = AdjustWindowStyle(*style);
    HWND resolved = TopLevelOfThisThread(owner ? owner : m_hParent);
    if (!resolved) resolved = TopLevelOfThisThread(GetActiveWindow());
    CallScope scope(*this);
    m_bModalLoop = true;
    INT_PTR result = DialogBoxIndirectParamA(ResourceModule(), reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.data()),
                                             resolved, DialogProc, reinterpret_cast<LPARAM>(this));
    m_bModalLoop = false;
    return result;
}

BOOL DialogBase::Create(HWND parent) {
    if (m_hWnd) return TRUE;
    RegisterCommonControls();
    std::vector<DWORD> tmpl = LoadTemplateCopy(m_templateId);
    DWORD* style = tmpl.empty() ? nullptr : TemplateStyle(tmpl);
    if (!style) return FALSE;
    *style = AdjustWindowStyle(*style);
    HWND window = CreateDialogIndirectParamA(ResourceModule(), reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.data()),
                                             parent, DialogProc, reinterpret_cast<LPARAM>(this));
    if (!window) return FALSE;
    ModelessKeyboard::Add(window);
    return TRUE;
}

BOOL DialogBase::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

BOOL DialogBase::ShowWindow(int command) { return m_hWnd ? ::ShowWindow(m_hWnd, command) : FALSE; }

void DialogBase::EndDialog(INT_PTR result) {
    if (m_hWnd) ::EndDialog(m_hWnd, result);
}

void DialogBase::Detach() {
    if (m_hWnd) SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
    m_hWnd = nullptr;
}

INT_PTR CALLBACK DialogBase::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogBase*>(lParam);
        if (!self) return FALSE;
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->m_hWnd = window;
        CallScope scope(*self);
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<DialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
    if (message == WM_NCDESTROY) {
        // Also for a window the destructor detached already.
        ModelessKeyboard::Remove(window);
        if (self) self->Detach();
        return FALSE;
    }
    if (!self) return FALSE;
    CallScope scope(*self);
    return self->Dispatch(message, wParam, lParam);
}

INT_PTR DialogBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        WORD id = LOWORD(wParam), code = HIWORD(wParam);
        if (code == BN_CLICKED && id == IDOK) {
            OnOK();
            return TRUE;
        }
        if (code == BN_CLICKED && id == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        return OnCommand(id, code, reinterpret_cast<HWND>(lParam));
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        LRESULT result = 0;
        if (!header || !OnNotify(*header, result)) return FALSE;
        SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default: {
        LRESULT result = 0;
        if (!OnMessage(message, wParam, lParam, result)) return FALSE;
        if (ReturnsValueDirectly(message)) return static_cast<INT_PTR>(result);
        SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    }
}

HWND DialogBase::GetItem(int id) const { return m_hWnd ? ::GetDlgItem(m_hWnd, id) : nullptr; }

std::string DialogBase::GetItemText(int id) const {
    HWND item = GetItem(id);
    if (!item) return {};
    int length = GetWindowTextLengthA(item);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = GetWindowTextA(item, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

BOOL DialogBase::SetItemText(int id, const char* text) {
    HWND item = GetItem(id);
    return item ? SetWindowTextA(item, text ? text : "") : FALSE;
}

BOOL DialogBase::EnableItem(int id, BOOL enable) {
    HWND item = GetItem(id);
    if (!item) return FALSE;
    EnableWindow(item, enable ? TRUE : FALSE);
    return TRUE;
}

BOOL DialogBase::ShowItem(int id, int command) {
    HWND item = GetItem(id);
    if (!item) return FALSE;
    ::ShowWindow(item, command);
    return TRUE;
}

BOOL DialogBase::IsItemChecked(int id) const {
    HWND item = GetItem(id);
    return item && SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DialogBase::SetItemCheck(int id, BOOL checked) {
    if (HWND item = GetItem(id)) SendMessageA(item, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DialogBase::ComboReset(int id) {
    if (HWND item = GetItem(id)) SendMessageA(item, CB_RESETCONTENT, 0, 0);
}

int DialogBase::ComboAdd(int id, const char* text) {
    HWND item = GetItem(id);
    if (!item) return CB_ERR;
    return static_cast<int>(SendMessageA(item, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text ? text : "")));
}

int DialogBase::ComboCount(int id) const {
    HWND item = GetItem(id);
    return item ? static_cast<int>(SendMessageA(item, CB_GETCOUNT, 0, 0)) : 0;
}

int DialogBase::ComboGetSel(int id) const {
    HWND item = GetItem(id);
    return item ? static_cast<int>(SendMessageA(item, CB_GETCURSEL, 0, 0)) : CB_ERR;
}

BOOL DialogBase::ComboSetSel(int id, int index) {
    HWND item = GetItem(id);
    return item && SendMessageA(item, CB_SETCURSEL, static_cast<WPARAM>(index), 0) != CB_ERR;
}

LPARAM DialogBase::ComboGetData(int id, int index) const {
    HWND item = GetItem(id);
    if (!item || index < 0) return CB_ERR;
    return static_cast<LPARAM>(SendMessageA(item, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

BOOL DialogBase::ComboSetData(int id, int index, LPARAM data) {
    HWND item = GetItem(id);
    return item && SendMessageA(item, CB_SETITEMDATA, static_cast<WPARAM>(index), data) != CB_ERR;
}

std::string ComboItemText(HWND combo, int index) {
    if (!combo || index < 0) return {};
    LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR || length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT got = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 && got <= length ? static_cast<size_t>(got) : 0);
    return text;
}

std::string DialogBase::ComboGetItemText(int id, int index) const { return ComboItemText(GetItem(id), index); }

RECT DialogBase::ItemClientRect(int id) const {
    RECT rect{};
    HWND item = GetItem(id);
    if (!item) return rect;
    GetWindowRect(item, &rect);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
