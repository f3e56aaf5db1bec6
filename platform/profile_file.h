// Private-profile (INI file) access with bounded buffers.
#pragma once

#include <windows.h>

#include <string>

// Reads `key` with an empty default into `buffer` (capacity `size` characters, terminator
// included; always terminated). Returns the length read, 0 when the key or file is absent.
DWORD ReadProfileText(const char* file, const char* section, const char* key, char* buffer, DWORD size);

// The same into a string, at most 259 characters.
std::string ReadProfileText(const std::string& file, const std::string& section, const std::string& key);

// Writes (and creates file and section when needed); non-zero on success.
BOOL WriteProfileText(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value);

// folder + "\" + name, the way every settings file is located.
std::string ProfilePath(const std::string& folder, const char* fileName);
