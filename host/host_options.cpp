#include "host/host_options.h"

#include <cstdlib>

namespace {

bool ParseCount(const std::string& text, int* value) {
    if (text.empty() || text.size() > 4) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    *value = std::atoi(text.c_str());
    return *value >= 1 && *value <= 999;
}

// The switches of the interactive window.
const struct {
    const char* name;
    bool HostOptions::*flag;
} kWindowSwitches[] = {
    {"--live-only", &HostOptions::liveOnly},
    {"--view", &HostOptions::view},
    {"--settings", &HostOptions::settings},
    {"--print-window", &HostOptions::printWindow},
};

}  // namespace

HostOptions ParseHostOptions(const std::vector<std::string>& args) {
    HostOptions options;
    bool windowSwitch = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool hasValue = i + 1 < args.size();
        bool known = false;
        for (const auto& s : kWindowSwitches)
            if (arg == s.name) known = windowSwitch = options.*s.flag = true;
        if (known) continue;
        if (arg == "--shoot") {
            if (!hasValue || !ParseCount(args[++i], &options.shots)) {
                options.error = "--shoot needs a number of photos from 1 to 999";
                return options;
            }
            options.scripted = true;
        } else if (arg == "--out") {
            if (!hasValue || args[i + 1].empty()) {
                options.error = "--out needs a folder";
                return options;
            }
            options.outFolder = args[++i];
        } else {
            options.error = "unknown argument: " + arg;
            return options;
        }
    }
    if (!options.outFolder.empty() && !options.scripted) options.error = "--out belongs to --shoot";
    if (windowSwitch && options.scripted) options.error = "--shoot runs without the window and its switches";
    // The settings dialog opens from the camera window's own button, hidden in live-view-only mode.
    if (options.settings && options.liveOnly) options.error = "--settings needs the camera panel, not --live-only";
    return options;
}

const char* HostUsage() {
    return "usage: KamvioHost [--live-only] [--view | --settings] [--print-window]\n"
           "                                        the interactive demo window\n"
           "       KamvioHost --shoot N [--out DIR]  connect to the first camera, take N photos into DIR\n"
           "  --live-only     the camera window shows the live view alone, without its buttons\n"
           "  --view          connect the first camera and start the live view with a passport frame\n"
           "                  and guide lines at the thirds\n"
           "  --settings      connect the first camera and open the settings dialog\n"
           "  --print-window  once settled, print \"window X Y W H\": the screen rectangle of the camera\n"
           "                  window (of the settings dialog with --settings)\n";
}
