#include "dialog/camera_dialog.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "camera/camera_messages.h"
#include "platform/host_folder.h"
#include "platform/readable_text.h"
#include "resources/resource_ids.h"
#include "sdk/notice.h"
#include "settings/setting_keys.h"
#include "settings/setting_table.h"

namespace {

constexpr char kDefaultSaveFolder[] = "c:\\Canon";

// The pop-up look of the modal window (the template is a child).
constexpr DWORD kModalStyleAdd = WS_POPUP | WS_CAPTION | WS_SYSMENU;  // 0x80C80000

// Controls shown or hidden together, in order; IDOK joins only in the modal window.
constexpr int kPanelBeforeOk[] = {IDC_HandleCanonDlg_SourceCmb, IDC_HandleCanonDlg_Connect,
                                  IDC_HandleCanonDlg_DisCnect,  IDC_HandleCanonDlg_Release,
                                  IDC_HndlCnnDlg_ViewFinder,    IDC_HndlCnnDlg_ToLCD,
                                  IDC_HndlCnnDlg_ZomSldr};
constexpr int kPanelAfterOk[] = {IDC_HndlCnnDlg_Setting, IDC_HndlCnnDlg_View};

// Controls that need a connected camera, in order.
constexpr int kCameraControls[] = {IDC_HndlCnnDlg_Setting,    IDC_HandleCanonDlg_DisCnect, IDC_HandleCanonDlg_Release,
                                   IDC_HndlCnnDlg_ViewFinder, IDC_HndlCnnDlg_ToLCD,        IDC_HndlCnnDlg_TestShoot,
                                   IDC_HndlCnnDlg_ZomSldr};

void CopyBounded(char (&target)[MAX_PATH], const char* text) {
    snprintf(target, sizeof target, "%s", text ? text : "");
}

// The animated cursor of "Nature.ani" (current folder) while the viewfinder starts; a file that
// cannot be loaded shows no cursor meanwhile. The previous cursor is back before the loaded one
// is destroyed.
class ViewfinderCursor {
public:
    ViewfinderCursor() : m_cursor(LoadCursorFromFileA("Nature.ani")), m_previous(SetCursor(m_cursor.get())) {}
    ViewfinderCursor(const ViewfinderCursor&) = delete;
    ViewfinderCursor& operator=(const ViewfinderCursor&) = delete;
    ~ViewfinderCursor() { SetCursor(m_previous); }

private:
    UniqueCursor m_cursor;
    HCURSOR m_previous;
};

std::string DecimalText(uint32_t value) {
    char text[16];
    snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return text;
}

}  // namespace

std::string SourceName(const SourceInfo& source) {
    return std::string(source.modelName, strnlen(source.modelName, sizeof source.modelName));
}

bool SaveFolderExists(const char* path) {
    if (!path || path[0] == '\0') return false;
    std::string folder(path, strnlen(path, 32768));
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    WIN32_FIND_DATAA found;
    UniqueFind search(FindFirstFileA((folder + "\\*.*").c_str(), &found));
    return static_cast<bool>(search);
}

bool SaveFolderUsable(const char* path) {
    // A host's pointer is read only where the process can read: a wild one counts as none.
    return path && ReadableTextLength(path, MAX_PATH) <= kMaxSaveFolder && SaveFolderExists(path);
}

CameraDialog::CameraDialog(HWND parent) : DialogBase(IDD_HANDLE_CANON_DLG, parent) { ResetOverlays(); }

CameraDialog::~CameraDialog() {
    // Destroyed here so that OnDestroy still runs on this class.
    DestroyWindow();
}

void CameraDialog::SetModal(BOOL modal) { m_bModal = modal; }

void CameraDialog::SetWindowRect(const RECT& rect) { m_rcWnd = rect; }

void CameraDialog::SetNoticeSink(NoticeSink* sink) {
    m_pNoticeSink = sink;
    m_camera.SetNoticeSink(sink);
}

