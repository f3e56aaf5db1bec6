// The demo host's command line. Plain C++: also built and tested natively.
#pragma once

#include <string>
#include <vector>

struct HostOptions {
    bool scripted = false;  // --shoot N: headless run, else the interactive window
    int shots = 0;
    std::string outFolder;  // --out DIR (default: "images" beside the executable)
    std::string error;      // non-empty: the command line was refused, with this reason
};

HostOptions ParseHostOptions(const std::vector<std::string>& args);
const char* HostUsage();
