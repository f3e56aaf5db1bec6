// Self-registration: the class keys and the type library, in-process and through regsvr32.
#include <gtest/gtest.h>

#include <string>

#include "tests/component/kamvio_library.h"

using namespace kamvio_test;

namespace {

const wchar_t kClsidKey[] = L"CLSID\\{C980C195-D310-4D7B-8A0F-41B7232949E5}";
const wchar_t kTypeLibKey[] = L"TypeLib\\{1C864C25-6A8C-44A9-89FA-73A1AEF736B2}";
const wchar_t kInterfaceKey[] = L"Interface\\{B1E3B4F3-F0B5-4DA2-A527-66C00BF5A5A9}";

bool KeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::wstring Value(const std::wstring& path, const wchar_t* name = nullptr) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}

std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = towlower(c);
    return s;
}

void ExpectRegistered() {
    const std::wstring clsid = L"{C980C195-D310-4D7B-8A0F-41B7232949E5}";
    EXPECT_EQ(L"OvCanonSDK Class", Value(L"Kamvio.OvCanonSDK.1"));
    EXPECT_EQ(clsid, Value(L"Kamvio.OvCanonSDK.1\\CLSID"));
    EXPECT_EQ(L"OvCanonSDK Class", Value(L"Kamvio.OvCanonSDK"));
    EXPECT_EQ(clsid, Value(L"Kamvio.OvCanonSDK\\CLSID"));
    EXPECT_EQ(L"OvCanonSDK Class", Value(kClsidKey));
    EXPECT_EQ(L"Kamvio.OvCanonSDK.1", Value(std::wstring(kClsidKey) + L"\\ProgID"));
    EXPECT_EQ(L"Kamvio.OvCanonSDK", Value(std::wstring(kClsidKey) + L"\\VersionIndependentProgID"));
    EXPECT_EQ(Lower(KamvioPath()), Lower(Value(std::wstring(kClsidKey) + L"\\InprocServer32")));
    EXPECT_EQ(L"both", Value(std::wstring(kClsidKey) + L"\\InprocServer32", L"ThreadingModel"));
    EXPECT_TRUE(KeyExists(std::wstring(kTypeLibKey) + L"\\1.0"));
    EXPECT_TRUE(KeyExists(kInterfaceKey)) << "the type library registers the dual interface";
    CLSID fromProgId = {};
    EXPECT_EQ(S_OK, CLSIDFromProgID(L"Kamvio.OvCanonSDK", &fromProgId));
    EXPECT_TRUE(IsEqualCLSID(CLSID_OvCanonSDK, fromProgId));
}

void ExpectUnregistered() {
    for (const wchar_t* key : {L"Kamvio.OvCanonSDK.1", L"Kamvio.OvCanonSDK", kClsidKey, kTypeLibKey, kInterfaceKey})
        EXPECT_FALSE(KeyExists(key)) << std::string(key, key + wcslen(key));
    EXPECT_TRUE(KeyExists(L"CLSID")) << "the CLSID root stays";
}

class Registration : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override {
        Unregister();
        CoUninitialize();
    }
    HRESULT Register() { return KamvioExport<HRESULT(STDAPICALLTYPE*)()>("DllRegisterServer")(); }
    HRESULT Unregister() { return KamvioExport<HRESULT(STDAPICALLTYPE*)()>("DllUnregisterServer")(); }
};

TEST_F(Registration, WritesTheClassKeysAndTheTypeLibraryAndRemovesThemAgain) {
    ASSERT_EQ(S_OK, Register());
    ExpectRegistered();
    // Hosts create the class by its ProgID.
    CLSID clsid = {};
    ASSERT_EQ(S_OK, CLSIDFromProgID(L"Kamvio.OvCanonSDK", &clsid));
    ComPtr<IOvCanonSDK> object;
    EXPECT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOvCanonSDK, object.put_void()));
    object.reset();

    ASSERT_EQ(S_OK, Unregister());
    ExpectUnregistered();
    EXPECT_EQ(S_OK, Unregister()) << "unregistering twice is harmless";
}

TEST_F(Registration, ReplacesTheClassKeyWhole) {
    HKEY stray = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyW(HKEY_CLASSES_ROOT, (std::wstring(kClsidKey) + L"\\Stray").c_str(), &stray));
    RegCloseKey(stray);
    ASSERT_EQ(S_OK, Register());
    EXPECT_FALSE(KeyExists(std::wstring(kClsidKey) + L"\\Stray"));
    ExpectRegistered();
}

// What an installer does: regsvr32 in its own process.
DWORD RunRegsvr32(const std::wstring& arguments) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(system) + L"\\regsvr32.exe\" /s " + arguments + L" \"" + KamvioPath() + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0xFFFFFFFF;
    UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
    DWORD code = 0xFFFFFFFE;
    // Bounded: a broken registry script can make the registrar spin.
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    return code;
}

TEST_F(Registration, Regsvr32RegistersAndUnregisters) {
    ASSERT_EQ(0u, RunRegsvr32(L""));
    ExpectRegistered();
    ASSERT_EQ(0u, RunRegsvr32(L"/u"));
    ExpectUnregistered();
}

}  // namespace