INT_PTR CameraDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    NoticeScope notices(m_pNoticeSink);
    const INT_PTR result = DialogBase::Dispatch(message, wParam, lParam);
    // Buttons, the camera's messages and timed shots can all stop the viewfinder.
    ReleaseLiveViewIfStopped();
    return result;
}

DWORD CameraDialog::AdjustWindowStyle(DWORD style) {
    if (!m_bModal) return style;
    return (style & ~static_cast<DWORD>(WS_CHILD)) | kModalStyleAdd;
}

// ---------------------------------------------------------------------------------------------
// Operations behind the interface methods

BOOL CameraDialog::ApplyPara(const KamvioPara* para) {
    m_para = KamvioPara{};
    if (para) memcpy(&m_para, para, sizeof m_para);
    m_camera.SetSaveMode(static_cast<uint8_t>(m_para.saveMode - 1));
    m_hwndHost = m_para.hwndHost;
    if (SaveFolderUsable(m_para.pszSaveFolder)) {
        CopyBounded(m_szSaveFolder, m_para.pszSaveFolder);
    } else {
        CreateDirectoryA(kDefaultSaveFolder, nullptr);
        CopyBounded(m_szSaveFolder, kDefaultSaveFolder);
    }
    return TRUE;
}

BOOL CameraDialog::GetDeviceCounts(uint32_t* count) {
    if (!count) return FALSE;
    return m_camera.GetSourceCount(count);
}

BOOL CameraDialog::GetSouceInfo(SourceInfo* buffer, uint32_t count) {
    if (!buffer) return FALSE;
    return m_camera.GetSourceInfo(buffer, count);
}

BOOL CameraDialog::Connect(const SourceInfo* source) {
    m_camera.SetBatteryLow(false);
    if (!m_camera.Connect(source)) return FALSE;
    m_strSource = SourceName(*source);
    m_bViewStarted = FALSE;
    m_bViewShown = FALSE;
    return TRUE;
}

BOOL CameraDialog::Disconnect() {
    CloseSettingDlg();
    const BOOL disconnected = m_camera.Disconnect();
    ReleaseLiveViewIfStopped();
    if (!disconnected) return FALSE;
    m_bViewStarted = FALSE;
    m_bViewShown = FALSE;
    Repaint();
    return TRUE;
}

BOOL CameraDialog::TakePhoto() {
    const BOOL released = m_camera.Release();
    ReleaseLiveViewIfStopped();  // some cameras stop their viewfinder to shoot
    return released;
}

BOOL CameraDialog::OpenViewFinder(BOOL showView) {
    ViewfinderCursor cursor;
    if (!m_bViewStarted) {
        if (!m_camera.BeginViewfinder()) return FALSE;
        m_bViewStarted = TRUE;
        m_bViewShown = TRUE;
    } else {
        m_bViewShown = showView;
    }
    Repaint();
    return TRUE;
}

BOOL CameraDialog::OpenCameraLCDView(BOOL open) { return m_camera.ViewToLCD(open) ? TRUE : FALSE; }

BOOL CameraDialog::GetMaxZoomPos(uint32_t* maxPos, uint32_t* second) {
    if (!maxPos || !second) return FALSE;
    uint32_t first = 0, other = 0;
    if (!m_camera.GetMaxZoomPos(&first, &other)) return FALSE;
    *maxPos = other;
    *second = first;
    return TRUE;
}

BOOL CameraDialog::SetZoomPos(uint32_t position) {
    if (!m_camera.SetZoomPos(position)) return FALSE;
    WriteDCSetting(setting_table::KeyOf(setting_table::Setting::ZoomPosition), DecimalText(position).c_str());
    return TRUE;
}

BOOL CameraDialog::GetCurrentZoomPos(uint32_t* position) {
    if (!position) return FALSE;
    return m_camera.GetCurrentZoomPos(position);
}

BOOL CameraDialog::SetDestFrameSize(uint32_t width, uint32_t height) {
    m_dwFrameWidth = width;
    m_dwFrameHeight = height;
    return TRUE;
}

