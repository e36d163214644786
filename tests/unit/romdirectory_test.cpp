#include "catalogue/RomDirectory.h"
#include "toolkit/DirectoryListing.h"
#include "toolkit/Error.h"
#include "toolkit/Handles.h"
#include "toolkit/Paths.h"

#include "support/Files.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;
using catalogue::ResolveRomDirectory;
using Paths = std::vector<std::string>;

using testing_support::errorOf;

namespace {

// The file list's real path setter, with a record of what it was handed.
struct ListSetter : catalogue::RomPathSetter {
    tk::DirectorySetting list;
    std::vector<Paths> handed;

    bool setPath(const std::string& path) override {
        handed.push_back({path});
        return list.setPath(path);
    }
    bool setPaths(const std::vector<std::string>& paths) override {
        handed.push_back(paths);
        return list.setPaths(paths);
    }
};

class RomDirectory : public ::testing::Test {
protected:
    // A neutral current directory, as after the program's start.
    void SetUp() override { SetCurrentDirectoryA(work.c_str()); }

    std::string folder(const std::string& name) { return temp.folder(name); }
    void write(const std::string& path, const std::string& content) {
        testing_support::writeFile(path, content);
    }
    std::string inMame(const std::string& name) { return tk::joinPath(mame, name); }

    catalogue::RomDirectory resolve(const std::string& exeName) {
        return ResolveRomDirectory(inMame(exeName), setter);
    }

