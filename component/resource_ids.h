// Resource numbers of the component module (used by the resource script and the code).
#pragma once

#define IDS_PROJNAME 100
#define IDS_OVCANONSDK_DESC 102
#define IDR_OVCANONSDK 103
#define IDR_KAMVIOCAMERA 104
#define IDS_KAMVIOCAMERA_DESC 105
