// Names of the settings files and of FilePath.ini's key; the keys of SetData.ini are in the
// settings table (setting_table.h). The spellings are the files' own: existing files use them.
#pragma once

#include <cstddef>

namespace setting_keys {

constexpr char kSetDataFile[] = "SetData.ini";
constexpr char kFilePathFile[] = "FilePath.ini";
constexpr char kSectionSuffix[] = "Setting";  // section = camera name + suffix
constexpr char kFinishedSection[] = "FINISHED";
constexpr char kFilePathKey[] = "File Path";

// Every stored value is read into a buffer of this many characters (terminator included).
constexpr size_t kValueBufferSize = 260;

}  // namespace setting_keys
