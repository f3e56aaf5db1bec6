// Window messages between the camera controller, the settings dialog and the camera dialog.
#pragma once

#include <windows.h>

enum : UINT {
    WM_CAM_VIEWFINDER_ENABLE = 0x2B10,   // posted; wParam 1/0 available; lParam non-zero: tell the host
    // Posted; wParam frame address, lParam its size in bytes (0: an empty frame, nothing drawn).
    // The frame belongs to the controller and stays as it is until the window calls FrameDrawn.
    WM_CAM_FRAME = 0x2B11,
    WM_CAM_ZOOM_ENABLE = 0x2B12,         // sent; wParam 1/0
    WM_CAM_BATTERY_LOW = 0x2B13,
    WM_CAM_TIMER_SHOOT = 0x2B14,         // sent by the settings dialog; wParam seconds, lParam count
    WM_CAM_FILE_SAVED = 0x2B15,          // sent; wParam path or 0
    WM_CAM_SHUTTER_PRESSED = 0x2B16,     // posted
    WM_CAM_LCD_ENABLE = 0x2B17,          // sent; wParam 1/0
    WM_CAM_POWERED_OFF = 0x2B1A,         // posted; wParam kPoweredOffWarn when the camera said so itself
    WM_CAM_DISCONNECT_REQUEST = 0x2B1B,  // posted
    WM_CAM_STATUS = 0x2B1C,              // sent; wParam 1/0, lParam camera name
    WM_CAM_VIEWFINDER_SWITCH = 0x2B1D,
    WM_CAM_RELEASE_REPORT = 0x2B1E,      // posted by the release thread: reports wait in the controller
    WM_CAM_SET_SAVE_FOLDER = 30001,      // sent by the settings dialog; wParam folder path
};

// wParam of WM_CAM_POWERED_OFF from the SDK's shutdown event: the user is warned once the window
// has reset itself.
constexpr WPARAM kPoweredOffWarn = 1;
