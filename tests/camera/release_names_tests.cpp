#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "camera/release_names.h"

namespace {

TEST(ReleaseNames, KindsGiveTheirPrefixAndExtension) {
    struct Case {
        uint32_t kind;
        uint8_t format;
        const char* prefix;
        const char* extension;
    } cases[] = {
        {0x10, 1, "TH", "JPG"}, {0x10, 2, "TH", "JPG"},  // a thumbnail is always a JPEG
        {0x20, 1, "FV", "JPG"}, {0x20, 2, "FV", "CRW"}, {0x20, 0, "FV", "CRW"},
        {0x50, 1, "FP", "JPG"}, {0x50, 2, "FP", "JPG"},
    };
    for (const Case& c : cases) {
        ReleaseNameParts parts{nullptr, nullptr};
        ASSERT_TRUE(ReleaseNamePartsFor(c.kind, c.format, &parts)) << c.kind;
        EXPECT_STREQ(c.prefix, parts.prefix) << c.kind << "/" << int(c.format);
        EXPECT_STREQ(c.extension, parts.extension) << c.kind << "/" << int(c.format);
    }
}

TEST(ReleaseNames, OtherKindsKeepThePreviousPartsAndABatchStartsNeutral) {
    ReleaseNameParts parts{"TH", "JPG"};
    for (uint32_t kind : {0u, 0x11u, 0x30u, 0x40u, 0x51u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(ReleaseNamePartsFor(kind, 1, &parts)) << kind;
        EXPECT_STREQ("TH", parts.prefix);
        EXPECT_STREQ("JPG", parts.extension);
    }
    EXPECT_FALSE(ReleaseNamePartsFor(0x20, 1, nullptr));
    EXPECT_STREQ("", BatchStartNameParts(1).prefix);
    EXPECT_STREQ("JPG", BatchStartNameParts(1).extension);
    EXPECT_STREQ("CRW", BatchStartNameParts(2).extension);
}

TEST(ReleaseNames, TimeStampIsFourteenDigits) {
    EXPECT_EQ("20070305140809", FormatTimeStamp({2007, 3, 5, 14, 8, 9}));
    EXPECT_EQ("19991231235959", FormatTimeStamp({1999, 12, 31, 23, 59, 59}));
    EXPECT_EQ("00010101000000", FormatTimeStamp({1, 1, 1, 0, 0, 0}));
}

TEST(ReleaseNames, PathOfTheDocumentedExample) {
    char path[260];
    ASSERT_TRUE(BuildReleasePath(path, sizeof path, "c:\\Canon", {"FV", "JPG"}, "20070305140809", 12));
    EXPECT_STREQ("c:\\Canon\\FV20070305140809000012.JPG", path);
    ASSERT_TRUE(BuildReleasePath(path, sizeof path, "d:\\x", {"TH", "JPG"}, "20070305140809", 0));
    EXPECT_STREQ("d:\\x\\TH20070305140809000000.JPG", path);
    // Counters beyond six digits widen the name rather than wrap.
    ASSERT_TRUE(BuildReleasePath(path, sizeof path, "d:\\x", {"FP", "JPG"}, "20070305140809", 4000000000u));
    EXPECT_STREQ("d:\\x\\FP200703051408094000000000.JPG", path);
}

TEST(ReleaseNames, PathsBeyond259CharactersAreRefusedUntouched) {
    const std::string stamp = "20070305140809";
    // folder + "\" + "FV" + 14 + 6 + "." + "JPG" = folder + 27 characters.
    std::string fits(259 - 27, 'a');
    std::string tooLong(259 - 26, 'a');
    char path[260];
    std::memset(path, 'z', sizeof path);
    ASSERT_TRUE(BuildReleasePath(path, sizeof path, fits.c_str(), {"FV", "JPG"}, stamp, 1));
    EXPECT_EQ(259u, std::strlen(path));

    std::memset(path, 'z', sizeof path);
    EXPECT_FALSE(BuildReleasePath(path, sizeof path, tooLong.c_str(), {"FV", "JPG"}, stamp, 1));
    EXPECT_EQ('z', path[0]) << "a refused path leaves the buffer alone";
    // A folder longer than any buffer, a small buffer, null arguments.
    EXPECT_FALSE(BuildReleasePath(path, sizeof path, std::string(5000, 'b').c_str(), {"FV", "JPG"}, stamp, 1));
    char small[16];
    EXPECT_FALSE(BuildReleasePath(small, sizeof small, "c:\\Canon", {"FV", "JPG"}, stamp, 1));
    EXPECT_FALSE(BuildReleasePath(nullptr, 260, "c:\\Canon", {"FV", "JPG"}, stamp, 1));
    EXPECT_FALSE(BuildReleasePath(path, sizeof path, nullptr, {"FV", "JPG"}, stamp, 1));
    EXPECT_FALSE(BuildReleasePath(path, sizeof path, "c:\\Canon", {nullptr, "JPG"}, stamp, 1));
}

}  // namespace