BOOL CameraDialog::SetAdjustLinePos(uint32_t xCount, const uint32_t* xLines, uint32_t yCount,
                                    const uint32_t* yLines) {
    if (!xLines || !yLines) return FALSE;
    m_dwXLnCnts = xCount;
    m_dwYLnCnts = yCount;
    // A failed allocation leaves that array missing, which switches the overlays off. Counts
    // beyond kMaxAdjustLines are treated as such a failure: no host draws more lines than the
    // picture has pixels, and a bogus count must not make us read far past the host's array.
    m_pXLine.reset();
    if (xCount <= kMaxAdjustLines) m_pXLine.reset(new (std::nothrow) uint32_t[xCount]);
    if (!m_pXLine) return FALSE;
    m_pYLine.reset();
    if (yCount <= kMaxAdjustLines) m_pYLine.reset(new (std::nothrow) uint32_t[yCount]);
    if (!m_pYLine) return FALSE;
    if (xCount) memcpy(m_pXLine.get(), xLines, sizeof(uint32_t) * xCount);
    if (yCount) memcpy(m_pYLine.get(), yLines, sizeof(uint32_t) * yCount);
    return TRUE;
}

BOOL CameraDialog::IsConnected(BOOL* connected) {
    if (!connected) return FALSE;
    *connected = m_camera.IsConnected();
    return TRUE;
}

void CameraDialog::ResetOverlays() {
    m_pXLine.reset();
    m_pYLine.reset();
    m_dwXLnCnts = 0;
    m_dwYLnCnts = 0;
    m_dwFrameWidth = 0;
    m_dwFrameHeight = 0;
}

