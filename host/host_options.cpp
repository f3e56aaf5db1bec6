#include "host/host_options.h"

#include <cerrno>
#include <cstdlib>

namespace {

bool ParseCount(const std::string& text, int* value) {
    if (text.empty() || text.size() > 4) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    *value = std::atoi(text.c_str());
    return *value >= 1 && *value <= 999;
}

}  // namespace

HostOptions ParseHostOptions(const std::vector<std::string>& args) {
    HostOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool hasValue = i + 1 < args.size();
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
    return options;
}

const char* HostUsage() {
    return "usage: KamvioHost                      the interactive demo window\n"
           "       KamvioHost --shoot N [--out DIR]  connect to the first camera, take N photos into DIR\n";
}
