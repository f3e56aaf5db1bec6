// A photo-booth host on the component: a thread of its own with its own message loop and host
// window, the interface called step by step, every result, notification and SDK call span kept.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "dialog/kamvio_para.h"
#include "sdk/cdsdk_contract.h"
#include "tests/component/kamvio_library.h"

struct BoothStep {
    std::string name;
    HRESULT result;
    uint32_t firstCall, endCall;  // the SDK calls logged meanwhile, as log indices [first, end)
};

class Booth {
public:
    enum Note { FileSaved, ViewfinderEnable, Status, PoweredOff, NoteCount };

    explicit Booth(std::string folder) : folder_(std::move(folder)) {}
    Booth(const Booth&) = delete;
    Booth& operator=(const Booth&) = delete;

    // Runs `script` on a new thread; false when it has not ended within `deadlineMs` (the
    // thread is then left where it hangs).
    bool Run(const std::function<void(Booth&)>& script, DWORD deadlineMs);
    // Runs `script` and, when it hangs, reports it (with `what`) and ends the program: a hung
    // thread cannot be taken back.
    void RunOrEnd(const std::function<void(Booth&)>& script, DWORD deadlineMs, const std::string& what);

    // Script steps, on the booth's thread. Each interface call is recorded as a step.
    void Open();                 // host window, object, InitKamvioDlg, CreateKamvioDlg
    bool ConnectFirst();         // GetDeviceCounts, GetSouceInfo, Connect; a failed Connect is tidied with Disconnect
    void ViewOn();               // OpenViewFinder(1) and a few frames' time
    void Zoom();                 // SetZoomPos, GetCurrentZoomPos, GetMaxZoomPos
    void Shoot();                // TakePhoto and, when it worked, the file-saved notification ("FileSaved")
    void Settings();             // PopSettingDlg; onSettings acts on the open settings window
    void Stored();               // InitDCSettingByIniFile with the camera's name
    void ViewOff();              // OpenViewFinder(0)
    void Disconnect();           // Disconnect, then IsConnected as step "IsConnected" (S_OK connected, S_FALSE not)
    void Close();                // DestroyKamvioDlg, release, host window gone
    void Everything();           // the whole booth day: all of the above in this order
    HRESULT Do(const char* name, const std::function<HRESULT()>& call);
    bool WaitForNote(Note note, int count, DWORD ms = 10000);

    HWND CameraWindow() const;
    IOvCanonSDK* Object() const { return object_.get(); }

    // Called on every tick (about 30 ms) while the settings window is open; by default presses OK.
    std::function<void(HWND settings)> onSettings;
    // Called inside the host window's handler of each notification, after it was counted.
    std::function<void(Note note)> onNote;
    // Called on every tick while a modal camera window of the host is open; by default Cancel.
    std::function<void(HWND modal)> onModal;
    // The host's calls of its own, as it would make them from anywhere: release the object, or
    // run the modal window (closed with Cancel by the booth's tick).
    void ReleaseObject() { object_.reset(); }
    HRESULT RunModal();
    const SourceInfo& Source(int i) const { return sources_[i]; }
    KamvioPara& Para() { return para_; }

    const std::vector<BoothStep>& Steps() const { return steps_; }
    int Notes(Note note) const { return notes_[note]; }
    std::string StepText() const;  // "name=result ..." for failure messages

private:
    static LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void CALLBACK SettingsTick(HWND, UINT, UINT_PTR, DWORD);
    static DWORD WINAPI ThreadMain(LPVOID self);

    std::string folder_;
    std::function<void(Booth&)> script_;
    HWND host_ = nullptr;
    ComPtr<IOvCanonSDK> object_;
    KamvioPara para_ = {};
    SourceInfo sources_[4] = {};
    std::vector<BoothStep> steps_;
    int notes_[NoteCount] = {};
};

// The booth's save folder (emptied) beside the program, the settings files removed, the simulator
// reset to `config`, boxes forgotten.
std::string FreshBoothDay(const char* config);
// What the day left open in the simulator ("sources/enumerations/starts 1/0/1; "), else "".
std::string LeftOpen();
// What is wrong with the files in `folder`: each item the simulator sent completely must be
// there byte for byte and, when `onlySent`, every file must be such an item. Empty when all is well.
std::string CheckShots(const std::string& folder, bool onlySent = true);
