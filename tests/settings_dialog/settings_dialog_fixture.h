// The fixture of the settings tests: the camera window of the dialog tests, connected like a
// user would, plus the settings window, SetData.ini in the test's folder and the SDK calls that
// change camera settings.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "resources/settings_dialog_ids.h"
#include "tests/dialog/camera_window_fixture.h"

namespace settings_test {

// The settings-changing SDK calls in the simulator's log since the last SimLogClear.
std::vector<SimCall> SettingCalls();
std::vector<std::string> Names(const std::vector<SimCall>& calls);
// The bytes a Set... call handed over (the captured input buffer).
std::vector<uint8_t> Data(const SimCall& call);

// A top-level window that records the messages the settings dialog sends to its camera window.
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

// Runs `action` with the first window this thread shows whose class is "#32770" and for which
// `match` holds, from a timer inside whatever modal loop runs then (gives up after 10 s).
void WhenDialogAppears(std::function<bool(HWND)> match, std::function<void(HWND)> action);
bool IsSettingsWindow(HWND window);

void Select(HWND dialog, int comboId, int index);  // a user's choice: selection + CBN_SELCHANGE
int Count(HWND dialog, int comboId);
int Selection(HWND dialog, int comboId);
LPARAM ItemData(HWND dialog, int comboId, int index);
void Type(HWND dialog, int editId, const std::string& text);  // sets the text (EN_CHANGE follows)

}  // namespace settings_test

class SettingsDialogTest : public CameraWindowTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The modeless window with its panel, connected through the Connect button to camera `index`
    // (0: the compact zoom camera, 1: the EOS camera); the log is cleared afterwards.
    void OpenConnected(int index = 0);
    std::string Section(int index = 0) const { return ComboText(index) + "Setting"; }
    void Store(const std::string& section, const char* key, const char* value) const;
    std::string Stored(const char* key, int index = 0) const;
    std::vector<std::string> StoredKeys(int index = 0) const;

    // Clicks "Camera Setting" and returns the settings window (null when there is none).
    HWND OpenSettings();
    static HWND FindSettingsWindow();

    // A folder of the test's own, created empty (with one file, so that a search finds entries).
    std::string MakeFolder(const char* name);

    std::vector<std::string> m_folders;
};
