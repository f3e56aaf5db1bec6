#include "platform/host_folder.h"

#include <windows.h>

std::string HostExecutableFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (char* slash = strrchr(path, '\\')) *slash = '\0';
    return path;
}
