#include "settings/settings_file.h"

#include "platform/profile_file.h"
#include "settings/setting_keys.h"

namespace settings_file {

std::string SetDataPath(const std::string& folder) {
    return folder.empty() ? std::string() : ProfilePath(folder, setting_keys::kSetDataFile);
}

std::string FilePathIniPath(const std::string& folder) {
    return folder.empty() ? std::string() : ProfilePath(folder, setting_keys::kFilePathFile);
}

std::string SectionOf(const std::string& cameraName) { return cameraName + setting_keys::kSectionSuffix; }

size_t ReadKey(const std::string& path, const std::string& section, const char* key, char* buffer, size_t size) {
    if (!buffer || size == 0) return 0;
    buffer[0] = '\0';
    if (path.empty() || !key) return 0;
    const DWORD room = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
    return ReadProfileText(path.c_str(), section.c_str(), key, buffer, room);
}

BOOL WriteKey(const std::string& path, const std::string& section, const char* key, const char* value) {
    if (path.empty() || !key || !value) return FALSE;
    return WriteProfileText(path, section, key, value);
}

}  // namespace settings_file
