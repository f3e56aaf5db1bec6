// KamvioCamera: its camera window, held in the object's own window or in a client's, and the
// live view members.
#include <new>

#include "camera/camera_messages.h"
#include "component/kamvio_camera_call.h"
#include "component/variant_util.h"
#include "dialog/kamvio_para.h"

namespace {

HWND WindowFromLong(LONG handle) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle)); }

}  // namespace

bool KamvioCamera::CreateCameraWindow() {
    std::unique_ptr<HookedCameraDialog> dialog(
        new (std::nothrow) HookedCameraDialog(*this, m_window.Handle(), CameraHostWindow::kPostedMessage));
    if (!dialog) return false;
    KamvioPara para{};
    para.saveMode = 1;      // files
    para.showControls = 0;  // the live view alone
    dialog->ApplyPara(&para);
    BOOL created = FALSE;
    {
        // What the start reports (a camera SDK that cannot be loaded) explains later failures.
        NoticeCollector start(*this);
        created = dialog->Create(m_window.Handle());
        m_strStartupNotice = start.notices.empty() ? std::string() : start.notices.back();
    }
    if (!created || !dialog->GetSafeHwnd()) {
        dialog->Hooks().Detach();
        DialogBase::Retire(dialog.release());
        return false;
    }
    m_pDlg = std::move(dialog);
    m_bInOwnWindow = false;
    m_hwndEmbedded = nullptr;
    PlaceInOwnWindow(*m_pDlg);
    ApplyClientChoices(*m_pDlg);
    return true;
}

void KamvioCamera::EnsureCameraWindow() {
    if (Released() || !m_pDlg || m_pDlg->GetSafeHwnd()) return;
    // The client destroyed the window that held the live view, and the camera window with it.
    const bool hadCamera = m_state != kDisconnected;
    m_pDlg->Hooks().Detach();
    DialogBase::Retire(m_pDlg.release());
    m_state = kDisconnected;
    m_bShotRunning = m_bLiveViewRunning = m_bLiveViewWanted = false;
    CreateCameraWindow();
    UpdateTimer();
    if (hadCamera) Fire(kEventDisconnected, EventArgs().Text(m_strCamera).Long(kWindowDestroyed));
}

void KamvioCamera::ApplyClientChoices(HookedCameraDialog& dialog) {
    if (!m_strSaveFolder.empty() && dialog.GetSafeHwnd())
        SendMessageA(dialog.GetSafeHwnd(), WM_CAM_SET_SAVE_FOLDER, reinterpret_cast<WPARAM>(m_strSaveFolder.c_str()),
                     0);
    dialog.SetDestFrameSize(m_dwFrameWidth, m_dwFrameHeight);
    const uint32_t none = 0;
    dialog.SetAdjustLinePos(static_cast<uint32_t>(m_xLines.size()), m_xLines.empty() ? &none : m_xLines.data(),
                            static_cast<uint32_t>(m_yLines.size()), m_yLines.empty() ? &none : m_yLines.data());
}

void KamvioCamera::PlaceInOwnWindow(HookedCameraDialog& dialog) {
    const RECT area = m_window.ClientArea();
    // A hidden window may have no area yet; the live view keeps a size of its own then.
    const RECT place = IsRectEmpty(&area) ? RECT{0, 0, 320, 240} : area;
    dialog.PlaceLiveView(m_window.Handle(), place);
    m_hwndEmbedded = nullptr;
}

HRESULT KamvioCamera::StartLiveView(HookedCameraDialog& dialog) {
    if (m_state != kConnected) return S_OK;  // started with the next connection
    if (!dialog.OpenViewFinder(TRUE)) return FailFromCamera(dialog.LastCameraError(), AutomationError::RequestFailed);
    m_bLiveViewRunning = true;
    return S_OK;
}

void KamvioCamera::UpdateTimer() {
    // Polls for a gone camera, and watches a camera window that lives in a client's window.
    m_window.SetTimer(m_state == kGone || m_hwndEmbedded ? kHealingPollMs : 0);
}

void KamvioCamera::OnHostTimer() {
    Guard guard(*this);
    if (Released()) return;
    EnsureCameraWindow();
    if (m_state == kGone && m_bAutoReconnect && !m_bHealing) TryReconnect();
}

