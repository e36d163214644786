#include "toolkit/base/Error.h"

#include <gtest/gtest.h>

TEST(ErrorText, ReportAppendsAFullStopOnlyAfterCharactersSortingAfterIt) {
    EXPECT_EQ(tk::errorReportText("File not found"), "File not found.");
    EXPECT_EQ(tk::errorReportText("I/O error 32"), "I/O error 32.");
    EXPECT_EQ(tk::errorReportText("Done!"), "Done!");
    EXPECT_EQ(tk::errorReportText("Cannot open file (x)"), "Cannot open file (x)");
    EXPECT_EQ(tk::errorReportText("Already."), "Already.");
    EXPECT_EQ(tk::errorReportText(""), "");
}
