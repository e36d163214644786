// Files and folders named in letters outside the code page (Cyrillic, CJK
// with the "表" that code page 932 splits, an emoji): found, read, listed,
// written whole and short-named through the UTF-8 paths the program keeps.
#include "toolkit/files/AtomicFile.h"
#include "toolkit/files/DirectoryListing.h"
#include "toolkit/files/FileReader.h"
#include "toolkit/files/Paths.h"
#include "toolkit/text/CodePage.h"

#include "support/Files.h"
#include "support/HeldTurn.h"
#include "support/ListBoxOrder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using testing_support::errorOf;

namespace {

const std::string games = "\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B";                 // Игры
const std::string table = "\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0\xE8\xA1\xA8"; // ゲーム表
const std::string pad = "\xF0\x9F\x8E\xAE";                                   // 🎮

class UnicodeFiles : public ::testing::Test {
protected:
    // The folders of every test: one per kind of letters, and one nested.
    std::vector<std::string> folders() {
        return {temp.folder(games), temp.folder(table), temp.folder(pad),
                temp.folder(games + "\\" + table + "\\" + pad)};
    }
    std::vector<std::string> entries(const std::string& folder) const {
        Names names;
        for (const auto& entry : fs::directory_iterator(testing_support::pathOf(folder)))
            names.push_back(testing_support::textOf(entry.path().filename()));
        return names;
    }

    testing_support::TempFolder temp{"keston-unicode"};
};

TEST_F(UnicodeFiles, AreFoundAndReadAndTheirErrorsNameThem) {
    for (const std::string& folder : folders()) {
        SCOPED_TRACE(folder);
        const std::string file = tk::joinPath(folder, table + ".ini");
        testing_support::writeFile(file, "rompath " + folder + "\r\n");
        EXPECT_TRUE(tk::folderExists(folder));
        EXPECT_FALSE(tk::fileExists(folder));
        EXPECT_TRUE(tk::fileExists(file));
        EXPECT_FALSE(tk::folderExists(file));
        EXPECT_EQ(tk::readWholeFile(file), "rompath " + folder + "\r\n");

        const std::string missing = tk::joinPath(folder, pad + "missing");
        EXPECT_FALSE(tk::fileExists(missing));
        EXPECT_EQ(tk::readFileIfPresent(missing), std::nullopt);
        EXPECT_EQ(errorOf([&] { tk::readWholeFile(missing); }), "Cannot open file " + missing);
    }
}

// The short form is what the older command interpreters are handed: it must
// name the same file, in letters any code page has where the system made one.
TEST_F(UnicodeFiles, ShortPathsNameTheSameFiles) {
    for (const std::string& folder : folders()) {
        SCOPED_TRACE(folder);
        const std::string file = tk::joinPath(folder, "mame.exe");
        testing_support::writeFile(file, folder);
        const std::string shortForm = tk::shortPath(file);
        ASSERT_FALSE(shortForm.empty());
        EXPECT_EQ(testing_support::readFile(shortForm), folder);
        EXPECT_EQ(tk::shortPath(tk::joinPath(folder, "missing.exe")), "");
    }
}

TEST_F(UnicodeFiles, AreWrittenWholeWithNoTemporaryFileLeft) {
    for (const std::string& folder : folders()) {
        SCOPED_TRACE(folder);
        // Names whose last character is several bytes long ("表" and an
        // emoji), and an ASCII one.
        for (const std::string& name :
             {std::string("\xE8\xA1\xA8"), games + pad, std::string("mame.ini")}) {
            const std::string file = tk::joinPath(folder, name);
            tk::replaceFileContent(file, "first " + name);
            tk::rewriteFileContent(file, [&](std::optional<std::string> current) {
                return current.value_or("none") + " then " + pad;
            });
            EXPECT_EQ(tk::readWholeFile(file), "first " + name + " then " + pad);
        }
        for (const std::string& entry : entries(folder))
            EXPECT_EQ(entry.find('~'), std::string::npos) << entry;
    }
}

// Two names that differ only in letters outside the code page (which would
// spell both "?") are two files: another writer's turn on one does not hold
// up the other, and holds up its own file whatever the case of its letters.
TEST_F(UnicodeFiles, TurnsAreTakenPerFileWhateverItsLetters) {
    const std::string first = temp.file(games + ".ini");
    testing_support::HeldTurn writer(first);
    ASSERT_TRUE(writer.held());
    EXPECT_TRUE(tk::FileTurn(temp.file(table + ".ini"), 0).held());
    EXPECT_TRUE(tk::FileTurn(temp.file("\xD0\x98\xD0\xB3\xD1\x80\xD1\x8C.ini"), 0).held());
    EXPECT_FALSE(tk::FileTurn(first, 0).held());
    EXPECT_FALSE(tk::FileTurn(temp.file("\xD0\x98\xD0\x93\xD0\xA0\xD0\xAB.ini"), 0).held());
}

TEST_F(UnicodeFiles, AreListedInUtf8InTheOrderOfASortedUnicodeListBox) {
    const std::string roms = temp.folder(games + "\\" + table);
    const std::string other = temp.folder(pad);
    const Names names = {table + ".zip",          games + ".zip", pad + ".zip", "pacman.zip",
                         "\xC3\xA9t\xC3\xA9.zip", "\xD1\x8F.7z",  "Zzz.zip"};
    for (const std::string& name : names)
        testing_support::writeFile(tk::joinPath(roms, name), "x");

    EXPECT_EQ(tk::listFiles({roms}, "*.*"), testing_support::sortedListBoxOrder(names));
    EXPECT_EQ(tk::listFiles({roms}, table + "*"), Names{table + ".zip"});

    tk::DirectorySetting setting;
    EXPECT_TRUE(setting.setPath(roms + "\\*.zip"));
    EXPECT_EQ(setting.folders(), Names{roms});
    EXPECT_TRUE(setting.setPath("..\\..\\" + pad));
    EXPECT_EQ(setting.folders(), Names{other});
    EXPECT_FALSE(setting.setPath(temp.file(games + "\\" + pad)));
}

} // namespace
