// KamvioCamera: cameras, shots, zoom, settings and self-healing.
#include <cstring>

#include "camera/camera_messages.h"
#include "component/kamvio_camera_call.h"
#include "component/message_pump.h"
#include "component/setting_access.h"
#include "component/variant_util.h"
#include "platform/host_folder.h"
#include "sdk/cdsdk_contract.h"
#include "settings/settings_file.h"
#include "settings/timer_shoot_rules.h"

namespace {

constexpr uint32_t kUnread = 0xFFFFFFFF;

std::string Joined(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& text : texts) out += (out.empty() ? "" : ", ") + text;
    return out;
}

// The cameras listed; false when the list could not be read. No camera is a count of 0, while a
// listing that could not even start leaves the count alone.
bool ReadSources(CameraDialog& dialog, std::vector<SourceInfo>* sources) {
    sources->clear();
    uint32_t count = kUnread;
    if (!dialog.GetDeviceCounts(&count) && count == kUnread) return false;
    if (count == 0 || count == kUnread) return true;
    sources->resize(count < CameraDialog::kMaxSources ? count : CameraDialog::kMaxSources);
    if (dialog.GetSouceInfo(sources->data(), static_cast<uint32_t>(sources->size()))) return true;
    sources->clear();
    return false;
}

// The remaining part of a wait that started at `start`.
DWORD Left(DWORD start, DWORD timeoutMs) {
    const DWORD spent = GetTickCount() - start;
    return spent >= timeoutMs ? 0 : timeoutMs - spent;
}

}  // namespace

// ---- shared steps

HRESULT KamvioCamera::FailFromCamera(uint32_t status, AutomationError otherwise) {
    status &= 0xFFFF;
    // The call's notices tell of this failure: they are its error now, not Error events as well.
    std::vector<std::string> notices;
    if (m_pCallNotices) notices.swap(*m_pCallNotices);
    if (status == cdDEVICE_BUSY) return m_errors.Raise(AutomationError::Busy);
    if (!notices.empty()) return m_errors.RaiseText(E_FAIL, notices.back());
    if (status) return m_errors.Raise(AutomationError::CameraReported, SdkStatusText(status));
    return m_errors.Raise(otherwise);
}

HRESULT KamvioCamera::RequireCamera() {
    if (m_state == kConnected) return S_OK;
    return m_errors.Raise(m_state == kGone ? AutomationError::Gone : AutomationError::NoCamera);
}

HRESULT KamvioCamera::ListSources(HookedCameraDialog& dialog, std::vector<SourceInfo>* sources) {
    if (ReadSources(dialog, sources)) return S_OK;
    if (!m_strStartupNotice.empty() && (!m_pCallNotices || m_pCallNotices->empty()))
        return m_errors.RaiseText(E_FAIL, m_strStartupNotice);
    return FailFromCamera(dialog.LastCameraError(), AutomationError::NoCameraList);
}

bool KamvioCamera::DisconnectNow(HookedCameraDialog& dialog, Reason reason) {
    const std::string name = m_strCamera;
    const bool done = dialog.Disconnect() != FALSE;
    m_state = kDisconnected;
    m_bShotRunning = m_bLiveViewRunning = false;
    UpdateTimer();
    Fire(kEventDisconnected, EventArgs().Text(name).Long(reason));
    return done;
}

HRESULT KamvioCamera::ConnectSource(HookedCameraDialog& dialog, const SourceInfo& source) {
    if (m_state == kConnected) DisconnectNow(dialog, kByClient);
    m_state = kDisconnected;  // a gone camera is given up for this one
    UpdateTimer();
    if (!dialog.Connect(&source)) {
        const uint32_t status = dialog.LastCameraError();
        dialog.Disconnect();  // a failed attempt leaves open what it opened
        return FailFromCamera(status, AutomationError::RequestFailed);
    }
    AfterConnect(dialog, SourceName(source), false);
    return S_OK;
}

