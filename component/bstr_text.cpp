#include "component/bstr_text.h"

#include <cwchar>

bool BstrToAnsi(BSTR text, std::string* out) {
    if (!text || !out) return false;
    out->clear();
    int length = static_cast<int>(wcsnlen(text, SysStringLen(text)));
    if (length == 0) return true;
    int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return false;
    out->resize(size);
    return WideCharToMultiByte(CP_ACP, 0, text, length, &(*out)[0], size, nullptr, nullptr) == size;
}
