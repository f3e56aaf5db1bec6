// Control ids of the settings dialog (template 202).
#pragma once

#define IDD_SETTING_DIALOG 202

#define IDC_GrpSizeQuality 215
#define IDC_GrpTimeOwner 216
#define IDC_GrpBasicShoot 217
#define IDC_GrpTvAv 231
#define IDC_GrpTimer 232
#define IDC_LblTotal 236
#define IDC_EdtSavePath 239
#define IDC_BtnBrowse 240

#define IDC_DateCamera 1009
#define IDC_TimeCamera 1011
#define IDC_EdtOwnerName 1012
#define IDC_CmbWB 1014
#define IDC_CmbExpComp 1015
#define IDC_CmbSizeQuality 1016
#define IDC_CmbFlash 1017
#define IDC_CmbMetering 1018
#define IDC_CmbColorTemp 1019
#define IDC_CmbFlashQuality 1020
#define IDC_CmbISO 1021
#define IDC_CmbParameter 1022
#define IDC_CmbPhotoEffect 1023
#define IDC_RdoProgramAE 1024
#define IDC_RdoManual 1025
#define IDC_RdoAperturePriority 1026
#define IDC_RdoShutterPriority 1027
#define IDC_CmbAv 1028
#define IDC_CmbTv 1029
#define IDC_CmbAFLight 1030
#define IDC_CmbFocusingPoint 1035
#define IDC_CmbMacro 1036
#define IDC_BtnAFLock 1037
#define IDC_LblAFEffective 1039
#define IDC_EdtIntervalMin 1040
#define IDC_EdtIntervalSec 1041
#define IDC_EdtTotal 1042
#define IDC_BtnTimerStart 1043
