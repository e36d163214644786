#include "toolkit/files/PathText.h"

#include <gtest/gtest.h>

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

TEST(PathText, TheTemporarySiblingIsNeverLongerThanItsFile) {
    EXPECT_EQ(tk::temporarySibling("C:\\KESTON\\keston.ini"), "C:\\KESTON\\~keston.in");
    EXPECT_EQ(tk::temporarySibling("C:mame.ini"), "C:~mame.in");
    EXPECT_EQ(tk::temporarySibling("mame.cfg"), "~mame.cf");
    const std::string longest = "C:\\" + std::string(245, 'f') + "\\keston.ini";
    ASSERT_EQ(longest.size(), 259u);
    EXPECT_EQ(tk::temporarySibling(longest).size(), longest.size());
    EXPECT_NE(tk::temporarySibling("C:\\x.ini"), "C:\\x.ini");
}

TEST(PathText, APathIsResolvedAgainstItsBaseUnlessItNamesItsOwnDriveOrServer) {
    EXPECT_EQ(tk::resolvedPath("C:\\mame", "roms"), "C:\\mame\\roms");
    EXPECT_EQ(tk::resolvedPath("C:\\mame", ""), "C:\\mame\\");
    EXPECT_EQ(tk::resolvedPath("C:\\mame", "..\\roms"), "C:\\mame\\..\\roms");
    EXPECT_EQ(tk::resolvedPath("C:\\mame", "\\roms"), "C:\\roms");
    EXPECT_EQ(tk::resolvedPath("C:\\mame", "D:\\roms"), "D:\\roms");
    EXPECT_EQ(tk::resolvedPath("C:\\mame", "D:roms"), "D:roms");
    EXPECT_EQ(tk::resolvedPath("C:\\mame", "\\\\server\\roms"), "\\\\server\\roms");
    EXPECT_EQ(tk::resolvedPath("\\\\server\\mame", "roms"), "\\\\server\\mame\\roms");
}
