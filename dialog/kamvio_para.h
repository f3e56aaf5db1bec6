// The parameter block a host passes to DoModal and InitKamvioDlg.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#pragma pack(push, 4)
struct KamvioPara {
    uint32_t reserved0;
    HWND hwndHost;              // parent of the modeless window and receiver of the notifications
    UINT msgFileSaved;          // wParam: saved file's path, or 0 in memory mode
    UINT msgViewfinderEnable;   // wParam: 1 offered / 0 not
    uint8_t saveMode;           // 1 files, 2 memory, other values leave the mode
    uint8_t reserved1[3];
    uint32_t showControls;      // modeless only: 0 shows the live view alone
    uint32_t reserved2;
    const char* pszSaveFolder;  // null or missing folder selects "c:\Canon"
    UINT msgStatus;             // wParam 1/0, lParam camera name
    UINT msgPoweredOff;
    uint8_t reserved3[72];
};
#pragma pack(pop)

// The block is 112 bytes in the 32-bit product; a 64-bit build widens its two pointers.
#if !defined(_WIN64)
static_assert(sizeof(KamvioPara) == 112, "KamvioPara is 112 bytes");
static_assert(offsetof(KamvioPara, hwndHost) == 4, "layout");
static_assert(offsetof(KamvioPara, saveMode) == 16, "layout");
static_assert(offsetof(KamvioPara, showControls) == 20, "layout");
static_assert(offsetof(KamvioPara, pszSaveFolder) == 28, "layout");
static_assert(offsetof(KamvioPara, msgStatus) == 32, "layout");
static_assert(offsetof(KamvioPara, msgPoweredOff) == 36, "layout");
#endif
