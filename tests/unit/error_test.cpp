#include "toolkit/Error.h"
#include "toolkit/Paths.h"

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

TEST(PathText, FolderPartKeepsTheDriveRootAndDropsOtherSeparators) {
    EXPECT_EQ(tk::folderPart("C:\\mame\\mame.exe"), "C:\\mame");
    EXPECT_EQ(tk::folderPart("C:\\mame.exe"), "C:\\");
    EXPECT_EQ(tk::folderPart("C:mame.exe"), "C:");
    EXPECT_EQ(tk::folderPart("mame.exe"), "");
    EXPECT_EQ(tk::folderPart("\\mame.exe"), "\\");
    EXPECT_EQ(tk::folderPart("C:\\mame\\"), "C:\\mame");
    EXPECT_EQ(tk::folderPart("\\\\server\\share\\mame.exe"), "\\\\server\\share");
}

TEST(PathText, BaseNameAndExtensionSwapUseTheLastDotOfTheFileName) {
    EXPECT_EQ(tk::baseName("pacman.zip"), "pacman");
    EXPECT_EQ(tk::baseName("a.b.zip"), "a.b");
    EXPECT_EQ(tk::baseName("README"), "README");
    EXPECT_EQ(tk::changeExtension("C:\\mame\\mame.exe", ".ini"), "C:\\mame\\mame.ini");
    EXPECT_EQ(tk::changeExtension("C:\\mame\\mame", ".cfg"), "C:\\mame\\mame.cfg");
    EXPECT_EQ(tk::changeExtension("C:\\my.games\\mame", ".ini"), "C:\\my.games\\mame.ini");
}
