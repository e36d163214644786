#include "launch/InterpreterRun.h"
#include "launch/ListfullRun.h"

#include "argdump/ArgDump.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Programs named like the interpreters are planted where a search by name
// would look first: the program folder, the current directory and a folder
// at the head of the search path. They are copies of argdump, so one that
// runs leaves a record whose first argument is "/c"; the system's cmd runs
// the MAME stand-in instead, whose record names the MAME option.
class PlantedInterpreters : public ::testing::Test {
protected:
    void SetUp() override {
        for (const std::string& folder :
             {tk::programFolder(), current, onPath, tk::folderPart(mame)}) {
            for (const char* name : {"cmd.exe", "command.exe", "command.com"})
                planted.push_back(argdump::copyTo(tk::joinPath(folder, name)));
        }
        SetCurrentDirectoryA(current.c_str());
    }
    void TearDown() override {
        for (const auto& file : planted)
            DeleteFileA(file.c_str());
    }

    testing_support::TempFolder temp{"keston-interpreter"};
    std::string current = temp.folder("Downloads");
    std::string onPath = temp.folder("Tools");
    std::string mame = argdump::copyTo(tk::joinPath(temp.folder("MAME"), "mame.exe"));
    std::string program = temp.folder("Program");
    std::string record = temp.file("record.txt");
    argdump::ScopedVariable output{"ARGDUMP_OUT", record};
    argdump::ScopedVariable path{"PATH", onPath + ";" + argdump::environment("PATH").value_or("")};
    std::vector<std::string> planted;
    launch::TExecutor exe{nullptr};
};

TEST_F(PlantedInterpreters, TheGameListRunsThroughTheSystemsCmdOnly) {
    EXPECT_EQ(launch::runListfull(exe, mame, program, true).exitCode, 0);
    EXPECT_EQ(argdump::readRecord(record)["argv1"], "-listfull");
    EXPECT_NE(testing_support::readFile(tk::joinPath(program, "gamelist")).find("-listfull"),
              std::string::npos);

    DeleteFileA(record.c_str());
    EXPECT_EQ(launch::runListfull(exe, mame, program, false).exitCode, 1);
    EXPECT_FALSE(tk::fileExists(record)) << "the system has no command.com";
}

TEST_F(PlantedInterpreters, CreatingTheConfigurationRunsThroughTheSystemsCmdOnly) {
    EXPECT_EQ(launch::runCreateConfig(exe, mame, true), 0);
    auto child = argdump::readRecord(record);
    EXPECT_EQ(child["argv1"], "-cc");
    EXPECT_EQ(child["directory"], tk::folderPart(mame)) << "where MAME writes the file";
    EXPECT_EQ(tk::currentDirectory(), current);

    DeleteFileA(record.c_str());
    EXPECT_EQ(launch::runCreateConfig(exe, mame, false), 1);
    EXPECT_FALSE(tk::fileExists(record)) << "the system has no command.com";
}

TEST_F(PlantedInterpreters, MameInAFolderNamedInAnyLettersWritesItsConfigurationThere) {
    std::string folder = argdump::unicodeFolder(temp, "Игры ゲーム表 🎮");
    std::string unicodeMame = argdump::copyTo(tk::joinPath(folder, "mame.exe"));

    EXPECT_EQ(launch::runCreateConfig(exe, unicodeMame, true), 0);

    auto child = argdump::readRecord(record);
    EXPECT_EQ(child["argv1"], "-cc");
    EXPECT_EQ(child["directory"], folder);
}

TEST_F(PlantedInterpreters, AShortFormTheInterpreterCannotTakeRunsMameItself) {
    std::string special = argdump::copyTo(tk::joinPath(temp.folder("tom&jerry"), "mame.exe"));
    ASSERT_TRUE(launch::runsWithoutInterpreter(tk::shortPath(special)));

    EXPECT_EQ(launch::runCreateConfig(exe, special, true), 0);

    auto child = argdump::readRecord(record);
    EXPECT_EQ(child["commandline"], launch::directCreateConfigCommandLine(special));
    EXPECT_EQ(child["directory"], tk::folderPart(special));
    EXPECT_TRUE(exe.FileName.empty());
}

} // namespace
