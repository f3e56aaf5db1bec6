#include "component/automation_errors.h"

#include <cstdio>
#include <vector>

#include "platform/handles.h"
#include "platform/host_folder.h"
#include "sdk/cdsdk_contract.h"
#include "settings/timer_shoot_rules.h"

namespace {

// The English text of each error; a switch so that every text is in sight of the translation
// checks.
const char* EnglishText(AutomationError error) {
    const char* kamvioErrorText = nullptr;
    switch (error) {
    case AutomationError::NoCamera: kamvioErrorText = "No camera is connected."; break;
    case AutomationError::Busy: kamvioErrorText = "The camera is busy."; break;
    case AutomationError::Gone: kamvioErrorText = "The camera is gone."; break;
    case AutomationError::ShotTimedOut: kamvioErrorText = "The shot timed out."; break;
    case AutomationError::NoFile: kamvioErrorText = "The shot saved no file."; break;
    case AutomationError::UnknownSetting: kamvioErrorText = "Unknown setting: %s (settings: %s)"; break;
    case AutomationError::NoSuchChoice: kamvioErrorText = "No such choice: %s (choices: %s)"; break;
    case AutomationError::NoSuchCamera: kamvioErrorText = "No such camera: %s"; break;
    case AutomationError::NoCameraList: kamvioErrorText = "The camera list cannot be read."; break;
    case AutomationError::NoChoices: kamvioErrorText = "The camera offers no choices for %s."; break;
    case AutomationError::CameraReported: kamvioErrorText = "The camera reported %s."; break;
    case AutomationError::RequestFailed: kamvioErrorText = "The request failed."; break;
    case AutomationError::FolderMissing: kamvioErrorText = "The folder does not exist: %s"; break;
    case AutomationError::WrongType: kamvioErrorText = "Wrong type of argument: %s"; break;
    case AutomationError::InvalidArgument: kamvioErrorText = "Invalid argument: %s"; break;
    }
    return kamvioErrorText;
}

struct StatusName {
    uint32_t status;
    const char* name;
};

constexpr StatusName kStatusNames[] = {
    {cdNOT_SUPPORTED, "NOT_SUPPORTED"},
    {cdINVALID_PARAMETER, "INVALID_PARAMETER"},
    {cdINVALID_HANDLE, "INVALID_HANDLE"},
    {cdINVALID_POINTER, "INVALID_POINTER"},
    {cdDEVICE_NOT_FOUND, "DEVICE_NOT_FOUND"},
    {cdDEVICE_BUSY, "DEVICE_BUSY"},
    {cdDEVICE_NOT_INSTALLED, "DEVICE_NOT_INSTALLED"},
    {cdDEVICE_NOT_RELEASED, "DEVICE_NOT_RELEASED"},
    {cdSTREAM_NOT_OPEN, "STREAM_NOT_OPEN"},
    {cdSTREAM_ALREADY_OPEN, "STREAM_ALREADY_OPEN"},
    {cdSTREAM_OPEN_ERROR, "STREAM_OPEN_ERROR"},
    {cdSTREAM_CLOSE_ERROR, "STREAM_CLOSE_ERROR"},
    {cdSTREAM_SEEK_ERROR, "STREAM_SEEK_ERROR"},
    {cdSTREAM_TELL_ERROR, "STREAM_TELL_ERROR"},
    {cdSTREAM_READ_ERROR, "STREAM_READ_ERROR"},
    {cdSTREAM_WRITE_ERROR, "STREAM_WRITE_ERROR"},
    {cdSTREAM_PERMISSION_ERROR, "STREAM_PERMISSION_ERROR"},
    {cdSTREAM_BAD_OPTIONS, "STREAM_BAD_OPTIONS"},
    {cdENUM_NA, "ENUM_NA"},
    {cdNOT_CONNECTED, "NOT_CONNECTED"},
    {cdSEQUENCE_ERROR, "SEQUENCE_ERROR"},
};

std::wstring Wide(const std::string& text) {
    if (text.empty()) return {};
    int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(size > 0 ? size : 0, L'\0');
    if (size > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

}  // namespace

HRESULT ResultOf(AutomationError error) {
    switch (error) {
    case AutomationError::NoCamera: return KAMVIO_E_NO_CAMERA;
    case AutomationError::Busy: return KAMVIO_E_BUSY;
    case AutomationError::Gone: return KAMVIO_E_GONE;
    case AutomationError::NoFile: return KAMVIO_E_NO_FILE;
    case AutomationError::ShotTimedOut: return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
    case AutomationError::UnknownSetting:
    case AutomationError::NoSuchChoice:
    case AutomationError::NoSuchCamera:
    case AutomationError::FolderMissing:
    case AutomationError::InvalidArgument: return E_INVALIDARG;
    case AutomationError::WrongType: return DISP_E_TYPEMISMATCH;
    default: return E_FAIL;
    }
}

std::string SdkStatusText(uint32_t status) {
    char number[16];
    snprintf(number, sizeof number, "0x%02X", static_cast<unsigned>(status));
    for (const StatusName& known : kStatusNames)
        if (known.status == status) return std::string(number) + " (" + known.name + ")";
    return number;
}

std::string FillInserts(const std::string& text, const std::string& first, const std::string& second) {
    const std::string* inserts[] = {&first, &second};
    std::string out;
    size_t used = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "%s") == 0 && used < 2) {
            out += *inserts[used++];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

AutomationErrors::AutomationErrors(const IID& iid, const wchar_t* source) : m_iid(iid), m_source(source) {
    if (m_texts.SetFile((HostExecutableFolder() + "\\KamvioML.ini").c_str())) m_texts.SetSection("Error Message");
}

std::string AutomationErrors::Text(AutomationError error, const std::string& first, const std::string& second) {
    const char* kamvioErrorText = EnglishText(error);
    return FillInserts(m_texts.Translate(kamvioErrorText), first, second);
}

HRESULT AutomationErrors::Raise(AutomationError error, const std::string& first, const std::string& second) {
    return RaiseText(ResultOf(error), Text(error, first, second));
}

HRESULT AutomationErrors::RaiseText(HRESULT result, const std::string& description) {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.put()))) return result;
    create->SetGUID(m_iid);
    create->SetSource(const_cast<LPOLESTR>(m_source));
    std::wstring text = Wide(description);
    create->SetDescription(&text[0]);
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, info.put_void()))) SetErrorInfo(0, info.get());
    return result;
}

HRESULT AutomationErrors::RaiseTimerRefusal(const TimerRequest& request) {
    if (!request.refusal) return S_OK;
    return RaiseText(E_INVALIDARG, m_texts.Translate(request.refusal));
}

bool AutomationErrors::IsPowerOffWarning(const std::string& text) {
    // The profile functions drop trailing blanks from a text they hand back untranslated.
    auto trimmed = [](std::string t) {
        while (!t.empty() && t.back() == ' ') t.pop_back();
        return t;
    };
    return trimmed(text) == trimmed(m_texts.Translate("The camera was powered off manually or by power low. "));
}
