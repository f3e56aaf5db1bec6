// Resource and control identifiers shared by the templates and the code.
#pragma once

// Camera window (template 201).
#define IDD_HANDLE_CANON_DLG 201

#define IDC_HandleCanonDlg_Connect 201
#define IDC_HandleCanonDlg_DisCnect 202
#define IDC_HndlCnnDlg_ZomSldr 203
#define IDC_HandleCanonDlg_Release 204
#define IDC_HndlCnnDlg_ViewFinder 205
#define IDC_HndlCnnDlg_TestShoot 210
#define IDC_HandleCanonDlg_SourceCmb 211
#define IDC_HndlCnnDlg_Setting 212
#define IDC_HndlCnnDlg_View 213
#define IDC_HndlCnnDlg_ZoomLabel 237
#define IDC_HndlCnnDlg_ToLCD 241
#define IDC_BtnSearch 244
