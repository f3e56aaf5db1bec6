// The errors of the scriptable camera class: its own texts, translated through KamvioML.ini
// (section "Error Message"), the SDK's statuses by name, and the IErrorInfo a failing member
// leaves for its caller.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <string>

#include "sdk/message_translator.h"

struct TimerRequest;

enum class AutomationError {
    NoCamera,         // "No camera is connected."
    Busy,             // "The camera is busy."
    Gone,             // "The camera is gone."
    ShotTimedOut,     // "The shot timed out."
    NoFile,           // "The shot saved no file."
    UnknownSetting,   // name, the names accepted
    NoSuchChoice,     // label, the labels accepted
    NoSuchCamera,     // number or name
    NoCameraList,     // "The camera list cannot be read."
    NoChoices,        // setting name
    CameraReported,   // SdkStatusText
    RequestFailed,    // nothing more is known
    FolderMissing,    // folder
    WrongType,        // argument name
    InvalidArgument,  // argument name
};

// Results a client can tell apart without reading the text (FACILITY_ITF).
constexpr HRESULT KAMVIO_E_NO_CAMERA = static_cast<HRESULT>(0x80040201);
constexpr HRESULT KAMVIO_E_BUSY = static_cast<HRESULT>(0x80040202);
constexpr HRESULT KAMVIO_E_GONE = static_cast<HRESULT>(0x80040203);
constexpr HRESULT KAMVIO_E_NO_FILE = static_cast<HRESULT>(0x80040204);

HRESULT ResultOf(AutomationError error);
// "0x81 (DEVICE_BUSY)"; a status without a name is the number alone.
std::string SdkStatusText(uint32_t status);
// The text with each "%s" replaced by the next insert, in order; a translation cannot make
// it read more inserts than there are.
std::string FillInserts(const std::string& text, const std::string& first, const std::string& second);

class AutomationErrors {
public:
    // Texts from the KamvioML.ini beside the host; errors carry `iid` and `source`.
    AutomationErrors(const IID& iid, const wchar_t* source);
    AutomationErrors(const AutomationErrors&) = delete;
    AutomationErrors& operator=(const AutomationErrors&) = delete;

    std::string Text(AutomationError error, const std::string& first = {}, const std::string& second = {});
    // Sets the thread's error information to the translated text and returns the error's result.
    HRESULT Raise(AutomationError error, const std::string& first = {}, const std::string& second = {});
    // The same with a description of its own (a notice the shared code raised).
    HRESULT RaiseText(HRESULT result, const std::string& description);
    // The settings window's refusal of a timer series, translated as it shows it.
    HRESULT RaiseTimerRefusal(const TimerRequest& request);
    // The warning the camera window gives when its camera switched off; the PoweredOff event
    // says the same.
    bool IsPowerOffWarning(const std::string& text);

private:
    MessageTranslator m_texts;
    IID m_iid;
    const wchar_t* m_source;
};
