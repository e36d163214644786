#include "launch/ListfullRun.h"

#include "argdump/ArgDump.h"
#include "launch/GameListUpdate.h"
#include "launch/InterpreterRun.h"
#include "launch/MameCommands.h"
#include "toolkit/base/Handles.h"

#include <gtest/gtest.h>

namespace {

using launch::runListfull;

// argdump stands in for MAME: what it prints to its standard output is what
// must end up in gamelist.
class ListfullRunTest : public ::testing::Test {
protected:
    std::string mameIn(const std::string& folderName) {
        return argdump::copyTo(tk::joinPath(temp.folder(folderName), "mame.exe"));
    }
    // The list is read right after the run by a reader that shares reading
    // only: nothing may still hold it open for writing.
    static bool readableAtOnce(const std::string& programFolder) {
        tk::FileHandle file(CreateFileA(tk::joinPath(programFolder, "gamelist").c_str(),
                                        GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                        nullptr));
        return static_cast<bool>(file);
    }
    std::string gamelistOf(const std::string& programFolder) {
        return testing_support::readFile(tk::joinPath(programFolder, "gamelist"));
    }

    testing_support::TempFolder temp{"keston-listfull"};
    std::string record = temp.file("record.txt");
    argdump::ScopedVariable output{"ARGDUMP_OUT", record};
    launch::TExecutor exe{nullptr};
};

TEST_F(ListfullRunTest, PathsWithBlanksRunThroughCmdInTheirShortForms) {
    std::string mame = mameIn("MAME Folder With Blanks");
    std::string program = temp.folder("Program Folder With Blanks");

    runListfull(exe, mame, program, true);

    EXPECT_EQ(exe.FileName, tk::joinPath(tk::systemFolder(), "cmd.exe"));
    EXPECT_EQ(exe.CommandLine, launch::listfullJob(true, tk::systemFolder(), tk::shortPath(mame),
                                                   tk::shortPath(program))
                                   .commandLine);
    EXPECT_EQ(exe.CommandLine.find("With Blanks"), std::string::npos);
    auto child = argdump::readRecord(record);
    EXPECT_EQ(child["argv1"], "-listfull");
    EXPECT_EQ(child["argc"], "2");
    EXPECT_EQ(child["directory"], tk::folderPart(mame));
    EXPECT_TRUE(readableAtOnce(program));
    std::string list = gamelistOf(program);
    EXPECT_EQ(list.rfind("argdump stdout: ", 0), 0u) << list;
    EXPECT_NE(list.find("-listfull"), std::string::npos);
}

// Where a volume keeps no 8.3 names, a short form is the long path itself,
// and cmd gets its letters through the Unicode command line: it starts the
// program and creates the redirect target by those names.
TEST_F(ListfullRunTest, CmdTakesNamesInAnyLettersInItsCommandAndItsRedirectTarget) {
    std::string mameFolder = argdump::unicodeFolder(temp, "Игры_ゲーム表_🎮");
    std::string mame = argdump::copyTo(tk::joinPath(mameFolder, "мэйм🎮.exe"));
    std::string program = argdump::unicodeFolder(temp, "Программа_予定表");
    ASSERT_FALSE(launch::runsWithoutInterpreter(mame + program));
    exe.WorkingDirectory = mameFolder;

    EXPECT_EQ(launch::runInterpreterJob(
                  exe, launch::listfullJob(true, tk::systemFolder(), mame, program)),
              0);

    auto child = argdump::readRecord(record);
    EXPECT_EQ(child["argv0"], mame);
    EXPECT_EQ(child["argv1"], "-listfull");
    EXPECT_EQ(child["directory"], mameFolder);
    std::string list = argdump::readUnicodeNamed(tk::joinPath(program, "gamelist"));
    EXPECT_EQ(list.rfind("argdump stdout: ", 0), 0u) << list;
    EXPECT_NE(list.find("мэйм🎮.exe -listfull"), std::string::npos) << list;
}

TEST_F(ListfullRunTest, FoldersInAnyLettersGetTheListWhateverRouteTheirShortFormsTake) {
    std::string mameFolder = argdump::unicodeFolder(temp, "Игры ゲーム表 🎮");
    std::string mame = argdump::copyTo(tk::joinPath(mameFolder, "mame.exe"));
    for (const char* name : {"予定表 Программа", "ゲーム表&🎮"}) {
        std::string program = argdump::unicodeFolder(temp, name);

        EXPECT_EQ(runListfull(exe, mame, program, true).exitCode, 0) << name;

        EXPECT_EQ(argdump::readRecord(record)["directory"], mameFolder) << name;
        std::string list = argdump::readUnicodeNamed(tk::joinPath(program, "gamelist"));
        EXPECT_EQ(list.rfind("argdump stdout: ", 0), 0u) << name << ": " << list;
        EXPECT_NE(list.find("-listfull"), std::string::npos) << name << ": " << list;
    }
}

TEST_F(ListfullRunTest, ASystemWithoutCommandStartsNothing) {
    std::string mame = mameIn("MAME");
    std::string program = temp.folder("Program");
    ASSERT_FALSE(tk::fileExists(tk::joinPath(tk::systemFolder(), "command.com")));

    EXPECT_EQ(runListfull(exe, mame, program, false).exitCode, 1);

    EXPECT_EQ(exe.FileName, tk::joinPath(tk::systemFolder(), "command.com"));
    EXPECT_EQ(exe.CommandLine, launch::listfullJob(false, tk::systemFolder(), tk::shortPath(mame),
                                                   tk::shortPath(program))
                                   .commandLine);
    EXPECT_FALSE(tk::fileExists(record));
    EXPECT_FALSE(tk::fileExists(tk::joinPath(program, "gamelist")));
}

TEST_F(ListfullRunTest, AnAmpersandInTheMameFolderRunsMameDirectlyIntoTheSameFile) {
    argdump::OwnerWindow owner;
    argdump::ScopedVariable window("ARGDUMP_WINDOW", owner.handleText());
    launch::TExecutor owned(owner.get());
    std::string mame = mameIn("tom&jerry");
    std::string program = temp.folder("Program Folder");
    ASSERT_NE(tk::shortPath(mame).find('&'), std::string::npos);
    std::ofstream(tk::joinPath(program, "gamelist"))
        << std::string(5000, 'z') << "\nan old list much longer than the new one\n";

    EXPECT_EQ(runListfull(owned, mame, program, true).exitCode, 0);

    EXPECT_TRUE(readableAtOnce(program));
    EXPECT_TRUE(owned.FileName.empty());
    auto child = argdump::readRecord(record);
    EXPECT_EQ(child["commandline"], launch::directListfullCommandLine(mame));
    EXPECT_EQ(child["directory"], tk::folderPart(mame));
    EXPECT_EQ(child["windowvisible"], "0");
    EXPECT_TRUE(IsWindowVisible(owner.get()));
    std::string list = gamelistOf(program);
    EXPECT_EQ(list.rfind("argdump stdout: ", 0), 0u) << list;
    EXPECT_EQ(list.find('z'), std::string::npos);
}

TEST_F(ListfullRunTest, AnAmpersandInTheProgramFolderAlsoRunsMameDirectly) {
    std::string mame = mameIn("MAME");
    std::string program = temp.folder("x&y");
    ASSERT_NE(tk::shortPath(program).find('&'), std::string::npos);

    runListfull(exe, mame, program, true);

    EXPECT_TRUE(readableAtOnce(program));
    EXPECT_TRUE(exe.FileName.empty());
    EXPECT_NE(gamelistOf(program).find("-listfull"), std::string::npos);
}

TEST_F(ListfullRunTest, AnAmpersandLostInTheShortFormKeepsTheInterpreter) {
    std::string mame = mameIn("my games & more");
    std::string program = temp.folder("Program");
    if (tk::shortPath(mame).find('&') != std::string::npos)
        GTEST_SKIP() << "this file system keeps the ampersand in short names";

    runListfull(exe, mame, program, true);

    EXPECT_EQ(exe.FileName, tk::joinPath(tk::systemFolder(), "cmd.exe"));
    EXPECT_NE(gamelistOf(program).find("-listfull"), std::string::npos);
}

TEST_F(ListfullRunTest, ADirectRunThatCannotCreateTheListStartsNothing) {
    std::string mame = mameIn("a&b");
    std::string program = temp.folder("Program");
    temp.folder("Program\\gamelist");

    EXPECT_EQ(runListfull(exe, mame, program, true).exitCode, 1);

    EXPECT_FALSE(tk::fileExists(record));
}

TEST(MameStamp, AnExecutableNamedInAnyLettersHasItsSizeInTheStamp) {
    testing_support::TempFolder temp{"keston-stamp"};
    std::string mame =
        argdump::copyTo(tk::joinPath(argdump::unicodeFolder(temp, "Игры 🎮"), "ゲーム.exe"));
    std::string size = std::to_string(std::filesystem::file_size(argdump::wide(mame)));

    std::string stamp = launch::mameStamp(mame);

    EXPECT_EQ(stamp.rfind(size + " ", 0), 0u) << stamp;
    EXPECT_GT(stamp.size(), size.size() + 1) << "a write time follows";
}

TEST(MameStamp, ChangesWithTheSizeOrTheWriteTimeOfTheExecutable) {
    testing_support::TempFolder temp("keston-stamp");
    std::string exe = temp.file("mame.exe");
    testing_support::writeFile(exe, "MZ first");
    std::string first = launch::mameStamp(exe);
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(launch::mameStamp(exe), first) << "the same file, the same stamp";

    testing_support::writeFile(exe, "MZ first and longer");
    std::string longer = launch::mameStamp(exe);
    EXPECT_NE(longer, first);

    // Same size, another write time: a MAME copied over with its own time.
    tk::FileHandle file(
        CreateFileA(exe.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    FILETIME older{0x12345678, 0x01D00000};
    ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &older));
    file.reset();
    EXPECT_NE(launch::mameStamp(exe), longer);
    EXPECT_EQ(launch::mameStamp(temp.file("missing.exe")), "");
}

} // namespace
