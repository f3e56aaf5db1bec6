// The demo host's command line (plain C++, also run natively under the sanitizers).
#include <gtest/gtest.h>

#include "host/host_options.h"

namespace {

TEST(HostOptions, AcceptsTheWindowOrACountedShootWithAnOptionalFolderAndRefusesTheRest) {
    // shots 0: the interactive window, -1: refused
    const struct { std::vector<std::string> args; int shots; std::string folder; } cases[] = {
        {{}, 0, ""}, {{"--shoot", "3", "--out", "C:\\pics"}, 3, "C:\\pics"}, {{"--out", "x", "--shoot", "999"}, 999, "x"},
        {{"--shoot", "1"}, 1, ""}, {{"--shoot"}, -1, ""}, {{"--shoot", "0"}, -1, ""}, {{"--shoot", "-1"}, -1, ""},
        {{"--shoot", "1000"}, -1, ""}, {{"--shoot", "3x"}, -1, ""}, {{"--shoot", "99999999999999999999"}, -1, ""},
        {{"--shoot", "2", "--out"}, -1, ""}, {{"--shoot", "2", "--out", ""}, -1, ""}, {{"--out", "dir"}, -1, ""},
        {{"--verbose"}, -1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        HostOptions o = ParseHostOptions(c.args);
        EXPECT_EQ(c.shots < 0, !o.error.empty()) << o.error;
        if (c.shots < 0) continue;
        EXPECT_EQ(c.shots > 0, o.scripted);
        EXPECT_EQ(c.shots, o.shots);
        EXPECT_EQ(c.folder, o.outFolder);
    }
}

TEST(HostOptions, WindowSwitchesGoWithTheWindowOnlyAndTheSettingsDialogNeedsThePanel) {
    // expected flags as "live view settings print", or "refused"
    const struct { std::vector<std::string> args; std::string flags; } cases[] = {
        {{"--view"}, "0100"}, {{"--live-only", "--view", "--print-window"}, "1101"}, {{"--settings"}, "0010"},
        {{"--print-window", "--settings", "--view"}, "0111"}, {{"--settings", "--live-only"}, "refused"},
        {{"--shoot", "2", "--view"}, "refused"}, {{"--print-window", "--shoot", "1"}, "refused"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        HostOptions o = ParseHostOptions(c.args);
        std::string flags = {char('0' + o.liveOnly), char('0' + o.view), char('0' + o.settings), char('0' + o.printWindow)};
        EXPECT_EQ(c.flags, o.error.empty() ? flags : "refused") << o.error;
        EXPECT_FALSE(o.scripted && o.error.empty());
    }
}

}  // namespace