void KamvioCamera::AfterConnect(HookedCameraDialog& dialog, const std::string& name, bool reconnected) {
    m_strCamera = name;
    m_state = kConnected;
    m_bShotRunning = m_bLiveViewRunning = false;
    UpdateTimer();
    // The camera's stored settings, as InitDCSettingByIniFile applies them; the client's own save
    // folder wins over a stored one.
    dialog.InitDCSettingByIniFile(name.c_str());
    ApplyClientChoices(dialog);
    if (m_bLiveViewWanted && dialog.OpenViewFinder(TRUE)) m_bLiveViewRunning = true;
    Fire(kEventConnected, EventArgs().Text(name).Bool(reconnected));
}

void KamvioCamera::TryReconnect() {
    if (!m_pDlg) return;
    HookedCameraDialog& dialog = *m_pDlg;
    DialogBase::CallScope scope(dialog);
    bool connected = false;
    {
        // A failed attempt is tried again at the next tick: what it reports is of no use.
        NoticeCollector attempt(*this);
        m_bHealing = true;
        std::vector<SourceInfo> sources;
        ReadSources(dialog, &sources);
        for (const SourceInfo& source : sources) {
            if (SourceName(source) != m_strCamera) continue;
            connected = dialog.Connect(&source) != FALSE;
            if (!connected) dialog.Disconnect();  // a failed attempt leaves open what it opened
            break;
        }
        m_bHealing = false;
    }
    if (connected) AfterConnect(dialog, m_strCamera, true);
}

HRESULT KamvioCamera::ReadTimeout(const VARIANT& value, DWORD* timeoutMs) {
    *timeoutMs = kDefaultShotTimeoutMs;
    if (IsMissing(value)) return S_OK;
    long number = 0;
    if (!VariantToLong(value, &number)) return m_errors.Raise(AutomationError::WrongType, "timeoutMs");
    if (number < 0) return m_errors.Raise(AutomationError::InvalidArgument, "timeoutMs");
    *timeoutMs = static_cast<DWORD>(number);
    return S_OK;
}

HRESULT KamvioCamera::Shoot(HookedCameraDialog& dialog, DWORD timeoutMs, std::vector<std::string>* files) {
    const DWORD start = GetTickCount();
    if (m_bShotRunning) return m_errors.Raise(AutomationError::Busy);
    if (m_state == kGone) {
        PumpMessagesUntil([&] { return m_state != kGone || Released(); }, timeoutMs);
        if (Released()) return m_errors.Raise(AutomationError::RequestFailed);
    }
    if (HRESULT hr = RequireCamera(); FAILED(hr)) return hr;
    ShotWait wait;
    m_shotWaits.push_back(&wait);
    struct Unlisted {
        std::vector<ShotWait*>& waits;
        ~Unlisted() { waits.pop_back(); }
    } unlisted{m_shotWaits};
    if (!dialog.TakePhoto()) return FailFromCamera(dialog.LastCameraError(), AutomationError::RequestFailed);
    m_bShotRunning = true;
    PumpMessagesUntil([&] { return wait.done || m_state != kConnected || Released(); }, Left(start, timeoutMs));
    if (wait.done) {
        if (wait.files.empty()) return FailFromCamera(dialog.LastCameraError(), AutomationError::NoFile);
        *files = std::move(wait.files);
        return S_OK;
    }
    m_bShotRunning = false;  // a shot that never ends must not keep the camera busy
    if (Released()) return m_errors.Raise(AutomationError::RequestFailed);
    if (m_state != kConnected) return m_errors.Raise(AutomationError::Gone);
    return m_errors.Raise(AutomationError::ShotTimedOut);
}

// ---- cameras

STDMETHODIMP KamvioCamera::get_CameraCount(LONG* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        std::vector<SourceInfo> sources;
        HRESULT hr = ListSources(d, &sources);
        if (SUCCEEDED(hr)) *count = static_cast<LONG>(sources.size());
        return hr;
    });
}

