#include "host/scripted_shoot.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/component_client.h"
#include "host/notification_window.h"
#include "platform/host_folder.h"
#include "sdk/cdsdk_contract.h"

namespace {

constexpr DWORD kShotTimeoutMs = 60000;

class ScriptedShoot {
public:
    explicit ScriptedShoot(const HostOptions& options) : m_options(options) {}
    int Run();

private:
    bool Fail(const char* step, const std::string& detail) {
        std::fprintf(stderr, "KamvioHost: %s failed: %s\n", step, detail.c_str());
        return false;
    }
    bool Check(const char* step, HRESULT hr) { return SUCCEEDED(hr) || Fail(step, HResultText(hr)); }
    bool Steps();
    bool PrepareFolder();
    bool ListCameras(std::vector<SourceInfo>* sources);
    bool Shoot(int index);
    // Dispatches messages until `count` files were reported or the time is up.
    bool WaitForFiles(size_t count);
    void OnNote(const HostNote& note);

    const HostOptions& m_options;
    std::string m_folder;
    ComPtr<IOvCanonSDK> m_kamvio;
    std::vector<std::string> m_files;
    int m_viewfinder = -1;  // -1 not told yet
};

void ScriptedShoot::OnNote(const HostNote& note) {
    std::printf("  [note] %s\n", note.Describe().c_str());
    if (note.kind == HostNote::FileSaved) m_files.push_back(note.text);
    if (note.kind == HostNote::Viewfinder) m_viewfinder = note.flag ? 1 : 0;
}

bool ScriptedShoot::PrepareFolder() {
    std::string folder = m_options.outFolder.empty() ? HostExecutableFolder() + "\\images" : m_options.outFolder;
    char full[MAX_PATH] = {};
    DWORD n = GetFullPathNameA(folder.c_str(), MAX_PATH, full, nullptr);
    if (n == 0 || n >= MAX_PATH) return Fail("output folder", "path too long or invalid: " + folder);
    m_folder = full;
    while (m_folder.size() > 3 && m_folder.back() == '\\') m_folder.pop_back();
    if (!CreateDirectoryA(m_folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return Fail("output folder", "cannot create " + m_folder);
    return true;
}

bool ScriptedShoot::ListCameras(std::vector<SourceInfo>* sources) {
    ULONG count = 0;
    if (FAILED(m_kamvio->GetDeviceCounts(&count, nullptr)) || count == 0) return Fail("GetDeviceCounts", "no camera found");
    sources->resize(count);
    if (!Check("GetSouceInfo", m_kamvio->GetSouceInfo(count, reinterpret_cast<LONG*>(sources->data()), nullptr)))
        return false;
    std::printf("%lu camera(s):\n", static_cast<unsigned long>(count));
    for (ULONG i = 0; i < count; ++i) {
        SourceInfo& s = (*sources)[i];
        s.modelName[sizeof s.modelName - 1] = '\0';
        std::printf("  %lu: %s\n", static_cast<unsigned long>(i + 1), s.modelName);
    }
    return true;
}

bool ScriptedShoot::WaitForFiles(size_t count) {
    DWORD start = GetTickCount();
    while (m_files.size() < count) {
        if (GetTickCount() - start > kShotTimeoutMs) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

bool ScriptedShoot::Shoot(int index) {
    char step[32];
    std::snprintf(step, sizeof step, "TakePhoto %d", index);
    size_t before = m_files.size();
    if (!Check(step, m_kamvio->TakePhoto(nullptr))) return false;
    if (!WaitForFiles(before + 1)) return Fail(step, "no file-saved notification within 60 s");
    const std::string& path = m_files.back();
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return Fail(step, "the reported file is missing: " + path);
    unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    std::printf("photo %d: %s (%llu bytes)\n", index, path.c_str(), size);
    return true;
}

bool ScriptedShoot::Steps() {
    if (!PrepareFolder()) return false;
    HRESULT hr = CreateKamvio(&m_kamvio);
    if (FAILED(hr)) return Fail("creating Kamvio.OvCanonSDK (is Kamvio.dll registered?)", HResultText(hr));

    NotificationWindow host("Kamvio demo (scripted)", WS_OVERLAPPEDWINDOW, [this](const HostNote& n) { OnNote(n); });
    if (!host.hwnd()) return Fail("host window", "cannot create it");
    KamvioPara para = host.Para(m_folder.c_str(), true);
    if (!Check("InitKamvioDlg", m_kamvio->InitKamvioDlg(reinterpret_cast<LONG*>(&para), nullptr, nullptr, nullptr)) ||
        !Check("CreateKamvioDlg", m_kamvio->CreateKamvioDlg(nullptr)))
        return false;

    bool ok = [&] {
        std::vector<SourceInfo> sources;
        if (!ListCameras(&sources)) return false;
        std::printf("connecting to %s\n", sources[0].modelName);
        if (!Check("Connect", m_kamvio->Connect(reinterpret_cast<LONG*>(&sources[0]), nullptr))) return false;
        LONG connected = 0;
        if (FAILED(m_kamvio->IsConnected(&connected, nullptr)) || !connected) return Fail("IsConnected", "not connected");
        if (m_viewfinder == 0) {
            std::printf("the camera offers no viewfinder: shooting without it\n");
        } else if (!Check("OpenViewFinder", m_kamvio->OpenViewFinder(TRUE, nullptr))) {
            return false;
        }
        for (int i = 1; i <= m_options.shots; ++i)
            if (!Shoot(i)) return false;
        return Check("Disconnect", m_kamvio->Disconnect(nullptr));
    }();
    // The window goes in every case, before the host window it lives in.
    HRESULT destroyed = m_kamvio->DestroyKamvioDlg(nullptr);
    m_kamvio.reset();
    return ok && Check("DestroyKamvioDlg", destroyed);
}

int ScriptedShoot::Run() {
    if (!Steps()) return 1;
    std::printf("%d photo(s) taken; images in %s\n", m_options.shots, m_folder.c_str());
    return 0;
}

}  // namespace

int RunScriptedShoot(const HostOptions& options) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    return ScriptedShoot(options).Run();
}