void CameraDialog::NotifyHost(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (m_hwndHost) SendMessageA(m_hwndHost, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// Window life

BOOL CameraDialog::OnInitDialog() {
    NoticeScope notices(m_pNoticeSink);
    HWND self = GetSafeHwnd();
    m_camera.SetOwner(self);
    m_camera.SetSaveFolder(m_szSaveFolder);
    CreateDirectoryA(m_szSaveFolder, nullptr);
    m_camera.Begin();
    // The host hears of the start and may destroy the window from inside that notification.
    if (!GetSafeHwnd()) return FALSE;

    CopyBounded(m_szModuleDir, HostExecutableFolder().c_str());
    ApplyLayout();

    const std::string languageFile = std::string(m_szModuleDir) + "\\KamvioML.ini";
    if (m_lang.SetFile(languageFile.c_str())) m_lang.SetSection("Handle dialog");
    m_lang.TranslateWindow(self);
    m_lang.SetSection("Error Message");

    m_staticView = GetItem(IDC_HndlCnnDlg_View);
    const bool wantedRect = !IsRectEmpty(&m_rcWnd);
    const int width = m_rcWnd.right - m_rcWnd.left, height = m_rcWnd.bottom - m_rcWnd.top;
    if (m_bModal || m_para.showControls) {
        ShowControls(SW_SHOW);
        if (wantedRect) MoveWindow(self, m_rcWnd.left, m_rcWnd.top, width, height, TRUE);
        if (RefreshSources()) EnableItem(IDC_HandleCanonDlg_SourceCmb, TRUE);
    } else {
        ShowControls(SW_HIDE);
        if (wantedRect) {
            MoveWindow(self, m_rcWnd.left, m_rcWnd.top, width, height, TRUE);
            if (m_staticView) MoveWindow(m_staticView, 0, 0, width, height, TRUE);
        }
    }

    EnableControls(FALSE);
    CreateSurfaces();
    return TRUE;
}

void CameraDialog::OnDestroy() {
    OnDisconnect();
    // The settings dialog may be running modally right now (PopSettingDlg): it ends first.
    DialogBase::Retire(m_pSettingDlg.release());
    m_frameDrawer.Release();
    m_dcView.Reset();
    m_camera.End();
    SaveLayout();
    ResetOverlays();
    m_font.reset();
    m_staticView = nullptr;
}

void CameraDialog::OnOK() {
    if (m_bModal) EndDialog(IDOK);
}

void CameraDialog::OnCancel() {
    if (m_bModal) EndDialog(IDCANCEL);
}

// ---------------------------------------------------------------------------------------------
// Internal operations

BOOL CameraDialog::RefreshSources() {
    ComboReset(IDC_HandleCanonDlg_SourceCmb);
    uint32_t count = 0;
    BOOL ok = m_camera.GetAllCameraSourceInfo(m_sources, &count);
    if (ok) {
        if (count > kMaxSources) count = kMaxSources;
        for (uint32_t i = 0; i < count; ++i) {
            int index = ComboAdd(IDC_HandleCanonDlg_SourceCmb, SourceName(m_sources[i]).c_str());
            ComboSetData(IDC_HandleCanonDlg_SourceCmb, index, reinterpret_cast<LPARAM>(&m_sources[i]));
        }
    } else {
        int index = ComboAdd(IDC_HandleCanonDlg_SourceCmb, "None");
        ComboSetData(IDC_HandleCanonDlg_SourceCmb, index, 0);
    }
    ComboSetSel(IDC_HandleCanonDlg_SourceCmb, 0);
    return ok ? TRUE : FALSE;
}

void CameraDialog::ShowControls(int command) {
    for (int id : kPanelBeforeOk) ShowItem(id, command);
    if (m_bModal) ShowItem(IDOK, command);
    for (int id : kPanelAfterOk) ShowItem(id, command);
}

void CameraDialog::EnableControls(BOOL enable) {
    for (int id : kCameraControls) EnableItem(id, enable);
}

BOOL CameraDialog::InitZoomSlider() {
    uint32_t first = 0, second = 0;
    if (!m_camera.GetMaxZoomPos(&first, &second)) return FALSE;
    HWND slider = GetItem(IDC_HndlCnnDlg_ZomSldr);
    if (!slider) return TRUE;
    SendMessageA(slider, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageA(slider, TBM_SETRANGEMAX, TRUE, static_cast<LPARAM>(first));
    uint32_t position = 0;
    if (m_camera.GetCurrentZoomPos(&position)) SendMessageA(slider, TBM_SETPOS, TRUE, static_cast<LPARAM>(position));
    return TRUE;
}

void CameraDialog::ResetViewfinderControls() {
    SetItemText(IDC_HndlCnnDlg_ViewFinder, m_lang.Translate("View On").c_str());
    SetItemCheck(IDC_HndlCnnDlg_ToLCD, FALSE);
}

// ---------------------------------------------------------------------------------------------
// Buttons

BOOL CameraDialog::OnCommand(WORD id, WORD code, HWND control) {
    if (code != BN_CLICKED) return FALSE;
    switch (id) {
    case IDC_HandleCanonDlg_Connect: OnConnect(); return TRUE;
    case IDC_HandleCanonDlg_DisCnect: OnDisconnect(); return TRUE;
    case IDC_HandleCanonDlg_Release: OnRelease(); return TRUE;
    case IDC_HndlCnnDlg_ViewFinder: OnViewfinder(); return TRUE;
    case IDC_HndlCnnDlg_TestShoot: m_camera.PauseViewfinder(2); return TRUE;
    case IDC_HndlCnnDlg_Setting: OnCameraSetting(); return TRUE;
    case IDC_HndlCnnDlg_ToLCD: m_camera.ViewToLCD(IsItemChecked(IDC_HndlCnnDlg_ToLCD)); return TRUE;
    case IDC_BtnSearch: RefreshSources(); return TRUE;
    default: return FALSE;
    }
}

void CameraDialog::OnConnect() {
    const int selection = ComboGetSel(IDC_HandleCanonDlg_SourceCmb);
    const LPARAM data = ComboGetData(IDC_HandleCanonDlg_SourceCmb, selection);
    if (data == 0 || data == CB_ERR) return;
    const auto* source = reinterpret_cast<const SourceInfo*>(data);
    m_strSource = SourceName(*source);
    m_camera.SetBatteryLow(false);
    EnableItem(IDC_HandleCanonDlg_Connect, FALSE);
    const BOOL connected = m_camera.Connect(source);
    if (connected) {
        ApplyIniSettings();
        InitZoomSlider();
        EnableControls(TRUE);
    }
    EnableItem(IDC_HandleCanonDlg_Connect, !connected);
}

void CameraDialog::OnDisconnect() {
    CloseSettingDlg();
    m_camera.Disconnect();
    ResetPanel();
}

void CameraDialog::ResetPanel() {
    // The viewfinder went with the camera: a later Viewfinder click must start it again.
    m_bViewStarted = FALSE;
    m_bViewShown = FALSE;
    Repaint();
    EnableControls(FALSE);
    EnableItem(IDC_HandleCanonDlg_Connect, TRUE);
    ResetViewfinderControls();
}

void CameraDialog::OnRelease() {
    EnableItem(IDC_HandleCanonDlg_Release, FALSE);
    m_camera.Release();
    EnableItem(IDC_HandleCanonDlg_Release, TRUE);
}

void CameraDialog::OnViewfinder() {
    EnableItem(IDC_HndlCnnDlg_ViewFinder, FALSE);
    if (!m_bViewStarted) {
        if (!m_camera.BeginViewfinder()) {
            EnableItem(IDC_HndlCnnDlg_ViewFinder, TRUE);
            return;
        }
        m_bViewStarted = TRUE;
        m_bViewShown = TRUE;
    } else {
        m_bViewShown = !m_bViewShown;
    }
    Repaint();
    SetItemText(IDC_HndlCnnDlg_ViewFinder, m_lang.Translate(m_bViewShown ? "View Off" : "View On").c_str());
    EnableItem(IDC_HndlCnnDlg_ViewFinder, TRUE);
}

bool CameraDialog::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.idFrom != IDC_HndlCnnDlg_ZomSldr || header.code != static_cast<UINT>(NM_RELEASEDCAPTURE)) return false;
    OnZoomSlider(result);
    return true;
}

void CameraDialog::OnZoomSlider(LRESULT& result) {
    HWND slider = GetItem(IDC_HndlCnnDlg_ZomSldr);
    if (!slider) return;
    const auto position = static_cast<uint32_t>(SendMessageA(slider, TBM_GETPOS, 0, 0));
    uint32_t current = 0;
    if (m_camera.GetCurrentZoomPos(&current) && current == position) return;
    EnableWindow(slider, FALSE);
    if (m_camera.SetZoomPos(position)) {
        WriteDCSetting(setting_table::KeyOf(setting_table::Setting::ZoomPosition), DecimalText(position).c_str());
        result = 0;
    }
    EnableWindow(slider, TRUE);
}

// ---------------------------------------------------------------------------------------------
// Messages from the controller and the settings dialog. Each is also left to the default
// processing afterwards, which answers 0.

bool CameraDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_CAM_VIEWFINDER_ENABLE:
        // A batch that ended because the camera went away still offers the viewfinder, and its
        // message may come after the panel was reset: only a connected camera enables it.
        EnableItem(IDC_HndlCnnDlg_ViewFinder, wParam != 0 && m_camera.IsConnected());
        m_camera.NotifyViewfinderState(static_cast<uint32_t>(wParam));
        if (lParam != 0) {
            NotifyHost(m_para.msgViewfinderEnable, wParam, 0);
            if (m_pObserver && GetSafeHwnd()) m_pObserver->OnViewfinderAvailable(wParam != 0);
        }
        break;
    case WM_CAM_FRAME:
        DrawFrame(reinterpret_cast<const uint8_t*>(wParam), static_cast<size_t>(lParam));
        Repaint();
        m_camera.FrameDrawn(reinterpret_cast<const void*>(wParam));
        break;
    case WM_CAM_ZOOM_ENABLE:
        EnableItem(IDC_HndlCnnDlg_ZomSldr, wParam != 0);
        break;
    case WM_CAM_BATTERY_LOW:
        m_lang.InformationBox("Power low, please change battery ", "Kamvio", GetSafeHwnd());
        m_camera.SetBatteryLow(true);
        OnDisconnect();
        break;
    case WM_CAM_TIMER_SHOOT:
        m_camera.ShootSeries(static_cast<uint32_t>(wParam), LOWORD(lParam));
        break;
    case WM_CAM_FILE_SAVED:
        // Memory mode saves no file: the last file path stays as it was.
        if (wParam) {
            OnBatchSaved(reinterpret_cast<const char*>(wParam), {});
        } else {
            NotifyHost(m_para.msgFileSaved, 0, 0);
        }
        break;
    case WM_CAM_RELEASE_REPORT:
        OnReleaseReports();
        break;
    case WM_CAM_SHUTTER_PRESSED:
        OnRelease();
        break;
    case WM_CAM_LCD_ENABLE:
        EnableItem(IDC_HndlCnnDlg_ToLCD, wParam != 0);
        break;
    case WM_CAM_POWERED_OFF:
        OnPoweredOff(wParam == kPoweredOffWarn);
        break;
    case WM_CAM_DISCONNECT_REQUEST:
        CloseSettingDlg();
        m_camera.Disconnect();
        if (m_pObserver) m_pObserver->OnDisconnectedByCamera();
        break;
    case WM_CAM_STATUS:
        NotifyHost(m_para.msgStatus, wParam, lParam);
        break;
    case WM_CAM_VIEWFINDER_SWITCH:
        if (m_bViewShown && m_camera.BeginViewfinder()) Repaint();
        break;
    case WM_CAM_SET_SAVE_FOLDER: {
        const char* folder = reinterpret_cast<const char*>(wParam);
        if (SaveFolderUsable(folder)) m_camera.SetSaveFolder(folder);
        break;
    }
    default:
        break;
    }
    result = 0;
    return false;
}

