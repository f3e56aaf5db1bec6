// The fixture of the bad-input tests: the component made from Kamvio.dll beside the test, a
// host window that records every notification, the simulated camera, guarded buffers.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dialog/kamvio_para.h"
#include "sdk/cdsdk_contract.h"
#include "simulator/sim_api.h"
#include "tests/component/kamvio_library.h"

namespace bad_input {

enum : UINT { kMsgFileSaved = WM_APP + 1, kMsgViewfinder, kMsgStatus, kMsgPoweredOff };

struct Notice {
    UINT message;
    WPARAM wParam;
    std::string text;  // the path of a file-saved notice, the camera name of a status notice
};

// Parent of the modeless window. Every message from WM_USER up is recorded, not acted on.
class Host {
public:
    Host();
    ~Host() { DestroyWindow(m_hwnd); }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
    HWND hwnd() const { return m_hwnd; }
    std::vector<Notice> notices;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
};

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

std::string TestFile(const std::string& name);  // beside the test executable
std::string Ini(const std::string& file, const std::string& section, const std::string& key, size_t room = 2048);
bool FileBytes(const std::string& path, std::string* bytes);
UniqueBstr Bstr(const std::string& text);

}  // namespace bad_input

class BadInputTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static SimApi& sim();
    KamvioPara Para(const char* saveFolder = nullptr) const;
    HRESULT Open(const KamvioPara& para, const LONG* rect = nullptr);  // InitKamvioDlg + CreateKamvioDlg
    HRESULT Open() { return Open(Para(m_folder.c_str())); }
    SourceInfo FirstSource();
    HRESULT ConnectFirst();
    HWND Dialog() const { return FindWindowExA(host.hwnd(), nullptr, "#32770", nullptr); }
    // TakePhoto and waits for the file-saved notice; its path, or "" when none came.
    std::string Shoot();
    // A folder of the test's own that holds a file (so that it counts as existing).
    std::string MakeFolder(const std::string& name);

    bad_input::Host host;
    ComPtr<IOvCanonSDK> object;
    std::string m_folder;  // the save folder of Open()
};
