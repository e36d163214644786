#include "catalogue/RomDirectory.h"
#include "toolkit/base/Error.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/DirectoryListing.h"
#include "toolkit/files/Paths.h"
#include "toolkit/text/CodePage.h"

#include "support/Files.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;
using catalogue::ResolveRomDirectory;
using Paths = std::vector<std::string>;
using Names = std::vector<std::string>;

using testing_support::errorOf;

namespace {

class RomDirectory : public ::testing::Test {
protected:
    // A current directory that holds a "roms" of its own, which must never be
    // taken for MAME's.
    void SetUp() override {
        folder("work\\roms");
        SetCurrentDirectoryA(work.c_str());
    }

    std::string folder(const std::string& name) { return temp.folder(name); }
    void write(const std::string& path, const std::string& content) {
        testing_support::writeFile(path, content);
    }
    std::string inMame(const std::string& name) { return tk::joinPath(mame, name); }

    // Taken by the list as the main window's list takes it, one decision
    // after the other.
    catalogue::RomDirectory resolve(const std::string& exeName) {
        catalogue::RomDirectory found = ResolveRomDirectory(inMame(exeName), list, [this] {
            ++questions;
            return answers.at(questions - 1);
        });
        list = found.directory;
        return found;
    }

    testing_support::TempFolder temp{"keston-roms"};
    std::string mame = folder("mame");
    std::string work = folder("work");
    tk::DirectorySetting list;
    // The "which MAME" answers, true for DOS MAME, and how often it was asked.
    std::vector<bool> answers;
    size_t questions = 0;
};

// The decision itself is tested over a world of its own; these cases are
// about the real files and folders behind it, and a current directory that
// nothing changes or reads.
TEST_F(RomDirectory, AnIniOnDiskIsReadAndItsDirectoryEntered) {
    std::string roms = folder("mame\\roms");
    write(inMame("mame.ini"), "# core\r\nrompath                   roms\r\n");

    catalogue::RomDirectory found = resolve("mame.exe");
    EXPECT_EQ(found.paths, Paths{roms});
    EXPECT_TRUE(found.entered);
    EXPECT_EQ(found.directory.folders(), Paths{roms});
    EXPECT_EQ(tk::currentDirectory(), work);
    EXPECT_EQ(questions, 0u);

    std::string elsewhere = folder("elsewhere\\roms");
    write(inMame("mame.ini"), "rompath " + elsewhere + "\r\n");
    EXPECT_EQ(resolve("mame.exe").paths, Paths{elsewhere});
    EXPECT_EQ(tk::currentDirectory(), work);
}

TEST_F(RomDirectory, WithAnIniAndAFolderCfgTheUserIsAskedWhichMame) {
    std::string roms = folder("mame\\roms");
    std::string dosRoms = folder("mame\\dosroms");
    write(inMame("mame.ini"), "rompath roms\r\n");
    write(inMame("mame.cfg"), "; DOS MAME\r\n[DIRECTORY]\r\nROMPATH   =  dosroms  \r\n");

    answers = {false, true};
    EXPECT_EQ(resolve("mame.exe").paths, Paths{roms});
    EXPECT_EQ(questions, 1u);

    // No: the CFG stage's setting replaces the INI stage's.
    catalogue::RomDirectory found = resolve("mame.exe");
    EXPECT_EQ(found.paths, Paths{dosRoms});
    EXPECT_EQ(found.directory.folders(), Paths{dosRoms});
    EXPECT_EQ(tk::currentDirectory(), work);

    // The INI's folders are taken first: a name pattern they end in stays
    // for the CFG's.
    write(inMame("mame.ini"), "rompath roms\\*.zip\r\n");
    answers.push_back(true);
    found = resolve("mame.exe");
    EXPECT_EQ(found.directory.folders(), Paths{dosRoms});
    EXPECT_EQ(found.directory.pattern(), "*.zip");
}

TEST_F(RomDirectory, FoldersNamedLikeConfigurationFilesAreNotThem) {
    catalogue::RomDirectory found = resolve("mame.exe");
    EXPECT_EQ(found.paths, Paths{inMame("Roms")});
    EXPECT_FALSE(found.entered);
    EXPECT_EQ(tk::currentDirectory(), work);

    std::string roms = folder("mame\\Roms");
    fs::create_directories(inMame("mame.ini"));
    fs::create_directories(inMame("mame.cfg"));
    found = resolve("mame.exe");
    EXPECT_EQ(found.paths, Paths{inMame("Roms")});
    EXPECT_TRUE(found.entered);
    EXPECT_EQ(tk::currentDirectory(), work);
}

TEST_F(RomDirectory, AConfigurationFileThatCannotBeReadEndsTheResolution) {
    write(inMame("mame.ini"), "rompath roms\r\n");
    {
        tk::FileHandle held(CreateFileA(inMame("mame.ini").c_str(), GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(errorOf([&] { resolve("mame.exe"); }), "I/O error 32");
    }
    fs::remove(inMame("mame.ini"));
    write(inMame("mame.cfg"), "[directory]\r\nrompath=roms\r\n");
    {
        tk::FileHandle held(CreateFileA(inMame("mame.cfg").c_str(), GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(errorOf([&] { resolve("mame.exe"); }), "Cannot open file " + inMame("mame.cfg"));
    }
    EXPECT_EQ(tk::currentDirectory(), work);
}

// The system's expansion, as MAME's Windows build calls it: any letters come
// through, and a name the environment lacks stays as written.
TEST_F(RomDirectory, VariablesInARomPathAreTheSystemsEnvironment) {
    const std::string sets = folder("\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B"); // Игры
    SetEnvironmentVariableW(L"KESTON_SETS", tk::utf8ToWide(sets).c_str());
    write(inMame("mame.ini"), "rompath \"%KESTON_SETS%;%KESTON_UNSET%\"\r\n");
    EXPECT_EQ(resolve("mame.exe").paths, (Paths{sets, inMame("%KESTON_UNSET%")}));
    SetEnvironmentVariableW(L"KESTON_SETS", nullptr);
}

// MAME writes its ini in UTF-8, with a mark or, as older versions did,
// without; an ini an editor saved in the code page still names its folder.
TEST_F(RomDirectory, ARomPathInAnyLettersNamesTheRightFolders) {
    const std::string cjk = "\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0\xE8\xA1\xA8"; // ゲーム表
    const std::string emoji = folder("\xF0\x9F\x8E\xAE");                       // 🎮
    const std::string cyrillic = "\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B";            // Игры
    mame = folder(cyrillic + "\\mame");
    const std::string roms = folder(cyrillic + "\\mame\\" + cjk);
    write(tk::joinPath(roms, "pacman.zip"), "");
    write(tk::joinPath(emoji, cjk + ".zip"), "");
    const Paths both{roms, emoji};
    const Names names{"pacman.zip", cjk + ".zip"};
    for (const std::string& mark : {std::string(), std::string("\xEF\xBB\xBF")}) {
        write(inMame("mame.ini"), mark + "rompath " + cjk + ";" + emoji + "\r\n");
        EXPECT_EQ(resolve("mame.exe").paths, both);
        EXPECT_EQ(list.folders(), both);
        EXPECT_EQ(tk::listFiles(list.folders(), "*.zip"), names);
    }
    if (GetACP() == 1252) {
        const std::string retro = folder("R\xC3\xA9tro");
        write(inMame("mame.ini"), "rompath " + temp.path() + "\\R\xE9tro\r\n");
        EXPECT_EQ(resolve("mame.exe").paths, Paths{retro});
    }
}

} // namespace
