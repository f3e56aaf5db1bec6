// The few drop-down list operations the settings lists need, sent to the control's handle.
// Lists are unsorted, so the n-th entry added has index n.
#pragma once

#include <windows.h>

#include <cstdint>

namespace combo_list {

void Clear(HWND combo);
// Adds `text` as entry `index` (the number of entries added since Clear) with its item data.
void Add(HWND combo, int index, const char* text, uintptr_t itemData);
// Selects the first entry whose item data satisfies `matches`, else entry 0.
// Returns whether an entry matched.
bool SelectFirst(HWND combo, bool (*matches)(uintptr_t itemData, const void* wanted), const void* wanted);
// The common case: the entry whose item data equals `value`.
bool SelectValue(HWND combo, uint32_t value);
int Count(HWND combo);
void Disable(HWND combo);

}  // namespace combo_list
