#include "toolkit/base/Error.h"

#include <gtest/gtest.h>

TEST(ErrorText, InOutErrorsAreNamedByTheSystemsNumber) {
    EXPECT_EQ(tk::InOutError(2).what(), std::string("File not found"));
    EXPECT_EQ(tk::InOutError(3).what(), std::string("Invalid filename"));
    EXPECT_EQ(tk::InOutError(4).what(), std::string("Too many open files"));
    EXPECT_EQ(tk::InOutError(5).what(), std::string("File access denied"));
    EXPECT_EQ(tk::InOutError(32).what(), std::string("I/O error 32"));
}

TEST(ErrorText, ReportAppendsAFullStopOnlyAfterCharactersSortingAfterIt) {
    EXPECT_EQ(tk::errorReportText("File not found"), "File not found.");
    EXPECT_EQ(tk::errorReportText("I/O error 32"), "I/O error 32.");
    EXPECT_EQ(tk::errorReportText("Done!"), "Done!");
    EXPECT_EQ(tk::errorReportText("Cannot open file (x)"), "Cannot open file (x)");
    EXPECT_EQ(tk::errorReportText("Already."), "Already.");
    EXPECT_EQ(tk::errorReportText(""), "");
}
