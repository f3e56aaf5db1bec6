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

// Dispatches this thread's messages queued now, without waiting.
void Drain();

// Folder of the running test executable, without a trailing backslash, and a file in it.
std::string ExeFolder();
std::string TestFile(const std::string& name);
// A value of an INI file beside the test or, with a null key, the section's keys, each ending in NUL.
std::string IniText(const std::string& file, const std::string& section, const char* key);

// A window of the class `className`, registered with `proc` (DefWindowProcA when null) the
// first time; `param` reaches WM_CREATE.
HWND ClassWindow(const char* className, const char* title, DWORD style, int width, int height, WNDPROC proc = nullptr,
                 HWND parent = nullptr, HMENU menu = nullptr, void* param = nullptr);

// The first window of this thread for which `match` holds.
HWND FindThreadWindow(const std::function<bool(HWND)>& match);

// A click on the button `id`, and the text of a window or of its control `id`.
void Click(HWND dialog, int id);
std::string Text(HWND window, int id = 0);

// Writes text to a file (binary), returns success.
bool WriteTextFile(const std::string& path, const std::string& text);

// `size` bytes that end right before an inaccessible page, so that any access past the end
// faults. The bytes before `size` are filled with `fill`.
class GuardedBlock {
public:
    explicit GuardedBlock(size_t size, uint8_t fill = 0xCD);
    ~GuardedBlock() { VirtualFree(m_base, 0, MEM_RELEASE); }
    GuardedBlock(const GuardedBlock&) = delete;
    GuardedBlock& operator=(const GuardedBlock&) = delete;
    uint8_t* data() const { return m_data; }

private:
    void* m_base = nullptr;
    uint8_t* m_data = nullptr;
};

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
