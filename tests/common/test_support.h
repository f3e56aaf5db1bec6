// Shared helpers of the Wine test programs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace test_support {

// A message box seen (and dismissed with OK) by the box catcher that every test program runs.
struct CapturedBox {
    std::string caption;
    std::string text;
};

// Boxes captured since the last call, oldest first; clears the list.
std::vector<CapturedBox> TakeMessageBoxes();
void ClearMessageBoxes();

// Dispatches this thread's messages until `done` is true or `timeoutMs` passed; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Dispatches this thread's messages for `ms` milliseconds.
void PumpFor(DWORD ms);

// Folder of the running test executable, without a trailing backslash.
std::string ExeFolder();

// Writes text to a file (binary), returns success.
bool WriteTextFile(const std::string& path, const std::string& text);

// The object behind a window created with the object as its creation parameter; null for the
// messages that come before WM_NCCREATE.
template <class T>
T* WindowObject(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    return reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace test_support
