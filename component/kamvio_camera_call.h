// A member call of KamvioCamera in progress (for the files that implement its members).
#pragma once

#include "component/kamvio_camera.h"

// Collects the notices the camera code raises while it lives; the innermost collector takes them.
class KamvioCamera::NoticeCollector {
public:
    explicit NoticeCollector(KamvioCamera& object)
        : m_object(object), m_outer(object.m_pCallNotices), m_scope(&object) {
        m_object.m_pCallNotices = &notices;
    }
    NoticeCollector(const NoticeCollector&) = delete;
    NoticeCollector& operator=(const NoticeCollector&) = delete;
    ~NoticeCollector() { m_object.m_pCallNotices = m_outer; }

    std::vector<std::string> notices;

private:
    KamvioCamera& m_object;
    std::vector<std::string>* m_outer;
    NoticeScope m_scope;
};

// Keeps the object alive and starts without error information. The notices of the call describe
// its failure (FailFromCamera takes them), or reach the client as Error events when it went well.
class KamvioCamera::MemberCall {
public:
    explicit MemberCall(KamvioCamera& object) : m_guard(object), m_object(object), m_collector(object) {
        SetErrorInfo(0, nullptr);
    }
    MemberCall(const MemberCall&) = delete;
    MemberCall& operator=(const MemberCall&) = delete;
    ~MemberCall() {
        for (const std::string& notice : m_collector.notices) m_object.QueueError(notice);
    }

private:
    Guard m_guard;  // goes last
    KamvioCamera& m_object;
    NoticeCollector m_collector;
};

template <typename Body>
HRESULT KamvioCamera::Run(Body body) {
    if (GetCurrentThreadId() != m_dwThread) return RPC_E_WRONG_THREAD;
    MemberCall call(*this);
    EnsureCameraWindow();
    if (Released() || !m_pDlg) return m_errors.Raise(AutomationError::RequestFailed);
    HookedCameraDialog& dialog = *m_pDlg;
    DialogBase::CallScope scope(dialog);
    return body(dialog);
}
