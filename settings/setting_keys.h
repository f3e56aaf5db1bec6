// Names in the per-camera settings file SetData.ini and the last-file record FilePath.ini.
// The spellings are the files' own and must not be corrected: existing files use them.
#pragma once

#include <cstddef>

namespace setting_keys {

constexpr char kSetDataFile[] = "SetData.ini";
constexpr char kFilePathFile[] = "FilePath.ini";
constexpr char kSectionSuffix[] = "Setting";  // section = camera name + suffix
constexpr char kFinishedSection[] = "FINISHED";
constexpr char kFilePathKey[] = "File Path";

constexpr char kSize[] = "Size";
constexpr char kQuality[] = "Quality";
constexpr char kWhiteBalance[] = "White Balence";
constexpr char kExposureCompensation[] = "Exposal Compensation";
constexpr char kFlash[] = "Flash";
constexpr char kShootingMode[] = "Shooting Mode";
constexpr char kTv[] = "TV";
constexpr char kAv[] = "AV";
constexpr char kIsoSpeed[] = "ISO Speed";
constexpr char kMeteringMode[] = "Metering Mode";
constexpr char kPhotoEffect[] = "Photo Effect";
constexpr char kOwnerName[] = "Owner Name";
constexpr char kMacro[] = "Macro";
constexpr char kFocusingPoint[] = "Foucsing Point";
constexpr char kAfLight[] = "AF Light";
constexpr char kZoomPos[] = "Zoom Pos";
constexpr char kSavePath[] = "Save Path";

// Every stored value is read into a buffer of this many characters (terminator included).
constexpr size_t kValueBufferSize = 260;

}  // namespace setting_keys
