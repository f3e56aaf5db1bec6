// Location of SetData.ini and FilePath.ini, and the reading and writing of one key.
#pragma once

#include <windows.h>

#include <string>

namespace settings_file {

// "<folder>\SetData.ini"; empty when the folder is unknown (empty).
std::string SetDataPath(const std::string& folder);
// "<folder>\FilePath.ini"; empty when the folder is unknown.
std::string FilePathIniPath(const std::string& folder);
// "<camera name>Setting".
std::string SectionOf(const std::string& cameraName);

// Reads `key` into `buffer` (always terminated); the length read, 0 when absent or empty.
size_t ReadKey(const std::string& path, const std::string& section, const char* key, char* buffer, size_t size);
// Writes one key; non-zero on success, 0 when the path is empty or the write failed.
BOOL WriteKey(const std::string& path, const std::string& section, const char* key, const char* value);

}  // namespace settings_file
