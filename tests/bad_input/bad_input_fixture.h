// The fixture of the bad-input tests: the component made from Kamvio.dll beside the test, a
// host window that records its notifications, the simulated camera, guarded buffers.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dialog/kamvio_para.h"
#include "sdk/cdsdk_contract.h"
#include "tests/common/host_window.h"
#include "tests/common/sim_access.h"
#include "tests/component/kamvio_library.h"

using namespace test_support;

namespace bad_input {

UniqueBstr Bstr(const std::string& text);

}  // namespace bad_input

class BadInputTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    KamvioPara Para(const char* saveFolder = nullptr) const { return HostPara(host.hwnd(), 1, saveFolder); }
    HRESULT Open(const KamvioPara& para, const LONG* rect = nullptr);  // InitKamvioDlg + CreateKamvioDlg
    HRESULT Open() { return Open(Para(m_folder.c_str())); }
    SourceInfo FirstSource();
    HRESULT ConnectFirst();
    HWND Dialog() const { return FindWindowExA(host.hwnd(), nullptr, "#32770", nullptr); }
    // TakePhoto and waits for the file-saved notice; its path, or "" when none came.
    std::string Shoot();
    // A folder of the test's own that holds a file (so that it counts as existing).
    std::string MakeFolder(const std::string& name);

    HostWindow host;
    ComPtr<IOvCanonSDK> object;
    std::string m_folder;  // the save folder of Open()
};
