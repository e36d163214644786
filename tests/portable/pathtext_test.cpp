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

// In the system code page 932 the second byte of "表" is a backslash; in
// UTF-8 no byte of a multi-byte character is ASCII, so no rule splits one.
TEST(PathText, NamesInAnyLettersAreNeverSplitInsideACharacter) {
    const std::string games = "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B";             // Игры
    const std::string table = "\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0\xE8\xA1\xA8"; // ゲーム表
    const std::string pad = "\xF0\x9F\x8E\xAE";                                   // 🎮
    const std::string mame = games + "\\" + table + "\\" + pad + "\\mame.exe";
    EXPECT_EQ(tk::folderPart(mame), games + "\\" + table + "\\" + pad);
    EXPECT_EQ(tk::folderPart(games + "\\" + table), games);
    EXPECT_EQ(tk::changeExtension(mame, ".ini"), games + "\\" + table + "\\" + pad + "\\mame.ini");
    EXPECT_EQ(tk::changeExtension(games + "\\" + table, ".ini"), games + "\\" + table + ".ini");
    EXPECT_EQ(tk::baseName(table + ".zip"), table);
    EXPECT_EQ(tk::resolvedPath(games, table + ";" + pad), games + "\\" + table + ";" + pad);

    // The temporary name drops the last character whole, whatever its length.
    EXPECT_EQ(tk::temporarySibling(games + "\\" + table),
              games + "\\~\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0");
    EXPECT_EQ(tk::temporarySibling(games + "\\a" + pad), games + "\\~a");
    EXPECT_EQ(tk::temporarySibling(games + "\\" + pad), games + "\\~");
    EXPECT_EQ(tk::temporarySibling(games + "\\keston.ini"), games + "\\~keston.in");
}
