// The demo host's scripted mode end to end: registered component, simulated camera, three photos.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

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
    startup.cb = sizeof startup, startup.dwFlags = STARTF_USESTDHANDLES, startup.hStdOutput = startup.hStdError = log.get();
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
    std::ifstream read(logPath, std::ios::binary);  // the file stays for a look after a failure
    output->assign(std::istreambuf_iterator<char>(read), {});
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

// The first group of every match of `pattern` in `text`.
std::vector<std::string> Collect(const std::string& text, const char* pattern) {
    std::vector<std::string> found;
    std::regex re(pattern);
    for (std::sregex_iterator m(text.begin(), text.end(), re), end; m != end; ++m) found.push_back((*m)[1]);
    return found;
}

TEST_F(DemoHost, ShootsThreePhotosReportingEachSavedFileAndNamesTheFailingStepWhenUnregistered) {
    std::string output;
    ASSERT_EQ(0u, RunHost("--shoot 3 --out \"" + folder_ + "\"", &output)) << output;
    std::vector<std::string> photos = Collect(output, R"(photo \d: ([^\r\n]+) \(\d+ bytes\))");
    std::vector<std::string> sizes = Collect(output, R"(photo \d: [^\r\n]+ \((\d+) bytes\))");
    ASSERT_EQ(3u, photos.size()) << output;
    EXPECT_EQ(Collect(output, R"(\[note\] file saved: ([^\r\n]+))"), photos) << "one notification per photo";
    for (size_t i = 0; i < photos.size(); ++i) {
        EXPECT_EQ(folder_ + "\\", photos[i].substr(0, photos[i].rfind('\\') + 1)) << "saved straight into --out";
        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(GetFileAttributesExA(photos[i].c_str(), GetFileExInfoStandard, &data)) << photos[i];
        EXPECT_LT(0u, data.nFileSizeLow);
        EXPECT_EQ(std::to_string(data.nFileSizeLow), sizes[i]);
    }
    std::vector<std::string> camera = Collect(output, R"(connecting to ([^\r\n]+))");
    ASSERT_EQ(1u, camera.size()) << output;
    for (const std::string& line : {"[note] camera status: " + camera[0], std::string("[note] viewfinder available"),
                                     std::string("3 photo(s) taken")})
        EXPECT_NE(std::string::npos, output.find(line)) << line;

    ASSERT_EQ(S_OK, KamvioExport("DllUnregisterServer")());
    EXPECT_NE(0u, RunHost("--shoot 1 --out \"" + folder_ + "\"", &output));
    EXPECT_NE(std::string::npos, output.find("creating Kamvio.OvCanonSDK")) << output;
}

}  // namespace
