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

// A user's own "~keston.in" or "keston.ini.bak" must never look like a
// leftover of ours, and the name must stay within one name's 255 UTF-16 units.
TEST(PathText, TheTemporarySiblingBearsATagNoUserGivesAndFitsTheNameLimit) {
    const std::string tag = ".~writing-8d2e4a1c";
    EXPECT_EQ(tk::temporarySibling("C:\\KESTON\\keston.ini"), "C:\\KESTON\\keston.ini" + tag);
    EXPECT_EQ(tk::temporarySibling("C:mame.ini"), "C:mame.ini" + tag);
    EXPECT_EQ(tk::temporarySibling("mame.cfg"), "mame.cfg" + tag);
    EXPECT_EQ(tk::temporarySibling("\\\\server\\share\\mame.cfg"),
              "\\\\server\\share\\mame.cfg" + tag);

    const std::string folder = "C:\\" + std::string(300, 'f');
    const std::string longest = folder + "\\" + std::string(255, 'n');
    EXPECT_EQ(tk::temporarySibling(longest),
              folder + "\\" + std::string(255 - tag.size(), 'n') + tag);
    const std::string fits = folder + "\\" + std::string(255 - tag.size(), 'n');
    EXPECT_EQ(tk::temporarySibling(fits), fits + tag);
}

TEST(PathText, LongPathFormsLiftTheLimitOfFullPathsOnly) {
    EXPECT_EQ(tk::longPathForm("C:\\mame\\mame.ini"), "\\\\?\\C:\\mame\\mame.ini");
    EXPECT_EQ(tk::longPathForm("\\\\server\\share\\keston.ini"),
              "\\\\?\\UNC\\server\\share\\keston.ini");
    for (const char* kept : {"\\\\?\\C:\\mame.ini", "\\\\?\\UNC\\server\\share\\x", "\\\\.\\COM1",
                             "mame.ini", "C:mame.ini", "\\mame.ini", ""})
        EXPECT_EQ(tk::longPathForm(kept), kept);
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

    // A name cut to take the tag loses its last characters whole, an emoji
    // counting two UTF-16 units.
    const std::string tag = ".~writing-8d2e4a1c";
    std::string emojis;
    for (int i = 0; i < 127; ++i)
        emojis += pad;
    const std::string cut = emojis.substr(0, (255 - tag.size()) / 2 * pad.size());
    EXPECT_EQ(tk::temporarySibling(games + "\\" + emojis + "x"), games + "\\" + cut + tag);
    EXPECT_EQ(tk::temporarySibling(games + "\\" + table), games + "\\" + table + tag);
}
