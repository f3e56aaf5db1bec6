// The demo host's scripted mode end to end: registered component, simulated camera, three photos.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

#include "tests/common/test_support.h"
#include "tests/component/kamvio_library.h"

using namespace kamvio_test;

namespace {

struct RunResult {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;  // stdout and stderr together
};

// Runs the host with its output in a file. (Not a pipe: Wine's desktop process, started by the
// host's first window, inherits the handle and would keep a pipe open after the host ended.)
RunResult RunHost(const std::string& arguments) {
    RunResult result;
    std::string logPath = test_support::ExeFolder() + "\\demo_host_output.txt";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    UniqueFile log(CreateFileA(logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log) return result;
    std::string command = "\"" + test_support::ExeFolder() + "\\KamvioHost.exe\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = log.get();
    startup.hStdError = log.get();
    startup.hStdInput = nullptr;
    PROCESS_INFORMATION process = {};
    // No console of its own: the output goes to the file.
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process))
        return result;
    UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
    log.reset();
    // Bounded, so that a hung host fails the test instead of hanging it.
    if (WaitForSingleObject(process.hProcess, 300000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    UniqueFile read(CreateFileA(logPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    char buffer[4096];
    DWORD got = 0;
    while (read && ReadFile(read.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) result.output.append(buffer, got);
    read.reset();
    DeleteFileA(logPath.c_str());
    return result;
}

class DemoHost : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = test_support::ExeFolder() + "\\demo_host_images";
        RemoveFolder();
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_EQ(S_OK, KamvioExport<HRESULT(STDAPICALLTYPE*)()>("DllRegisterServer")());
    }
    void TearDown() override {
        KamvioExport<HRESULT(STDAPICALLTYPE*)()>("DllUnregisterServer")();
        CoUninitialize();
        RemoveFolder();
    }
    void RemoveFolder() {
        WIN32_FIND_DATAA data;
        UniqueFind find(FindFirstFileA((folder_ + "\\*").c_str(), &data));
        if (find) {
            do DeleteFileA((folder_ + "\\" + data.cFileName).c_str());
            while (FindNextFileA(find.get(), &data));
        }
        RemoveDirectoryA(folder_.c_str());
    }
    std::string folder_;
};

TEST_F(DemoHost, ShootsThreePhotosAndReportsEachSavedFile) {
    RunResult run = RunHost("--shoot 3 --out \"" + folder_ + "\"");
    ASSERT_EQ(0u, run.exitCode) << run.output;

    std::regex photo(R"(photo (\d): (.+) \((\d+) bytes\)\r?)");
    std::regex saved(R"(\s*\[note\] file saved: (.+?)\r?)");
    std::istringstream lines(run.output);
    std::string line;
    std::vector<std::string> notified;
    int photos = 0;
    while (std::getline(lines, line)) {
        std::smatch m;
        if (std::regex_match(line, m, saved)) notified.push_back(m[1]);
        if (!std::regex_match(line, m, photo)) continue;
        ++photos;
        EXPECT_EQ(std::to_string(photos), m[1].str());
        std::string path = m[2];
        ASSERT_FALSE(notified.empty()) << "each photo follows its notification";
        EXPECT_EQ(notified.back(), path);
        // folder\ + kind prefix + 14-digit time stamp + 6-digit counter + extension
        std::string name = path.substr(path.rfind('\\') + 1);
        EXPECT_EQ(folder_ + "\\" + name, path);
        EXPECT_TRUE(std::regex_match(name, std::regex(R"((TH|FV|FP)\d{14}\d{6}\.(JPG|CRW))"))) << name;
        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) << path;
        EXPECT_EQ(std::stoul(m[3]), data.nFileSizeLow);
        EXPECT_GT(data.nFileSizeLow, 0u);
    }
    EXPECT_EQ(3, photos) << run.output;
    EXPECT_EQ(3u, notified.size()) << "one file-saved notification per shot";
    EXPECT_NE(std::string::npos, run.output.find("viewfinder available"));
    EXPECT_NE(std::string::npos, run.output.find("3 photo(s) taken"));
}

TEST_F(DemoHost, NamesTheFailingStepAndExitsNonZero) {
    ASSERT_EQ(S_OK, KamvioExport<HRESULT(STDAPICALLTYPE*)()>("DllUnregisterServer")());
    RunResult run = RunHost("--shoot 1 --out \"" + folder_ + "\"");
    EXPECT_NE(0u, run.exitCode);
    EXPECT_NE(std::string::npos, run.output.find("creating Kamvio.OvCanonSDK")) << run.output;

    run = RunHost("--shoot many");
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_NE(std::string::npos, run.output.find("usage:")) << run.output;
}

}  // namespace