STDMETHODIMP KamvioCamera::CameraNames(VARIANT* names) {
    if (!names) return E_POINTER;
    VariantInit(names);
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        std::vector<SourceInfo> sources;
        HRESULT hr = ListSources(d, &sources);
        if (FAILED(hr)) return hr;
        std::vector<std::string> list;
        for (const SourceInfo& source : sources) list.push_back(SourceName(source));
        return TextsToVariant(list, names);
    });
}

STDMETHODIMP KamvioCamera::Connect(VARIANT camera) {
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        std::vector<SourceInfo> sources;
        HRESULT hr = ListSources(d, &sources);
        if (FAILED(hr)) return hr;
        std::string wanted;
        long index = 0;
        if (VariantToText(camera, &wanted)) {
            index = -1;
            for (size_t i = 0; i < sources.size() && index < 0; ++i)
                if (_stricmp(SourceName(sources[i]).c_str(), wanted.c_str()) == 0) index = static_cast<long>(i);
        } else if (!IsMissing(camera)) {
            if (!VariantToLong(camera, &index)) return m_errors.Raise(AutomationError::WrongType, "camera");
            wanted = std::to_string(index);
        } else {
            wanted = "0";
        }
        if (index < 0 || static_cast<size_t>(index) >= sources.size())
            return m_errors.Raise(AutomationError::NoSuchCamera, wanted);
        return ConnectSource(d, sources[static_cast<size_t>(index)]);
    });
}

STDMETHODIMP KamvioCamera::Disconnect() {
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        if (m_state == kGone) {
            m_state = kDisconnected;  // given up: no event, Disconnected came with the power-off
            UpdateTimer();
        }
        if (m_state != kConnected) return S_OK;
        if (!DisconnectNow(d, kByClient)) return FailFromCamera(d.LastCameraError(), AutomationError::RequestFailed);
        return S_OK;
    });
}

STDMETHODIMP KamvioCamera::get_State(LONG* state) {
    if (!state) return E_POINTER;
    return Run([&](HookedCameraDialog&) -> HRESULT {
        *state = m_state;
        return S_OK;
    });
}

STDMETHODIMP KamvioCamera::get_IsConnected(VARIANT_BOOL* connected) {
    if (!connected) return E_POINTER;
    return Run([&](HookedCameraDialog&) -> HRESULT {
        *connected = m_state == kConnected ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

STDMETHODIMP KamvioCamera::get_CameraName(BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    return Run([&](HookedCameraDialog&) -> HRESULT {
        *name = TextToBstr(m_state == kDisconnected ? std::string() : m_strCamera);
        return *name ? S_OK : E_OUTOFMEMORY;
    });
}

// ---- shots

STDMETHODIMP KamvioCamera::TakePhoto(VARIANT timeoutMs, VARIANT* files) {
    if (!files) return E_POINTER;
    VariantInit(files);
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        DWORD timeout = 0;
        if (HRESULT hr = ReadTimeout(timeoutMs, &timeout); FAILED(hr)) return hr;
        std::vector<std::string> shot;
        if (HRESULT hr = Shoot(d, timeout, &shot); FAILED(hr)) return hr;
        return TextsToVariant(shot, files);
    });
}

STDMETHODIMP KamvioCamera::TakeTimedPhotos(LONG intervalSeconds, LONG count, VARIANT timeoutMs, VARIANT* files) {
    if (!files) return E_POINTER;
    VariantInit(files);
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        if (intervalSeconds < 0) return m_errors.Raise(AutomationError::InvalidArgument, "intervalSeconds");
        if (count < 0 || count > 0xFFFF) return m_errors.Raise(AutomationError::InvalidArgument, "count");
        // The settings window's rules for its Start button, with its texts.
        const TimerRequest request = CheckTimerRequest("0", std::to_string(intervalSeconds), std::to_string(count));
        if (request.refusal) return m_errors.RaiseTimerRefusal(request);
        DWORD timeout = 0;
        if (HRESULT hr = ReadTimeout(timeoutMs, &timeout); FAILED(hr)) return hr;
        if (HRESULT hr = RequireCamera(); FAILED(hr) && m_state != kGone) return hr;
        std::vector<std::string> all;
        for (uint16_t i = 0; i < request.count; ++i) {
            // Each shot an interval less a second after the last, as the window's series; with
            // the messages handled meanwhile.
            PumpMessagesUntil([&] { return Released(); }, SeriesPauseMs(request.intervalSeconds));
            std::vector<std::string> shot;
            if (HRESULT hr = Shoot(d, timeout, &shot); FAILED(hr)) return hr;
            all.insert(all.end(), shot.begin(), shot.end());
        }
        return TextsToVariant(all, files);
    });
}

