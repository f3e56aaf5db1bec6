// Keeps a Wine session (wineserver and desktop) alive during a test run; ended by wineserver -k.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // A window makes Wine start the desktop process now rather than in the first test.
    HWND window = CreateWindowExA(0, "STATIC", "kamvio-hold", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    Sleep(4 * 60 * 60 * 1000);
    if (window) DestroyWindow(window);
    return 0;
}
