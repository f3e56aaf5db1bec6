#include "platform/profile_file.h"

DWORD ReadProfileText(const char* file, const char* section, const char* key, char* buffer, DWORD size) {
    if (!buffer || size == 0) return 0;
    buffer[0] = '\0';
    if (!file || !section || !key) return 0;
    DWORD length = GetPrivateProfileStringA(section, key, "", buffer, size, file);
    buffer[size - 1] = '\0';
    return length < size ? length : size - 1;
}

std::string ReadProfileText(const std::string& file, const std::string& section, const std::string& key) {
    char buffer[MAX_PATH] = {};
    DWORD length = ReadProfileText(file.c_str(), section.c_str(), key.c_str(), buffer, MAX_PATH);
    return std::string(buffer, length);
}

BOOL WriteProfileText(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

std::string ProfilePath(const std::string& folder, const char* fileName) {
    return folder + "\\" + (fileName ? fileName : "");
}
