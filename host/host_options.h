// The demo host's command line. Plain C++: also built and tested natively.
#pragma once

#include <string>
#include <vector>

struct HostOptions {
    bool scripted = false;  // --shoot N: headless run, else the interactive window
    int shots = 0;
    std::string outFolder;  // --out DIR (default: "images" beside the executable)
    // How the interactive window starts (the documentation's screenshots are taken this way).
    bool liveOnly = false;     // --live-only: the camera window shows the live view alone
    bool view = false;         // --view: connect the first camera, live view with frame and guide lines
    bool settings = false;     // --settings: connect the first camera and open the settings dialog
    bool printWindow = false;  // --print-window: once settled, print the rectangle worth capturing
    std::string error;         // non-empty: the command line was refused, with this reason
};

HostOptions ParseHostOptions(const std::vector<std::string>& args);
const char* HostUsage();
