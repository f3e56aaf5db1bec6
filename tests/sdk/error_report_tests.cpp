#include <gtest/gtest.h>

#include "sdk/error_report.h"
#include "tests/common/test_support.h"

using test_support::TakeMessageBoxes;

TEST(ErrorReport, IsSilentAndReportsItsArguments) {
    TakeMessageBoxes();
    EXPECT_TRUE(ReportSdkError(0, nullptr));
    EXPECT_TRUE(ReportSdkError(0x81, "Connect"));
    EXPECT_TRUE(ReportSdkError(0xFFFF, "Begin"));
    EXPECT_FALSE(ReportSdkError(0x81, nullptr));
    test_support::PumpFor(50);
    EXPECT_TRUE(TakeMessageBoxes().empty());
}

TEST(ErrorReport, ShowMessageWithoutLanguageFileShowsTheWordsAsGiven) {
    TakeMessageBoxes();
    DeleteFileA((test_support::ExeFolder() + "\\KamvioML.ini").c_str());
    EXPECT_TRUE(ShowMessage("Begin", "API Error"));
    auto boxes = TakeMessageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Begin", boxes[0].caption);
    EXPECT_EQ("API Error", boxes[0].text);
}