STDMETHODIMP KamvioCamera::get_SaveFolder(BSTR* folder) {
    if (!folder) return E_POINTER;
    *folder = nullptr;
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        *folder = TextToBstr(d.SaveFolder());
        return *folder ? S_OK : E_OUTOFMEMORY;
    });
}

STDMETHODIMP KamvioCamera::put_SaveFolder(BSTR folder) {
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        std::string path = BstrToText(folder);
        // Image names are joined to the folder with a backslash of their own.
        while (path.size() > 3 && path.back() == '\\') path.pop_back();
        if (!SaveFolderUsable(path.c_str())) return m_errors.Raise(AutomationError::FolderMissing, path);
        m_strSaveFolder = path;
        ApplyClientChoices(d);
        return S_OK;
    });
}

// ---- zoom

STDMETHODIMP KamvioCamera::get_Zoom(LONG* position) {
    if (!position) return E_POINTER;
    *position = 0;
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        if (HRESULT hr = RequireCamera(); FAILED(hr)) return hr;
        uint32_t current = 0;
        if (!d.GetCurrentZoomPos(&current)) return FailFromCamera(d.LastCameraError(), AutomationError::RequestFailed);
        *position = static_cast<LONG>(current);
        return S_OK;
    });
}

STDMETHODIMP KamvioCamera::put_Zoom(LONG position) {
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        if (HRESULT hr = RequireCamera(); FAILED(hr)) return hr;
        if (position < 0) return m_errors.Raise(AutomationError::InvalidArgument, "position");
        if (!d.SetZoomPos(static_cast<uint32_t>(position)))
            return FailFromCamera(d.LastCameraError(), AutomationError::RequestFailed);
        return S_OK;
    });
}

STDMETHODIMP KamvioCamera::get_ZoomMax(LONG* maximum) {
    if (!maximum) return E_POINTER;
    *maximum = 0;
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        if (HRESULT hr = RequireCamera(); FAILED(hr)) return hr;
        // The window's operation hands the SDK's two values over crosswise; the camera's limit,
        // the range of the window's zoom slider, is the second here.
        uint32_t other = 0, limit = 0;
        if (!d.GetMaxZoomPos(&other, &limit))
            return FailFromCamera(d.LastCameraError(), AutomationError::RequestFailed);
        *maximum = static_cast<LONG>(limit);
        return S_OK;
    });
}

// ---- settings

namespace {

setting_access::Camera SettingCamera(HookedCameraDialog& dialog, HWND listParent, const std::string& cameraName) {
    setting_access::Camera camera;
    camera.source = dialog.SourceHandle();
    camera.listParent = listParent;
    camera.iniPath = settings_file::SetDataPath(HostExecutableFolder());
    camera.section = settings_file::SectionOf(cameraName);
    return camera;
}

}  // namespace

STDMETHODIMP KamvioCamera::SettingNames(VARIANT* names) {
    if (!names) return E_POINTER;
    VariantInit(names);
    return Run([&](HookedCameraDialog&) -> HRESULT { return TextsToVariant(setting_access::Names(), names); });
}

