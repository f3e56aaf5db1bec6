// The fixture of the settings tests: a host window, the simulated camera, the camera window
// connected like a user would, the settings window, SetData.ini in the test's folder, and the
// SDK calls that change camera settings.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialog/camera_dialog.h"
#include "resources/resource_ids.h"
#include "resources/settings_dialog_ids.h"
#include "simulator/sim_control.h"
#include "tests/common/test_support.h"

// Friend of CameraDialog: what these tests read that the window does not show.
struct CameraDialogTestAccess {
    static CameraController& Camera(CameraDialog& d) { return d.m_camera; }
    static std::string SaveFolder(const CameraDialog& d) { return d.m_szSaveFolder; }
};

namespace settings_test {

constexpr UINT kMsgFileSaved = WM_APP + 1;

// Stands in for the host: parent of the camera window and receiver of its file-saved notices.
class HostWindow {
public:
    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND hwnd() const { return m_hwnd; }
    std::vector<std::string> saved;  // paths of the file-saved notices

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
};

// Records what the settings dialog sends to its camera window.
class NotifyRecorder {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::string text;  // the folder text of WM_CAM_SET_SAVE_FOLDER
    };
    NotifyRecorder();
    ~NotifyRecorder();
    NotifyRecorder(const NotifyRecorder&) = delete;
    NotifyRecorder& operator=(const NotifyRecorder&) = delete;
    HWND hwnd() const { return m_hwnd; }
    std::vector<Message> received;
    std::function<void(const Message&)> onMessage;  // called while the sender waits

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
};

// The simulator's control exports, from the CDSDK.dll beside the test (kept loaded).
struct Sim {
#define SETTINGS_SIM_MEMBER(ret, name, params) PFN_##name name = nullptr;
    SIM_CONTROL_EXPORTS(SETTINGS_SIM_MEMBER)
#undef SETTINGS_SIM_MEMBER
    bool Load();
    int Count(const char* name) const;  // calls of `name` since the last SimLogClear
    uint32_t Setting(const char* key) const;
    std::string Text(const char* key) const;
};
Sim& Simulator();

// The settings-changing SDK calls in the log since the last SimLogClear, in order.
std::vector<SimCall> SettingCalls();
std::vector<std::string> Names(const std::vector<SimCall>& calls);
uint32_t Arg(const SimCall& call, int i);
std::vector<uint8_t> Data(const SimCall& call);  // the input bytes a Set... call handed over

std::string TestFile(const char* name);  // beside the test executable
std::string IniValue(const std::string& file, const char* section, const char* key);
std::vector<std::string> IniKeys(const std::string& file, const char* section);

// Runs `action` with the first visible "#32770" window of this thread for which `match` holds,
// from a timer inside whatever modal loop runs then (gives up after 10 s).
void WhenDialogAppears(std::function<bool(HWND)> match, std::function<void(HWND)> action);
bool IsSettingsWindow(HWND window);

bool Visible(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
std::string Text(HWND dialog, int id);
void Click(HWND dialog, int id);                   // BM_CLICK, as a mouse click does
void Select(HWND dialog, int comboId, int index);  // a user's choice: selection + CBN_SELCHANGE
int Count(HWND dialog, int comboId);
int Selection(HWND dialog, int comboId);
LPARAM ItemData(HWND dialog, int comboId, int index);
void Type(HWND dialog, int editId, const std::string& text);  // the edit's change notice follows
void Drain();  // dispatches what is queued now

}  // namespace settings_test

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static settings_test::Sim& sim() { return settings_test::Simulator(); }
    // Before opening the window: the simulator's configuration (INI text).
    void Configure(const char* ini) { ASSERT_EQ(sim().SimLoadConfigText(ini), 1u) << ini; }

    // The modeless camera window with its panel, child of the host, shown.
    void OpenModeless();
    // Selects camera `index` in the list and presses Connect.
    void ConnectWithButton(int index = 0);
    // Both, then the log and the host's notices are cleared (0: compact zoom camera, 1: EOS).
    void OpenConnected(int index = 0);
    HWND hwnd() const { return dialog ? dialog->GetSafeHwnd() : nullptr; }
    std::string ComboText(int index) const;
    int ComboCount() const;

    std::string Section(int index = 0) const { return ComboText(index) + "Setting"; }
    void Store(const std::string& section, const char* key, const char* value) const;
    std::string Stored(const char* key, int index = 0) const;
    std::vector<std::string> StoredKeys(int index = 0) const;

    // Clicks "Camera Setting" and returns the settings window (null when there is none).
    HWND OpenSettings();
    static HWND FindSettingsWindow();

    // A folder of the test's own holding one file, so that a search finds an entry.
    std::string MakeFolder(const char* name);

    settings_test::HostWindow host;
    std::unique_ptr<CameraDialog> dialog;

private:
    std::vector<std::string> m_folders;
};
