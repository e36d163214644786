// A program started and watched from a thread of its own (MAME for "Play"):
// argdump stands in for it, told through its environment what to print and
// how long to run.
#include "launch/WatchedProcess.h"

#include "argdump/ArgDump.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace {

using namespace std::chrono_literals;
using launch::ProcessEnd;
using launch::startWatched;

// A program's path as the first word of a command line.
std::string quoted(const std::string& path) {
    std::string text = "\"";
    text += path;
    text += '"';
    return text;
}

class WatchedProcessTest : public ::testing::Test {
protected:
    // Starts argdump (or a copy) with these arguments, in `directory` when
    // given; the end arrives in `ended`. True when it started.
    bool start(const std::string& arguments, const std::string& directory = "",
               const std::string& program = argdump::path()) {
        launch::Watched started =
            startWatched(quoted(program) + " " + arguments, directory,
                         [this](ProcessEnd end) { ended.set_value(std::move(end)); });
        EXPECT_EQ(started.outcome.message(), "");
        watch = std::move(started.watch);
        return !started.outcome.failed() && watch;
    }
    ProcessEnd awaitEnd(std::chrono::seconds limit = 60s) {
        std::future<ProcessEnd> end = ended.get_future();
        if (end.wait_for(limit) != std::future_status::ready) {
            ADD_FAILURE() << "the end was not reported";
            return {};
        }
        return end.get();
    }

    testing_support::TempFolder temp{"keston-watched"};
    std::string record = temp.file("record.txt");
    argdump::ScopedVariable output{"ARGDUMP_OUT", record};
    std::promise<ProcessEnd> ended;
    launch::ProcessWatch watch;
};

TEST_F(WatchedProcessTest, TheEndBringsTheExitCodeAndWhatWasPrintedOnBothOutputs) {
    argdump::ScopedVariable errors{"ARGDUMP_STDERR", "Fatal error: Required files are missing.\n"};
    std::string folder = temp.folder("Started Here");
    ASSERT_TRUE(start("2 pacman", folder));

    ProcessEnd end = awaitEnd();
    EXPECT_EQ(end.exitCode, 2u);
    EXPECT_NE(end.output.find("argdump stdout: "), std::string::npos) << end.output;
    // Written in text mode, as a Windows program writes: CR LF.
    EXPECT_TRUE(end.output.ends_with("Fatal error: Required files are missing.\r\n")) << end.output;

    auto child = argdump::readRecord(record);
    EXPECT_EQ(child["argv2"], "pacman");
    EXPECT_EQ(child["directory"], folder);
    EXPECT_NE(tk::currentDirectory(), folder);
    EXPECT_EQ(child["show"], "1");
    EXPECT_EQ(child["consolewindow"], "0") << "a console program runs without a console window";
    EXPECT_EQ(child["stdouttype"], std::to_string(FILE_TYPE_PIPE));
}

TEST_F(WatchedProcessTest, NamesInAnyLettersReachTheProgramAndItsBytesComeBack) {
    argdump::ScopedVariable errors{"ARGDUMP_STDERR", "ゲーム表.zip 🎮 NOT FOUND\n"};
    std::string folder = argdump::unicodeFolder(temp, "Игры ゲーム表 🎮");
    std::string program = argdump::copyTo(tk::joinPath(folder, "мэйм.exe"));
    ASSERT_TRUE(start("2 ゲーム表", folder, program));

    ProcessEnd end = awaitEnd();
    EXPECT_EQ(end.exitCode, 2u);
    EXPECT_TRUE(end.output.ends_with("ゲーム表.zip 🎮 NOT FOUND\r\n")) << end.output;
    auto child = argdump::readRecord(record);
    EXPECT_EQ(child["argv0"], program);
    EXPECT_EQ(child["argv2"], "ゲーム表");
    EXPECT_EQ(child["directory"], folder);
}

TEST_F(WatchedProcessTest, TheCallerNeverWaitsForTheProgram) {
    argdump::ScopedVariable sleep{"ARGDUMP_SLEEP", "3000"};
    auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(start("0"));
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1500ms);
    EXPECT_EQ(awaitEnd().exitCode, 0u);
    EXPECT_GE(std::chrono::steady_clock::now() - before, 3000ms);
}

TEST_F(WatchedProcessTest, AFloodOfOutputNeverHoldsTheProgramUpAndOnlyItsEndIsKept) {
    argdump::ScopedVariable flood{"ARGDUMP_FLOOD", std::to_string(4 * 1024 * 1024)};
    ASSERT_TRUE(start("3"));

    ProcessEnd end = awaitEnd(120s);
    EXPECT_EQ(end.exitCode, 3u);
    EXPECT_LE(end.output.size(), 16u * 1024);
    EXPECT_GT(end.output.size(), 15u * 1024);
    EXPECT_TRUE(end.output.ends_with("flood end\r\n"));
}

TEST_F(WatchedProcessTest, OnlyThePipeIsInherited) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &inheritable, 0));
    tk::KernelHandle reader(readEnd);
    tk::KernelHandle writer(writeEnd);
    // Another launch's pipe, say: inherited, the program's end would not end it.
    argdump::ScopedVariable handle{"ARGDUMP_HANDLE",
                                   std::to_string(reinterpret_cast<UINT_PTR>(writer.get()))};
    ASSERT_TRUE(start("0"));
    awaitEnd();
    EXPECT_NE(argdump::readRecord(record)["handletype"], std::to_string(FILE_TYPE_PIPE));
}

TEST_F(WatchedProcessTest, AProgramThatCannotStartGivesTheSystemsReason) {
    bool called = false;
    launch::Watched started = startWatched(quoted(temp.file("missing.exe")) + " pacman", "",
                                           [&](ProcessEnd) { called = true; });
    EXPECT_TRUE(started.outcome.failed());
    EXPECT_FALSE(started.watch);
    EXPECT_FALSE(started.outcome.message().empty());
    EXPECT_EQ(started.outcome.message().find("Error "), std::string::npos)
        << "the system's words, not a number: " << started.outcome.message();
    EXPECT_FALSE(called);
}

TEST_F(WatchedProcessTest, TheWatchsEndLeavesTheProgramRunningAndTellsNothingOfItsEnd) {
    argdump::ScopedVariable sleep{"ARGDUMP_SLEEP", "2000"};
    ASSERT_TRUE(start("0"));
    auto pid = static_cast<DWORD>(std::stoul(argdump::awaitRecord(record)["pid"]));
    tk::KernelHandle program(OpenProcess(SYNCHRONIZE, FALSE, pid));
    ASSERT_TRUE(program);

    auto before = std::chrono::steady_clock::now();
    watch.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 500ms)
        << "a stopped watch holds up the window's end";
    EXPECT_EQ(WaitForSingleObject(program.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(WaitForSingleObject(program.get(), 10000), WAIT_OBJECT_0) << "it ends on its own";
    EXPECT_EQ(ended.get_future().wait_for(300ms), std::future_status::timeout);
}

} // namespace
