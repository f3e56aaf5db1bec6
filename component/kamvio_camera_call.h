// A member call of KamvioCamera in progress (for the files that implement its members).
#pragma once

#include "component/kamvio_camera.h"

// Keeps the object alive, starts without error information, and collects the notices the
// camera code raises meanwhile: they describe the call's failure, or reach the client as Error
// events when the call went well.
class KamvioCamera::MemberCall {
public:
    explicit MemberCall(KamvioCamera& object)
        : m_guard(object), m_object(object), m_outer(object.m_pCallNotices), m_scope(&object) {
        m_object.m_pCallNotices = &m_notices;
        SetErrorInfo(0, nullptr);
    }
    MemberCall(const MemberCall&) = delete;
    MemberCall& operator=(const MemberCall&) = delete;
    ~MemberCall() {
        m_object.m_pCallNotices = m_outer;
        for (const std::string& notice : m_notices) m_object.QueueError(notice);
    }

private:
    Guard m_guard;  // goes last
    KamvioCamera& m_object;
    std::vector<std::string>* m_outer;
    std::vector<std::string> m_notices;
    NoticeScope m_scope;
};

template <typename Body>
HRESULT KamvioCamera::Run(Body body) {
    if (GetCurrentThreadId() != m_dwThread) return RPC_E_WRONG_THREAD;
    MemberCall call(*this);
    EnsureCameraWindow();
    if (m_bReleased || !m_pDlg) return m_errors.Raise(AutomationError::RequestFailed);
    HookedCameraDialog& dialog = *m_pDlg;
    DialogBase::CallScope scope(dialog);
    return body(dialog);
}
