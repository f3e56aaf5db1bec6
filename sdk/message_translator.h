// Looks texts up in KamvioML.ini and translates windows, menus and message boxes in place.
#pragma once

#include <windows.h>

#include <string>

class MessageTranslator {
public:
    MessageTranslator() = default;
    MessageTranslator(const MessageTranslator&) = delete;
    MessageTranslator& operator=(const MessageTranslator&) = delete;
    virtual ~MessageTranslator() = default;

    // Stores the path; true when the file exists and can be opened for reading.
    bool SetFile(const char* path);
    // Stores the section; true when it is not empty.
    bool SetSection(const char* name);
    // The translation of key, or key itself when there is none (or it is empty).
    const std::string& Translate(const char* key);
    // Translates the title, the child windows (texts, combo-box and list-box items) and the menu.
    int TranslateWindow(HWND window);
    int InformationBox(const char* textKey, const char* captionKey, HWND owner);
    int WarningBox(const char* textKey, HWND owner);

private:
    enum class ListKind { Combo, List };
    bool TranslateListItems(HWND control, ListKind kind);
    void TranslateMenu(HMENU menu);

    std::string m_strFile;
    std::string m_strSection;
    std::string m_strResult;
    char m_szWork[1024] = {};
};
