// The demo host's command line (plain C++, also run natively under the sanitizers).
#include <gtest/gtest.h>

#include "host/host_options.h"

namespace {

TEST(HostOptions, NoArgumentsOpenTheWindow) {
    HostOptions o = ParseHostOptions({});
    EXPECT_FALSE(o.scripted);
    EXPECT_TRUE(o.error.empty());
}

TEST(HostOptions, ShootTakesACountAndAnOptionalFolder) {
    HostOptions o = ParseHostOptions({"--shoot", "3", "--out", "C:\\pics"});
    EXPECT_TRUE(o.scripted);
    EXPECT_EQ(3, o.shots);
    EXPECT_EQ("C:\\pics", o.outFolder);
    EXPECT_TRUE(o.error.empty());
    o = ParseHostOptions({"--out", "x", "--shoot", "999"});
    EXPECT_EQ(999, o.shots);
    EXPECT_TRUE(o.error.empty());
}

TEST(HostOptions, RefusesBadCountsMissingValuesAndStrayArguments) {
    for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
             {"--shoot"}, {"--shoot", "0"}, {"--shoot", "-1"}, {"--shoot", "1000"}, {"--shoot", "3x"},
             {"--shoot", "99999999999999999999"}, {"--shoot", "2", "--out"}, {"--shoot", "2", "--out", ""},
             {"--out", "dir"}, {"--verbose"}}) {
        HostOptions o = ParseHostOptions(args);
        EXPECT_FALSE(o.error.empty()) << args.size() << " " << args.back();
    }
}

}  // namespace