void KamvioCamera::OnHostResized() {
    Guard guard(*this);
    if (m_bInOwnWindow && m_pDlg) PlaceInOwnWindow(*m_pDlg);
}

void KamvioCamera::OnHostClosed() {
    Guard guard(*this);
    if (m_pDlg) ShowWindow(m_pDlg->GetSafeHwnd(), SW_HIDE);
    m_bInOwnWindow = false;
    m_bLiveViewWanted = false;
}

// ---- live view members

STDMETHODIMP KamvioCamera::ShowLiveView(LONG hwndParent, LONG left, LONG top, LONG width, LONG height) {
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        // A window of another process would tie the two processes' input together.
        HWND parent = WindowFromLong(hwndParent);
        DWORD process = 0;
        if (!parent || !IsWindow(parent) || !GetWindowThreadProcessId(parent, &process) ||
            process != GetCurrentProcessId())
            return m_errors.Raise(AutomationError::InvalidArgument, "hwndParent");
        if (width <= 0) return m_errors.Raise(AutomationError::InvalidArgument, "width");
        if (height <= 0) return m_errors.Raise(AutomationError::InvalidArgument, "height");
        const RECT place = {left, top, left + width, top + height};
        if (!d.PlaceLiveView(parent, place)) return m_errors.Raise(AutomationError::RequestFailed);
        m_bInOwnWindow = false;
        if (parent != m_window.Handle()) {
            m_window.Show(false);
            m_hwndEmbedded = parent;
        }
        ShowWindow(d.GetSafeHwnd(), SW_SHOW);
        m_bLiveViewWanted = true;
        UpdateTimer();
        return StartLiveView(d);
    });
}

STDMETHODIMP KamvioCamera::ShowLiveViewWindow() {
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        m_bInOwnWindow = true;
        PlaceInOwnWindow(d);
        ShowWindow(d.GetSafeHwnd(), SW_SHOW);
        m_window.Show(true);
        m_bLiveViewWanted = true;
        UpdateTimer();
        return StartLiveView(d);
    });
}

STDMETHODIMP KamvioCamera::HideLiveView() {
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        ShowWindow(d.GetSafeHwnd(), SW_HIDE);
        // Back home, so that the client may destroy its window.
        if (m_hwndEmbedded) PlaceInOwnWindow(d);
        m_window.Show(false);
        m_bInOwnWindow = false;
        m_bLiveViewWanted = false;
        UpdateTimer();
        // The camera keeps sending its pictures until it is disconnected; they are not drawn.
        if (m_bLiveViewRunning) d.OpenViewFinder(FALSE);
        return S_OK;
    });
}

STDMETHODIMP KamvioCamera::SetDestinationFrame(LONG width, LONG height) {
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        if (width < 0) return m_errors.Raise(AutomationError::InvalidArgument, "width");
        if (height < 0) return m_errors.Raise(AutomationError::InvalidArgument, "height");
        m_dwFrameWidth = static_cast<uint32_t>(width);
        m_dwFrameHeight = static_cast<uint32_t>(height);
        d.SetDestFrameSize(m_dwFrameWidth, m_dwFrameHeight);
        return S_OK;
    });
}

STDMETHODIMP KamvioCamera::SetGuideLines(VARIANT xPositions, VARIANT yPositions) {
    return Run([&](HookedCameraDialog& d) -> HRESULT {
        std::vector<uint32_t> x, y;
        if (!IsMissing(xPositions) && !VariantToNumbers(xPositions, &x))
            return m_errors.Raise(AutomationError::WrongType, "xPositions");
        if (!IsMissing(yPositions) && !VariantToNumbers(yPositions, &y))
            return m_errors.Raise(AutomationError::WrongType, "yPositions");
        if (x.size() > CameraDialog::kMaxAdjustLines || y.size() > CameraDialog::kMaxAdjustLines)
            return m_errors.Raise(AutomationError::InvalidArgument, x.size() > y.size() ? "xPositions" : "yPositions");
        m_xLines = std::move(x);
        m_yLines = std::move(y);
        ApplyClientChoices(d);
        return S_OK;
    });
}
