#include "sdk/message_translator.h"

#include <vector>

#include "sdk/notice.h"

bool MessageTranslator::SetFile(const char* path) {
    m_strFile = path ? path : "";
    if (m_strFile.empty()) return false;
    HANDLE file = CreateFileA(m_strFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

bool MessageTranslator::SetSection(const char* name) {
    m_strSection = name ? name : "";
    return !m_strSection.empty();
}

const std::string& MessageTranslator::Translate(const char* key) {
    const char* k = key ? key : "";
    char value[1024] = {};
    // An empty file name would make the profile API read win.ini instead.
    if (!m_strFile.empty() && !m_strSection.empty())
        GetPrivateProfileStringA(m_strSection.c_str(), k, k, value, sizeof value, m_strFile.c_str());
    m_strResult = value;
    if (m_strResult.empty()) m_strResult = k;
    return m_strResult;
}

int MessageTranslator::TranslateWindow(HWND window) {
    if (!IsWindow(window)) return 0;
    GetWindowTextA(window, m_szWork, sizeof m_szWork);
    SetWindowTextA(window, Translate(m_szWork).c_str());

    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowTextA(child, m_szWork, sizeof m_szWork);
        std::string translated = Translate(m_szWork);
        LRESULT comboCount = SendMessageA(child, CB_GETCOUNT, 0, 0);
        if (comboCount == 0) {
            // A list box does not answer the combo-box count; ask it as a list box.
            LRESULT listCount = SendMessageA(child, LB_GETCOUNT, 0, 0);
            if (listCount > 0 && listCount != LB_ERR)
                TranslateListItems(child, ListKind::List);
            else
                SetWindowTextA(child, translated.c_str());
        } else if (!TranslateListItems(child, ListKind::Combo)) {
            TranslateListItems(child, ListKind::List);
        }
    }
    if (HMENU menu = GetMenu(window)) {
        TranslateMenu(menu);
        DrawMenuBar(window);
    }
    return 0;
}

bool MessageTranslator::TranslateListItems(HWND control, ListKind kind) {
    struct Messages {
        UINT count, getSel, textLen, text, data, del, insert, setData, setSel;
        LRESULT err;
    };
    static const Messages kCombo = {CB_GETCOUNT,    CB_GETCURSEL,     CB_GETLBTEXTLEN, CB_GETLBTEXT,   CB_GETITEMDATA,
                                    CB_DELETESTRING, CB_INSERTSTRING, CB_SETITEMDATA,  CB_SETCURSEL,   CB_ERR};
    static const Messages kList = {LB_GETCOUNT,    LB_GETCURSEL,     LB_GETTEXTLEN,  LB_GETTEXT,   LB_GETITEMDATA,
                                   LB_DELETESTRING, LB_INSERTSTRING, LB_SETITEMDATA, LB_SETCURSEL, LB_ERR};
    const Messages& m = kind == ListKind::Combo ? kCombo : kList;

    LRESULT count = SendMessageA(control, m.count, 0, 0);
    if (count == 0 || count == m.err) return false;
    LRESULT selection = SendMessageA(control, m.getSel, 0, 0);
    std::vector<char> text;
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(control, m.textLen, i, 0);
        if (length == m.err) continue;
        text.assign(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(control, m.text, i, reinterpret_cast<LPARAM>(text.data()));
        LRESULT data = SendMessageA(control, m.data, i, 0);
        std::string translated = Translate(text.data());
        SendMessageA(control, m.del, i, 0);
        SendMessageA(control, m.insert, i, reinterpret_cast<LPARAM>(translated.c_str()));
        if (data != m.err) SendMessageA(control, m.setData, i, data);
    }
    return SendMessageA(control, m.setSel, selection, 0) != m.err;
}

void MessageTranslator::TranslateMenu(HMENU menu) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[1024] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_ID;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        if (!GetMenuItemInfoA(menu, i, TRUE, &info)) continue;
        if (text[0]) {
            // Only the text changes: command, state and submenu stay with the item.
            std::string translated = Translate(text);
            MENUITEMINFOA update = {};
            update.cbSize = sizeof update;
            update.fMask = MIIM_STRING;
            update.dwTypeData = const_cast<char*>(translated.c_str());
            SetMenuItemInfoA(menu, i, TRUE, &update);
        }
        if (info.hSubMenu) TranslateMenu(info.hSubMenu);
    }
}

int MessageTranslator::InformationBox(const char* textKey, const char* captionKey, HWND owner) {
    std::string text = Translate(textKey);
    std::string caption = Translate(captionKey);
    return ShowNotice(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
}

int MessageTranslator::WarningBox(const char* textKey, HWND owner) {
    std::string text = Translate(textKey);
    std::string caption = Translate("Warning");
    return ShowNotice(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
}
