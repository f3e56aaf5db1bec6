#pragma once

#include <string>

// Folder of the host process's executable (never this DLL's own), no trailing backslash.
std::string HostExecutableFolder();
