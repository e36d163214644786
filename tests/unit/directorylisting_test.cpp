#include "toolkit/files/DirectoryListing.h"
#include "toolkit/files/Paths.h"
#include "toolkit/text/CodePage.h"

#include "support/Files.h"
#include "support/ListBoxOrder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

namespace {

class Listing : public ::testing::Test {
protected:
    std::string folder(const std::string& name) { return temp.folder(name); }
    void file(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        testing_support::writeFile(path, "x");
        ASSERT_TRUE(SetFileAttributesW(tk::utf8ToWide(path).c_str(), attributes)) << path;
    }

    testing_support::TempFolder temp{"keston-listing"};
    std::string root = temp.path();
};

// What a file search finds in the folder by the listing's rules (no
// directories, hidden or system files), in a sorted list box's order: the
// listing of every name must give the same.
Names searchedInListBoxOrder(const std::string& folder) {
    Names names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(tk::utf8ToWide(tk::joinPath(folder, "*.*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes &
              (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
            names.push_back(tk::wideToUtf8(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return testing_support::sortedListBoxOrder(names);
}

TEST(NamePattern, OnlyALastComponentWithWildcardsIsAPattern) {
    auto check = [](const std::string& text, const std::string& folder,
                    std::optional<std::string> pattern) {
        tk::FolderAndPattern split = tk::splitNamePattern(text);
        EXPECT_EQ(split.folder, folder) << text;
        EXPECT_EQ(split.pattern, pattern) << text;
    };
    check("C:\\mame\\roms", "C:\\mame\\roms", std::nullopt);
    check("C:\\mame\\roms\\", "C:\\mame\\roms\\", std::nullopt);
    check("C:\\mame\\roms\\*.zip", "C:\\mame\\roms", "*.zip");
    check("C:\\mame\\roms\\pac??.*", "C:\\mame\\roms", "pac??.*");
    check("C:\\*.7z", "C:\\", "*.7z");
    check("C:*.7z", "C:", "*.7z");
    check("*.zip", "", "*.zip");
    check("C:\\what?\\roms", "C:\\what?\\roms", std::nullopt);
}

TEST_F(Listing, ADirectoryThatCanBeListedIsShownAsAFullPathAndNothingIsEntered) {
    std::string roms = folder("mame\\roms");
    folder("mame\\roms\\sub");
    const std::string started = tk::currentDirectory();
    tk::DirectorySetting setting;
    EXPECT_EQ(setting.folders(), Names{started});
    EXPECT_EQ(setting.pattern(), "*.*");

    EXPECT_TRUE(setting.setPath(roms + "\\"));
    EXPECT_EQ(setting.folders(), Names{roms});
    // The shown directory is the base of a relative one.
    EXPECT_TRUE(setting.setPath("sub"));
    EXPECT_EQ(setting.folders(), Names{roms + "\\sub"});
    EXPECT_TRUE(setting.setPath("..\\..\\roms"));
    EXPECT_EQ(setting.folders(), Names{roms});

    // Missing directories and files leave everything as it was.
    EXPECT_FALSE(setting.setPath(tk::joinPath(root, "missing")));
    file(tk::joinPath(root, "plain"));
    EXPECT_FALSE(setting.setPath(tk::joinPath(root, "plain")));
    EXPECT_EQ(setting.folders(), Names{roms});
    EXPECT_EQ(tk::currentDirectory(), started);
}

TEST_F(Listing, APatternInTheLastComponentStaysForLaterSettings) {
    std::string roms = folder("roms");
    std::string other = folder("other");
    tk::DirectorySetting setting;
    EXPECT_TRUE(setting.setPath(roms + "\\*.zip"));
    EXPECT_EQ(setting.folders(), Names{roms});
    EXPECT_EQ(setting.pattern(), "*.zip");
    EXPECT_TRUE(setting.setPath(other));
    EXPECT_EQ(setting.pattern(), "*.zip");
    EXPECT_TRUE(setting.setPath("*.7z"));
    EXPECT_EQ(setting.folders(), Names{other});
    EXPECT_EQ(setting.pattern(), "*.7z");
    // The pattern is taken even when its directory cannot be entered.
    EXPECT_FALSE(setting.setPath(tk::joinPath(root, "missing\\*.chd")));
    EXPECT_EQ(setting.folders(), Names{other});
    EXPECT_EQ(setting.pattern(), "*.chd");
}

TEST_F(Listing, OfSeveralDirectoriesThoseThatCanBeListedAreShown) {
    std::string a = folder("a");
    std::string b = folder("b");
    folder("a\\b");
    ASSERT_TRUE(SetCurrentDirectoryA(root.c_str()));
    tk::DirectorySetting setting;
    ASSERT_TRUE(SetCurrentDirectoryA(a.c_str()));
    // Every relative part is taken against the directory shown before, not
    // against the part before it nor the current directory.
    EXPECT_TRUE(setting.setPaths({"missing", "a", "b\\", tk::joinPath(root, "a\\b")}));
    EXPECT_EQ(setting.folders(), (Names{a, b, a + "\\b"}));

    EXPECT_FALSE(setting.setPaths({tk::joinPath(root, "x"), tk::joinPath(root, "y")}));
    EXPECT_EQ(setting.folders(), (Names{a, b, a + "\\b"}));
    EXPECT_EQ(tk::currentDirectory(), a);
}

TEST_F(Listing, OnlyOrdinaryFilesAreListedSortedWithoutRegardToCase) {
    std::string roms = folder("roms");
    for (const char* name :
         {"pacman.zip", "PACMAN.7Z", "Galaga.zip", "README", "a.b.zip", "dkong.zip", "1942.zip"})
        file(tk::joinPath(roms, name));
    file(tk::joinPath(roms, "locked.zip"), FILE_ATTRIBUTE_READONLY);
    file(tk::joinPath(roms, "stored.zip"), FILE_ATTRIBUTE_ARCHIVE);
    file(tk::joinPath(roms, "hidden.zip"), FILE_ATTRIBUTE_HIDDEN);
    file(tk::joinPath(roms, "system.zip"), FILE_ATTRIBUTE_SYSTEM);
    folder("roms\\folder.zip");
    folder("roms\\samples");

    EXPECT_EQ(tk::listFiles({roms}, "*.*"),
              (Names{"1942.zip", "a.b.zip", "dkong.zip", "Galaga.zip", "locked.zip", "PACMAN.7Z",
                     "pacman.zip", "README", "stored.zip"}));
    EXPECT_EQ(tk::listFiles({roms}, "*.zip"),
              (Names{"1942.zip", "a.b.zip", "dkong.zip", "Galaga.zip", "locked.zip", "pacman.zip",
                     "stored.zip"}));
    EXPECT_EQ(tk::listFiles({roms}, "*.none"), Names{});
    EXPECT_EQ(tk::listFiles({tk::joinPath(root, "missing")}, "*.*"), Names{});
    EXPECT_EQ(tk::listFiles({roms + "\\"}, "d*").size(), 1u);
}

TEST_F(Listing, ANameInSeveralDirectoriesIsListedOnceFromTheFirst) {
    std::string first = folder("first");
    std::string second = folder("second");
    std::string third = folder("third");
    file(tk::joinPath(first, "pacman.zip"));
    file(tk::joinPath(second, "PACMAN.ZIP"));
    file(tk::joinPath(second, "galaga.zip"));
    file(tk::joinPath(third, "Galaga.zip"));
    file(tk::joinPath(third, "pacman.zip"));
    file(tk::joinPath(third, "zaxxon.zip"));
    EXPECT_EQ(tk::listFiles({first, second, third}, "*.*"),
              (Names{"galaga.zip", "pacman.zip", "zaxxon.zip"}));
    EXPECT_EQ(tk::listFiles({third, second, first}, "*.*"),
              (Names{"Galaga.zip", "pacman.zip", "zaxxon.zip"}));
}

// The order must be the one a sorted list box gives the same names, with the
// user's locale deciding punctuation, digits and accented letters.
TEST_F(Listing, TheOrderIsASortedListBoxsOrder) {
    const Names names = {"pac-man.zip", "pacman.zip",     "pac_man.zip", "pac man.zip",
                         "pac'man.zip", "Pacm.zip",       "pacm4n.zip",  "10yard.zip",
                         "9ball.zip",   "_start.zip",     "~tilde.zip",  "\xC3\xA9t\xC3\xA9.zip",
                         "ez.zip",      "\xC3\x89ZZ.zip", "zzz.zip",     "a.zip",
                         "a.7z",        "a-.zip",         "[x].zip",     "pac.man.zip"};
    std::string roms = folder("roms");
    for (const std::string& name : names)
        file(tk::joinPath(roms, name));

    EXPECT_EQ(tk::listFiles({roms}, "*.*"), testing_support::sortedListBoxOrder(names));
}

// More entries than one batch of the listing holds, with names of every
// kind of letter (accents, CJK, letters beyond 16 bits) and the entries the
// rules leave out among them.
TEST_F(Listing, EveryNameOfALargeFolderIsListedAsTheFileSearchFindsIt) {
    std::string roms = folder("roms");
    const std::string padding(150, 'p');
    const char* letters[] = {"a", "\xC3\xA9", "\xE6\x97\xA5\xE6\x9C\xAC", "\xF0\x9F\x8E\xAE", "Z"};
    for (int i = 0; i < 1200; ++i)
        file(tk::joinPath(roms, letters[i % 5] + std::to_string(i) + padding + ".zip"));
    file(tk::joinPath(roms, "\xC3\xA9hidden.zip"), FILE_ATTRIBUTE_HIDDEN);
    file(tk::joinPath(roms, "\xE6\x97\xA5system.zip"), FILE_ATTRIBUTE_SYSTEM);
    folder("roms\\\xF0\x9F\x8E\xAE"
           "folder.zip");

    Names listed = tk::listFiles({roms}, "*.*");
    EXPECT_EQ(listed.size(), 1200u);
    EXPECT_EQ(listed, searchedInListBoxOrder(roms));
    EXPECT_EQ(tk::listFiles({roms}, "*"), listed);
}

// Every listing reads the folder as it is then: nothing is kept from the
// last one.
TEST_F(Listing, AFolderThatChangedIsListedAsItIsNow) {
    std::string roms = folder("roms");
    for (const char* name : {"pacman.zip", "galaga.zip", "dkong.zip", "\xC3\xA9t\xC3\xA9.zip"})
        file(tk::joinPath(roms, name));
    file(tk::joinPath(roms, "hidden.zip"), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(tk::listFiles({roms}, "*.*"),
              (Names{"dkong.zip", "\xC3\xA9t\xC3\xA9.zip", "galaga.zip", "pacman.zip"}));

    ASSERT_TRUE(DeleteFileW(tk::utf8ToWide(tk::joinPath(roms, "galaga.zip")).c_str()));
    ASSERT_TRUE(MoveFileW(tk::utf8ToWide(tk::joinPath(roms, "dkong.zip")).c_str(),
                          tk::utf8ToWide(tk::joinPath(roms, "\xE6\x97\xA5.zip")).c_str()));
    ASSERT_TRUE(SetFileAttributesW(tk::utf8ToWide(tk::joinPath(roms, "hidden.zip")).c_str(),
                                   FILE_ATTRIBUTE_NORMAL));
    file(tk::joinPath(roms, "zaxxon.zip"));
    EXPECT_EQ(tk::listFiles({roms}, "*.*"),
              (Names{"\xC3\xA9t\xC3\xA9.zip", "hidden.zip", "pacman.zip", "zaxxon.zip",
                     "\xE6\x97\xA5.zip"}));
    EXPECT_EQ(tk::listFiles({roms}, "*.*"), searchedInListBoxOrder(roms));
}

} // namespace
