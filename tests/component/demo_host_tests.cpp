// The demo host's scripted mode end to end: registered component, simulated camera, three photos.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "tests/component/kamvio_library.h"

using namespace kamvio_test;

namespace {

// Runs the host with stdout and stderr in a file and returns its exit code. (Not a pipe: Wine's
// desktop process, started by the host's first window, inherits the handle and keeps a pipe open.)
DWORD RunHost(const std::string& arguments, std::string* output) {
    std::string logPath = test_support::ExeFolder() + "\\demo_host_output.txt";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    UniqueFile log(CreateFileA(logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string command = "\"" + test_support::ExeFolder() + "\\KamvioHost.exe\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = log.get();
    PROCESS_INFORMATION process = {};
    DWORD code = 0xFFFFFFFF;
    if (!log || !CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                                &startup, &process))
        return code;
    UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
    log.reset();
    // Bounded, so that a hung host fails the test instead of hanging it.
    if (WaitForSingleObject(process.hProcess, 300000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    GetExitCodeProcess(process.hProcess, &code);
    std::ifstream read(logPath, std::ios::binary);
    output->assign(std::istreambuf_iterator<char>(read), {});
    read.close();
    DeleteFileA(logPath.c_str());
    return code;
}

class DemoHost : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove_all(folder_, error_);
        // COM first: registering on a thread without it can hang under Wine.
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_EQ(S_OK, KamvioExport("DllRegisterServer")());
    }
    void TearDown() override {
        KamvioExport("DllUnregisterServer")();
        CoUninitialize();
        std::filesystem::remove_all(folder_, error_);
    }
    std::string folder_ = test_support::ExeFolder() + "\\demo_host_images";
    std::error_code error_;  // a folder left behind is no failure
};

TEST_F(DemoHost, ShootsThreePhotosAndReportsEachSavedFile) {
    std::string output;
    ASSERT_EQ(0u, RunHost("--shoot 3 --out \"" + folder_ + "\"", &output)) << output;
    const std::regex photo(R"(photo (\d): (.+) \((\d+) bytes\)\r?)"), saved(R"(\s*\[note\] file saved: (.+?)\r?)");
    std::istringstream lines(output);
    std::string line;
    std::vector<std::string> notified;
    int photos = 0;
    while (std::getline(lines, line)) {
        std::smatch m;
        if (std::regex_match(line, m, saved)) notified.push_back(m[1]);
        if (!std::regex_match(line, m, photo)) continue;
        EXPECT_EQ(std::to_string(++photos), m[1].str());
        std::string path = m[2];
        ASSERT_FALSE(notified.empty()) << "each photo follows its notification";
        EXPECT_EQ(notified.back(), path);
        EXPECT_EQ(folder_ + "\\", path.substr(0, path.rfind('\\') + 1)) << "saved straight into --out";
        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) << path;
        EXPECT_EQ(std::stoul(m[3]), data.nFileSizeLow);
        EXPECT_GT(data.nFileSizeLow, 0u);
    }
    EXPECT_EQ(3, photos) << output;
    EXPECT_EQ(3u, notified.size()) << "one file-saved notification per shot";
    std::smatch camera;  // the status notification names the camera being connected
    ASSERT_TRUE(std::regex_search(output, camera, std::regex(R"(connecting to ([^\r\n]+))"))) << output;
    EXPECT_NE(std::string::npos, output.find("[note] camera status: " + camera[1].str()));
    EXPECT_NE(std::string::npos, output.find("[note] viewfinder available"));
    EXPECT_NE(std::string::npos, output.find("3 photo(s) taken"));
}

TEST_F(DemoHost, WithoutRegistrationNamesTheFailingStepAndExitsNonZero) {
    ASSERT_EQ(S_OK, KamvioExport("DllUnregisterServer")());
    std::string output;
    EXPECT_NE(0u, RunHost("--shoot 1 --out \"" + folder_ + "\"", &output));
    EXPECT_NE(std::string::npos, output.find("creating Kamvio.OvCanonSDK")) << output;
}

}  // namespace
