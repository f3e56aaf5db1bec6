#include "tests/hardening/booth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>

#include "resources/resource_ids.h"
#include "resources/settings_dialog_ids.h"
#include "tests/common/host_window.h"
#include "tests/common/sim_access.h"
#include "tests/common/test_support.h"

namespace {

constexpr UINT kNoteBase = test_support::kMsgFileSaved;  // HostPara's numbers are in the order of Booth::Note
constexpr UINT_PTR kTickMs = 30;
thread_local Booth* t_booth = nullptr;

// A visible dialog of this thread with the control `with` and without the control `without`.
HWND FindDialog(int with, int without = 0) {
    return test_support::FindThreadWindow([&](HWND w) {
        char cls[16] = {};
        GetClassNameA(w, cls, sizeof cls);
        return !strcmp(cls, "#32770") && IsWindowVisible(w) && GetDlgItem(w, with) && !(without && GetDlgItem(w, without));
    });
}

uint32_t LogIndex() { return Sim().SimLogCount(); }

}  // namespace

bool Booth::Run(const std::function<void(Booth&)>& script, DWORD deadlineMs) {
    script_ = script;
    UniqueHandle thread(CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
    return thread && WaitForSingleObject(thread.get(), deadlineMs) == WAIT_OBJECT_0;
}

DWORD WINAPI Booth::ThreadMain(LPVOID argument) {
    auto* self = static_cast<Booth*>(argument);
    t_booth = self;
    self->script_(*self);
    if (self->object_ || self->host_) self->Close();
    t_booth = nullptr;
    return 0;
}

LRESULT CALLBACK Booth::HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (t_booth && message >= kNoteBase && message < kNoteBase + NoteCount) {
        ++t_booth->notes_[message - kNoteBase];
        if (t_booth->onNote) t_booth->onNote(static_cast<Note>(message - kNoteBase));
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void CALLBACK Booth::SettingsTick(HWND, UINT, UINT_PTR, DWORD) {
    if (!t_booth) return;
    // A modal camera window of the host's own: a pop-up with the Connect button.
    HWND settings = FindDialog(IDC_BtnTimerStart), modal = FindDialog(IDC_HandleCanonDlg_Connect, IDC_BtnTimerStart);
    if (modal && t_booth->onModal)
        t_booth->onModal(modal);
    else if (modal)
        PostMessageA(modal, WM_COMMAND, IDCANCEL, 0);
    if (!settings) return;
    if (t_booth->onSettings)
        t_booth->onSettings(settings);
    else
        PostMessageA(settings, WM_COMMAND, IDOK, 0);
}

void Booth::RunOrEnd(const std::function<void(Booth&)>& script, DWORD deadlineMs, const std::string& what) {
    if (Run(script, deadlineMs)) return;
    std::cerr << "HANG: " << what << " after " << StepText() << std::endl;
    ADD_FAILURE() << "hang: " << what;
    fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), 3);
}

HRESULT Booth::RunModal() {
    UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, SettingsTick);
    HRESULT result = Do("DoModal", [&] { return object_->DoModal(reinterpret_cast<LONG*>(&para_)); });
    KillTimer(nullptr, timer);
    return result;
}

HRESULT Booth::Do(const char* name, const std::function<HRESULT()>& call) {
    uint32_t first = LogIndex();
    // A host that let its object go makes no more calls on it.
    HRESULT result = object_ ? call() : E_POINTER;
    steps_.push_back({name, result, first, LogIndex()});
    return result;
}

bool Booth::WaitForNote(Note note, int count, DWORD ms) {
    return test_support::PumpUntil([&] { return notes_[note] >= count; }, ms);
}

void Booth::Open() {
    host_ = test_support::ClassWindow("KamvioBoothHost", "Booth", WS_OVERLAPPEDWINDOW, 640, 480, HostProc);
    para_ = test_support::HostPara(host_, 1, folder_.c_str());
    object_ = kamvio_test::CreateComponent();
    if (!object_) return;
    Do("InitKamvioDlg", [&] { return object_->InitKamvioDlg(reinterpret_cast<LONG*>(&para_), nullptr, nullptr, nullptr); });
    Do("CreateKamvioDlg", [&] { return object_->CreateKamvioDlg(nullptr); });
}

