#include "tests/common/sim_access.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/handles.h"
#include "tests/common/test_support.h"

SimApi& Sim() {
    static SimApi api;
    static const bool loaded = api.Load();  // the copy beside the program, kept loaded for the whole run
    if (!loaded) ADD_FAILURE() << "CDSDK.dll beside the test lacks the control exports";
    return api;
}

std::vector<SimCall> SimCalls(const char* entry) {
    std::vector<SimCall> calls(Sim().SimLogCount());
    for (uint32_t i = 0; i < calls.size(); ++i) Sim().SimLogGet(i, &calls[i]);
    calls.erase(std::remove_if(calls.begin(), calls.end(), [&](const SimCall& c) { return entry && strcmp(c.name, entry); }),
                calls.end());
    return calls;
}

std::string CallLog(DWORD thread) {
    std::string text;
    for (const SimCall& c : SimCalls())
        if (!thread || c.threadId == thread) text += (text.empty() ? "" : " ") + std::string(c.name);
    return text;
}

std::string Violations() {
    std::string text;
    for (uint32_t i = 0; i < Sim().SimViolationCount(); ++i) {
        char line[512] = {};
        Sim().SimViolationGet(i, line, sizeof line);
        text += line + std::string("\n");
    }
    return text;
}

std::string Boxes() {
    std::string text;
    for (const auto& box : test_support::TakeMessageBoxes()) text += box.caption + ": " + box.text + "\n";
    return text;
}

void FreshCamera(const char* config) {
    for (const char* name : {"KamvioPos.ini", "SetData.ini", "FilePath.ini", "KamvioML.ini"}) {
        SetFileAttributesA(test_support::TestFile(name).c_str(), FILE_ATTRIBUTE_NORMAL);  // a test made it read-only
        DeleteFileA(test_support::TestFile(name).c_str());
    }
    Sim().SimReset();
    if (config && !Sim().SimLoadConfigText(config)) ADD_FAILURE() << "configuration refused: " << config;
    test_support::ClearMessageBoxes();
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &data));
    for (bool more = static_cast<bool>(find); more; more = FindNextFileA(find.get(), &data))
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    std::sort(names.begin(), names.end());
    return names;
}

std::string EmptyFolder(const std::string& name) {
    const std::string folder = test_support::TestFile(name);
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const std::string& file : FilesIn(folder)) DeleteFileA((folder + "\\" + file).c_str());
    return folder;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
