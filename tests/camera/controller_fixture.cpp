#include "tests/camera/controller_fixture.h"

#include <tlhelp32.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "sdk/sdk_loader.h"
#include "tests/common/test_support.h"

const char kTwoCameras[] =
    "[Simulator]\n"
    "Cameras=2\n"
    "[Camera1]\n"
    "Model=Test Compact\n"
    "Capability=4\n"
    "Volumes=1\n"
    "VolumeSpace=1000000,500000\n"
    "ZoomMax=10\n"
    "ZoomOther=3\n"
    "ZoomPos=2\n"
    "ViewFps=30\n"
    "Items=0x20:1:3000,0x10:1:700\n"
    "[Camera2]\n"
    "Model=Test Reflex\n"
    "PropertyName=EOS 400D\n"
    "Capability=12\n"
    "Volumes=1\n"
    "VolumeSpace=2000000,1000000\n"
    "ViewFps=30\n"
    "Items=0x20:2:5000,0x10:1:700\n";

void ControllerTest::SetUp() {
    ASSERT_TRUE(Sim().loaded) << "CDSDK.dll beside the test lacks the control exports";
    ASSERT_EQ(1u, Sim().SimReset());
    test_support::ClearMessageBoxes();
    camera = std::make_unique<CameraController>();
    camera->SetOwner(owner.Handle());
    Configure(kTwoCameras);
}

void ControllerTest::TearDown() {
    if (camera) {
        if (camera->IsConnected()) camera->Disconnect();
        if (IsSdkLoaded()) camera->End();
        camera.reset();
    }
    owner.onMessage = nullptr;
    owner.PumpFor(0);
    for (const auto& folder : m_folders) {
        for (const auto& file : FilesIn(folder)) DeleteFileA((folder + "\\" + file).c_str());
        RemoveDirectoryA(folder.c_str());
    }
    test_support::ClearMessageBoxes();
}

void ControllerTest::Configure(const std::string& ini) { ASSERT_EQ(1u, Sim().SimLoadConfigText(ini.c_str())); }

void ControllerTest::Start() { ASSERT_TRUE(camera->Begin()); }

SourceInfo ControllerTest::Source(uint32_t index) {
    static SourceInfo records[256];
    uint32_t count = 0;
    SourceInfo none{};
    if (!camera->GetAllCameraSourceInfo(records, &count) || index >= count) return none;
    return records[index];
}

void ControllerTest::Connect(uint32_t index) {
    SourceInfo source = Source(index);
    ASSERT_NE(0u, source.sourceType);
    ASSERT_TRUE(camera->Connect(&source)) << "last error " << camera->GetLastError();
}

std::string ControllerTest::TempFolder(const std::string& name) {
    std::string root = test_support::ExeFolder() + "\\ctl_tmp";
    CreateDirectoryA(root.c_str(), nullptr);
    std::string folder = root + "\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const auto& file : FilesIn(folder)) DeleteFileA((folder + "\\" + file).c_str());
    m_folders.push_back(folder);
    return folder;
}

int ControllerTest::IndexOf(const std::vector<std::string>& names, const std::string& name, size_t from) {
    for (size_t i = from; i < names.size(); ++i)
        if (names[i] == name) return static_cast<int>(i);
    return -1;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

int ProcessThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}