bool Booth::ConnectFirst() {
    ULONG count = 0;
    if (!object_ || FAILED(Do("GetDeviceCounts", [&] { return object_->GetDeviceCounts(&count, nullptr); }))) return false;
    count = std::min<ULONG>(count, 4);
    Do("GetSouceInfo", [&] { return object_->GetSouceInfo(count, reinterpret_cast<LONG*>(sources_), nullptr); });
    if (SUCCEEDED(Do("Connect", [&] { return object_->Connect(reinterpret_cast<LONG*>(&sources_[0]), nullptr); })))
        return true;
    Do("Disconnect", [&] { return object_->Disconnect(nullptr); });
    return false;
}

void Booth::ViewOn() {
    Do("OpenViewFinder", [&] { return object_->OpenViewFinder(1, nullptr); });
    test_support::PumpFor(150);
}

void Booth::Zoom() {
    ULONG position = 0, maximum = 0;
    Do("SetZoomPos", [&] { return object_->SetZoomPos(3, nullptr); });
    Do("GetCurrentZoomPos", [&] { return object_->GetCurrentZoomPos(&position, nullptr); });
    Do("GetMaxZoomPos", [&] { return object_->GetMaxZoomPos(&maximum, nullptr); });
}

void Booth::Shoot() {
    int saved = notes_[FileSaved];
    if (FAILED(Do("TakePhoto", [&] { return object_->TakePhoto(nullptr); }))) return;
    // (a shot that saved no file is not announced: the wait is kept short)
    Do("FileSaved", [&] { return WaitForNote(FileSaved, saved + 1, 4000) ? S_OK : E_FAIL; });
}

void Booth::Settings() {
    UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, SettingsTick);
    Do("PopSettingDlg", [&] { return object_->PopSettingDlg(nullptr); });
    KillTimer(nullptr, timer);
}

void Booth::Stored() {
    std::string name = sources_[0].modelName;
    UniqueBstr text(SysAllocString(std::wstring(name.begin(), name.end()).c_str()));
    Do("InitDCSettingByIniFile", [&] { return object_->InitDCSettingByIniFile(text.get(), nullptr); });
}

void Booth::ViewOff() {
    Do("OpenViewFinder", [&] { return object_->OpenViewFinder(0, nullptr); });
}

void Booth::Disconnect() {
    Do("Disconnect", [&] { return object_->Disconnect(nullptr); });
    LONG connected = -1;
    Do("IsConnected", [&] { return FAILED(object_->IsConnected(&connected, nullptr)) ? E_FAIL : connected ? S_OK : S_FALSE; });
}

void Booth::Close() {
    if (object_) Do("DestroyKamvioDlg", [&] { return object_->DestroyKamvioDlg(nullptr); });
    object_.reset();
    if (host_) DestroyWindow(host_);
    host_ = nullptr;
    test_support::PumpFor(10);
}

void Booth::Everything() {
    Open();
    if (ConnectFirst()) {
        ViewOn();
        Zoom();
        Shoot();
        Shoot();
        Settings();
        Stored();
        ViewOff();
        Disconnect();
    }
    Close();
}

HWND Booth::CameraWindow() const { return host_ ? FindWindowExA(host_, nullptr, "#32770", nullptr) : nullptr; }

std::string Booth::StepText() const {
    std::string text;
    char result[16];
    for (const BoothStep& s : steps_) {
        snprintf(result, sizeof result, "%lx", static_cast<unsigned long>(s.result));
        text += s.name + "=" + result + " ";
    }
    return text;
}

std::string FreshBoothDay(const char* config) {
    FreshCamera(config);
    return EmptyFolder("booth_shots");
}

std::string LeftOpen() {
    uint32_t open = 0, enums = 0, running = 0;
    Sim().SimGetSetting("OpenSources", &open);
    Sim().SimGetSetting("OpenEnumerations", &enums);
    Sim().SimGetSetting("Started", &running);
    if (!open && !enums && !running) return "";
    return "sources/enumerations/starts " + std::to_string(open) + "/" + std::to_string(enums) + "/" +
           std::to_string(running) + "; ";
}

std::string CheckShots(const std::string& folder, bool onlySent) {
    std::map<std::string, std::string> files;  // contents -> name
    for (const std::string& name : FilesIn(folder)) files[ReadFileBytes(folder + "\\" + name)] = name;
    std::string problems;
    for (uint32_t i = 0; i < Sim().SimSentItemCount(); ++i) {
        std::string bytes(Sim().SimSentItemGet(i, nullptr, 0), '\0');
        Sim().SimSentItemGet(i, bytes.data(), static_cast<uint32_t>(bytes.size()));
        if (!files.erase(bytes)) problems += "sent item " + std::to_string(i) + " is not on disk complete; ";
    }
    if (onlySent)
        for (const auto& file : files) problems += "file " + file.second + " is no item the camera sent; ";
    return problems;
}
