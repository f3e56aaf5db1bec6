#include <gtest/gtest.h>

#include "sdk/error_report.h"
#include "tests/common/test_support.h"

using test_support::TakeMessageBoxes;

TEST(ErrorReport, IsSilentAndReportsItsArgumentsAndShowMessageShowsTheWordsAsGiven) {
    TakeMessageBoxes();
    EXPECT_EQ((std::vector<BOOL>{TRUE, TRUE, TRUE, FALSE}),
              (std::vector<BOOL>{ReportSdkError(0, nullptr), ReportSdkError(0x81, "Connect"), ReportSdkError(0xFFFF, "Begin"),
                                 ReportSdkError(0x81, nullptr)}));
    test_support::PumpFor(50);
    EXPECT_TRUE(TakeMessageBoxes().empty());
    DeleteFileA((test_support::ExeFolder() + "\\KamvioML.ini").c_str());  // no language file
    EXPECT_TRUE(ShowMessage("Begin", "API Error"));
    auto boxes = TakeMessageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Begin/API Error", boxes[0].caption + "/" + boxes[0].text);
}
