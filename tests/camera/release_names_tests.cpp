// Name building also runs natively under the sanitizers, which see any write past the buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "camera/release_names.h"

namespace {

TEST(ReleaseNames, PathsOfStampAndCounterUpTo259Characters) {
    EXPECT_EQ("00010101000000", FormatTimeStamp({1, 1, 1, 0, 0, 0}));
    const std::string stamp = FormatTimeStamp({2007, 3, 5, 14, 8, 9});
    char path[260];
    ASSERT_TRUE(BuildReleasePath(path, sizeof path, "c:\\Canon", {"FV", "JPG"}, stamp, 12));
    EXPECT_STREQ("c:\\Canon\\FV20070305140809000012.JPG", path);
    ASSERT_TRUE(BuildReleasePath(path, sizeof path, "d:\\x", {"FP", "JPG"}, stamp, 4000000000u));
    EXPECT_STREQ("d:\\x\\FP200703051408094000000000.JPG", path) << "wider, not wrapped";
    // folder + "\FV" + 14 + 6 + ".JPG" = folder + 27 characters.
    ASSERT_TRUE(BuildReleasePath(path, sizeof path, std::string(232, 'a').c_str(), {"FV", "JPG"}, stamp, 1));
    EXPECT_EQ(259u, std::strlen(path));
    std::memset(path, 'z', sizeof path);
    char small[16];
    EXPECT_EQ((std::vector<bool>(5, false)),
              (std::vector<bool>{BuildReleasePath(path, sizeof path, std::string(233, 'a').c_str(), {"FV", "JPG"}, stamp, 1),
                                 BuildReleasePath(small, sizeof small, "c:\\Canon", {"FV", "JPG"}, stamp, 1),
                                 BuildReleasePath(nullptr, 260, "c:\\Canon", {"FV", "JPG"}, stamp, 1),
                                 BuildReleasePath(path, sizeof path, nullptr, {"FV", "JPG"}, stamp, 1),
                                 BuildReleasePath(path, sizeof path, "c:\\Canon", {nullptr, "JPG"}, stamp, 1)}));
    EXPECT_EQ('z', path[0]) << "a refused path leaves the buffer alone";
    ReleaseNameParts parts{"TH", "JPG"};
    EXPECT_FALSE(ReleaseNamePartsFor(0x30, 1, &parts));
    EXPECT_FALSE(ReleaseNamePartsFor(0x20, 1, nullptr));
    EXPECT_STREQ("TH", parts.prefix) << "a kind of no name of its own keeps the previous parts";
}

}  // namespace