    testing_support::TempFolder temp{"keston-roms"};
    std::string mame = folder("mame");
    std::string work = folder("work");
    ListSetter setter;
    testing_support::ScriptedDialogs dialogs;
};

TEST_F(RomDirectory, TheExecutableNamedIniComesBeforeTheFolderIni) {
    std::string roms = folder("mame\\roms");
    folder("mame\\pproms");
    write(inMame("mame.ini"), "# core\r\nrompath                   roms\r\n");

    catalogue::RomDirectory found = resolve("mame.exe");
    EXPECT_EQ(found.paths, Paths{roms});
    EXPECT_TRUE(found.entered);
    EXPECT_EQ(setter.list.folders(), Paths{roms});
    EXPECT_EQ(tk::currentDirectory(), roms);

    EXPECT_EQ(resolve("mamepp.exe").paths, Paths{roms}) << "the folder's mame.ini";
    write(inMame("mamepp.ini"), "rompath pproms\n");
    EXPECT_EQ(resolve("mamepp.exe").paths, Paths{inMame("pproms")});
    EXPECT_TRUE(dialogs.log.empty());

    std::string elsewhere = folder("elsewhere\\roms");
    write(inMame("mame.ini"), "rompath " + elsewhere + "\r\n");
    EXPECT_EQ(resolve("mame.exe").paths, Paths{elsewhere});
    EXPECT_EQ(tk::currentDirectory(), elsewhere);
}

TEST_F(RomDirectory, WithoutARompathTheMameFolderItselfIsListed) {
    write(inMame("mame.ini"), "rompathx roms\r\nrompath\r\n");
    EXPECT_EQ(resolve("mame.exe").paths, Paths{mame + "\\"});
    EXPECT_EQ(setter.list.folders(), Paths{mame});

    // The folder mame.cfg does not fall back to "roms" here: the MAME folder
    // is a directory.
    fs::remove(inMame("mame.ini"));
    folder("mame\\roms");
    write(inMame("mame.cfg"), "[directory]\r\nsamplepath = samples\r\n");
    SetCurrentDirectoryA(work.c_str());
    EXPECT_EQ(resolve("dosmame.exe").paths, Paths{mame + "\\"});
    EXPECT_EQ(tk::currentDirectory(), mame);
}

TEST_F(RomDirectory, WithAnIniAndAFolderCfgTheUserChoosesWhichMame) {
    std::string roms = folder("mame\\roms");
    std::string dosRoms = folder("mame\\dosroms");
    write(inMame("mame.ini"), "rompath roms\r\n");
    write(inMame("mame.cfg"), "[Directory]\r\nrompath=dosroms\r\n");

    dialogs.answers = {IDYES, IDNO, IDCANCEL};
    EXPECT_EQ(resolve("mame.exe").paths, Paths{roms});
    ASSERT_EQ(dialogs.log.size(), 1u);
    EXPECT_EQ(dialogs.log[0].kind, "ask");
    EXPECT_EQ(dialogs.log[0].text,
              "Could not determine MAME version. Pres \"YES\" for MAMEw or \"NO\" for MAME DOS");
    EXPECT_EQ(dialogs.log[0].title, "Select MAME Version");
    EXPECT_EQ(dialogs.log[0].flags, 52u);

    // No: the CFG stage's setting replaces the INI stage's.
    setter.handed.clear();
    catalogue::RomDirectory found = resolve("mame.exe");
    EXPECT_EQ(setter.handed, (std::vector<Paths>{{roms}, {dosRoms}}));
    EXPECT_EQ(found.paths, Paths{dosRoms});
    EXPECT_EQ(setter.list.folders(), Paths{dosRoms});
    EXPECT_EQ(tk::currentDirectory(), dosRoms);

    // Only No leads to the CFG stage.
    EXPECT_EQ(resolve("mame.exe").paths, Paths{roms});
    EXPECT_EQ(dialogs.texts("ask").size(), 3u);
}

TEST_F(RomDirectory, TheCfgStageReadsTheDirectorySectionWithItsFallbacks) {
    std::string roms = folder("mame\\roms");
    write(inMame("mame.cfg"), "; DOS MAME\r\n[DIRECTORY]\r\nROMPATH   =  roms  \r\n");
    EXPECT_EQ(resolve("mame.exe").paths, Paths{roms});
    EXPECT_EQ(tk::currentDirectory(), roms);

    // The executable-named CFG hands over even a missing directory...
    write(inMame("mame.cfg"), "[directory]\r\nrompath = gone\r\n");
    catalogue::RomDirectory missing = resolve("mame.exe");
    EXPECT_EQ(missing.paths, Paths{inMame("gone")});
    EXPECT_FALSE(missing.entered);
    EXPECT_EQ(tk::currentDirectory(), roms);
    EXPECT_EQ(setter.list.folders(), Paths{roms});

    // ...the folder CFG falls back to "roms" beside MAME...
    SetCurrentDirectoryA(work.c_str());
    EXPECT_EQ(resolve("dosmame.exe").paths, Paths{inMame("roms")});
    EXPECT_EQ(tk::currentDirectory(), roms);

    // ...and comes after the executable-named one.
    folder("mame\\dosroms");
    write(inMame("dosmame.cfg"), "[directory]\r\nrompath=dosroms\r\n");
    EXPECT_EQ(resolve("dosmame.exe").paths, Paths{inMame("dosroms")});
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(RomDirectory, WithoutAConfigurationFileRomsBesideMameIsHandedOver) {
    catalogue::RomDirectory found = resolve("mame.exe");
    EXPECT_EQ(found.paths, Paths{inMame("Roms")});
    EXPECT_FALSE(found.entered);
    EXPECT_EQ(tk::currentDirectory(), work);

    std::string roms = folder("mame\\Roms");
    found = resolve("mame.exe");
    EXPECT_TRUE(found.entered);
    EXPECT_EQ(tk::currentDirectory(), roms);

    // A folder named like a configuration file is not one.
    fs::create_directories(inMame("mame.ini"));
    fs::create_directories(inMame("mame.cfg"));
    EXPECT_EQ(resolve("mame.exe").paths, Paths{inMame("Roms")});
    EXPECT_EQ(ResolveRomDirectory("", setter).paths, Paths{"\\Roms"});
}

TEST_F(RomDirectory, ARelativeValueIsTriedAgainstTheCurrentDirectoryFirst) {
    folder("mame\\roms");
    std::string ownRoms = folder("work\\roms");
    write(inMame("mame.ini"), "rompath roms\r\n");
    EXPECT_EQ(resolve("mame.exe").paths, Paths{"roms"});
    EXPECT_EQ(setter.list.folders(), Paths{ownRoms});

    // After the INI stage entered mame\roms, the CFG stage's relative value is
    // taken against that directory.
    std::string nested = folder("mame\\roms\\sub");
    folder("mame\\sub");
    write(inMame("mame.cfg"), "[directory]\r\nrompath=sub\r\n");
    SetCurrentDirectoryA(work.c_str());
    fs::remove_all(ownRoms);
    dialogs.answers = {IDNO};
    EXPECT_EQ(resolve("mame.exe").paths, Paths{"sub"});
    EXPECT_EQ(setter.list.folders(), Paths{nested});
}

TEST_F(RomDirectory, ASemicolonListIsSplitUnlessItNamesADirectoryAsAWhole) {
    std::string roms = folder("mame\\roms");
    std::string more = folder("mame\\more");
    std::string absolute = folder("elsewhere");
    write(inMame("mame.ini"), "rompath roms;missing;;" + absolute + ";more\r\n");
    catalogue::RomDirectory found = resolve("mame.exe");
    EXPECT_EQ(found.paths, (Paths{roms, inMame("missing"), absolute, more}));
    EXPECT_TRUE(found.entered);
    EXPECT_EQ(setter.list.folders(), (Paths{roms, absolute, more}));
    EXPECT_EQ(tk::currentDirectory(), roms);

    write(inMame("mame.ini"), "rompath x;y\r\n");
    found = resolve("mame.exe");
    EXPECT_EQ(found.paths, (Paths{inMame("x"), inMame("y")}));
    EXPECT_FALSE(found.entered);
    EXPECT_EQ(tk::currentDirectory(), roms);

    std::string joined = folder("mame\\a;b");
    write(inMame("mame.ini"), "rompath a;b\r\n");
    EXPECT_EQ(resolve("mame.exe").paths, Paths{joined});
    write(inMame("mame.ini"), "rompath " + joined + "\r\n");
    EXPECT_EQ(resolve("mame.exe").paths, Paths{joined});
    EXPECT_EQ(setter.list.folders(), Paths{joined});
    write(inMame("mame.ini"), "rompath roms;\r\n");
    EXPECT_EQ(resolve("mame.exe").paths, Paths{roms});

    // The folder CFG falls back only when no part is a directory.
    fs::remove(inMame("mame.ini"));
    write(inMame("mame.cfg"), "[directory]\r\nrompath=x;y\r\n");
    EXPECT_EQ(resolve("dosmame.exe").paths, Paths{roms});
    write(inMame("mame.cfg"), "[directory]\r\nrompath=x;more\r\n");
    EXPECT_EQ(resolve("dosmame.exe").paths, (Paths{inMame("x"), more}));
    EXPECT_EQ(setter.list.folders(), Paths{more});
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
    EXPECT_TRUE(setter.handed.empty());
    EXPECT_EQ(tk::currentDirectory(), work);
}

} // namespace