void CameraDialog::OnPoweredOff(bool warn) {
    CloseSettingDlg();
    m_camera.OnCameraPoweredOff();
    RefreshSources();
    ResetPanel();
    // Translated before the host hears of it: it may destroy the window meanwhile.
    const std::string text = m_lang.Translate("The camera was powered off manually or by power low. ");
    const std::string caption = m_lang.Translate("Warning");
    NotifyHost(m_para.msgPoweredOff, 0, 0);
    if (m_pObserver && GetSafeHwnd()) m_pObserver->OnPoweredOff();
    // Nobody waits for the user's click: not the camera's thread, not this window's.
    if (warn) ShowNoticeLater(text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
}

void CameraDialog::OnReleaseReports() {
    ReleaseReport report;
    // A host may destroy the window from inside a notification: what is left goes with it.
    while (GetSafeHwnd() && m_camera.TakeReleaseReport(&report)) {
        switch (report.kind) {
        case ReleaseReport::ItemSaved:
            if (m_pObserver) m_pObserver->OnFileSaved(report.path);
            break;
        case ReleaseReport::MemoryItem:
            NotifyHost(m_para.msgFileSaved, 0, 0);
            break;
        case ReleaseReport::BatchDone:
            if (report.memory) {
                if (m_pObserver) m_pObserver->OnShotCompleted(report.files);
            } else {
                OnBatchSaved(report.path.c_str(), report.files);
            }
            break;
        }
    }
}

void CameraDialog::OnBatchSaved(const char* lastPath, const std::vector<std::string>& files) {
    // A batch that built no path saved nothing: the last file stays the last file, and the host
    // is not told of a file that does not exist.
    if (lastPath[0]) {
        WriteFilePathIni(setting_keys::kFilePathKey, std::string(lastPath, strnlen(lastPath, MAX_PATH)).c_str());
        NotifyHost(m_para.msgFileSaved, reinterpret_cast<WPARAM>(lastPath), 0);
    }
    if (m_pObserver && GetSafeHwnd()) m_pObserver->OnShotCompleted(files);
}
