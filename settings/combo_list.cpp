#include "settings/combo_list.h"

namespace combo_list {

void Clear(HWND combo) { SendMessageA(combo, CB_RESETCONTENT, 0, 0); }

void Add(HWND combo, int index, const char* text, uintptr_t itemData) {
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(itemData));
}

int Count(HWND combo) {
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<int>(count) : 0;
}

bool SelectFirst(HWND combo, bool (*matches)(uintptr_t itemData, const void* wanted), const void* wanted) {
    int count = Count(combo);
    for (int i = 0; i < count; ++i) {
        LRESULT data = SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0);
        if (matches(static_cast<uintptr_t>(data), wanted)) {
            SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return true;
        }
    }
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    return false;
}

namespace {
// Item data holds 32-bit codes zero-extended; compare on 32 bits so a 64-bit item data word
// cannot differ in its upper half.
bool EqualsValue(uintptr_t itemData, const void* wanted) {
    return static_cast<uint32_t>(itemData) == *static_cast<const uint32_t*>(wanted);
}
}  // namespace

bool SelectValue(HWND combo, uint32_t value) { return SelectFirst(combo, EqualsValue, &value); }

void Disable(HWND combo) { EnableWindow(combo, FALSE); }

}  // namespace combo_list