// The steps every settings member shares: the name checked, the camera required, the outcome
// turned into the member's error. `choice`: the label a refused SetSetting asked for.
template <typename Access>
HRESULT KamvioCamera::AccessSetting(HookedCameraDialog& dialog, const std::string& setting, const std::string& choice,
                                    Access access) {
    if (!setting_access::Known(setting))
        return m_errors.Raise(AutomationError::UnknownSetting, setting, Joined(setting_access::Names()));
    if (HRESULT hr = RequireCamera(); FAILED(hr)) return hr;
    const setting_access::Camera camera = SettingCamera(dialog, m_window.Handle(), m_strCamera);
    const setting_access::Result result = access(camera);
    switch (result.outcome) {
    case setting_access::Outcome::Done: return S_OK;
    case setting_access::Outcome::NoChoices: return m_errors.Raise(AutomationError::NoChoices, setting);
    case setting_access::Outcome::NoSuchChoice: {
        std::vector<std::string> choices;
        setting_access::Choices(camera, setting, &choices);
        return m_errors.Raise(AutomationError::NoSuchChoice, choice, Joined(choices));
    }
    default: return FailFromCamera(result.status, AutomationError::RequestFailed);
    }
}

STDMETHODIMP KamvioCamera::SettingChoices(BSTR name, VARIANT* labels) {
    if (!labels) return E_POINTER;
    VariantInit(labels);
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        const std::string setting = BstrToText(name);
        std::vector<std::string> choices;
        HRESULT hr = AccessSetting(d, setting, "", [&](const setting_access::Camera& camera) {
            return setting_access::Choices(camera, setting, &choices);
        });
        return FAILED(hr) ? hr : TextsToVariant(choices, labels);
    });
}

STDMETHODIMP KamvioCamera::GetSetting(BSTR name, BSTR* label) {
    if (!label) return E_POINTER;
    *label = nullptr;
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        const std::string setting = BstrToText(name);
        std::string current;
        HRESULT hr = AccessSetting(d, setting, "", [&](const setting_access::Camera& camera) {
            return setting_access::Current(camera, setting, &current);
        });
        if (FAILED(hr)) return hr;
        *label = TextToBstr(current);
        return *label ? S_OK : E_OUTOFMEMORY;
    });
}

STDMETHODIMP KamvioCamera::SetSetting(BSTR name, BSTR label) {
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        const std::string setting = BstrToText(name), choice = BstrToText(label);
        return AccessSetting(d, setting, choice, [&](const setting_access::Camera& camera) {
            return setting_access::Apply(camera, setting, choice);
        });
    });
}

STDMETHODIMP KamvioCamera::ApplyStoredSettings(VARIANT cameraName) {
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        std::string name = m_strCamera;
        if (!IsMissing(cameraName) && !VariantToText(cameraName, &name))
            return m_errors.Raise(AutomationError::WrongType, "cameraName");
        if (HRESULT hr = RequireCamera(); FAILED(hr)) return hr;
        d.InitDCSettingByIniFile(name.c_str());
        ApplyClientChoices(d);
        return S_OK;
    });
}

// ---- self-healing

STDMETHODIMP KamvioCamera::get_AutoReconnect(VARIANT_BOOL* on) {
    if (!on) return E_POINTER;
    return Run([&](HookedCameraDialog&) -> HRESULT {
        *on = m_bAutoReconnect ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

STDMETHODIMP KamvioCamera::put_AutoReconnect(VARIANT_BOOL on) {
    return Run([&](HookedCameraDialog&) -> HRESULT {
        m_bAutoReconnect = on != VARIANT_FALSE;
        if (!m_bAutoReconnect && m_state == kGone) m_state = kDisconnected;
        UpdateTimer();
        return S_OK;
    });
}
