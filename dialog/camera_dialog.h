// The camera window (dialog template 201): controls, commands, controller messages, live view,
// and the operations the component's interface methods call.
#pragma once

#include <windows.h>

#include <cstdint>

#include "camera/camera_controller.h"
#include "dialog/kamvio_para.h"
#include "platform/dialog_base.h"

class CameraDialog : public DialogBase {
public:
    explicit CameraDialog(HWND parent);
    ~CameraDialog() override;

    // Window side (used by the component). DialogBase gives DoModal(), Create(parent),
    // GetSafeHwnd(), DestroyWindow(), ShowWindow().
    void SetModal(BOOL modal);                 // m_bModal
    void SetWindowRect(const RECT& rect);      // m_rcWnd, used when the window is created

    // Operations behind the interface methods: non-zero success, zero failure.
    BOOL ApplyPara(const KamvioPara* para);
    BOOL GetDeviceCounts(uint32_t* count);
    BOOL GetSouceInfo(SourceInfo* buffer, uint32_t count);
    BOOL Connect(const SourceInfo* source);
    BOOL Disconnect();
    BOOL PopSettingDlg();
    BOOL TakePhoto();
    BOOL OpenViewFinder(BOOL showView);
    BOOL OpenCameraLCDView(BOOL open);
    BOOL GetMaxZoomPos(uint32_t* maxPos, uint32_t* second);
    BOOL SetZoomPos(uint32_t position);
    BOOL GetCurrentZoomPos(uint32_t* position);
    BOOL InitDCSettingByIniFile(const char* cameraName);
    BOOL SetDestFrameSize(uint32_t width, uint32_t height);
    BOOL SetAdjustLinePos(uint32_t xCount, const uint32_t* xLines, uint32_t yCount, const uint32_t* yLines);
    BOOL IsConnected(BOOL* connected);

    // (members, handlers and drawing: added with the implementation)
};
