#include "launch/Executor.h"

#include "argdump/ArgDump.h"
#include "toolkit/base/Error.h"
#include "toolkit/base/Handles.h"
#include "toolkit/text/CodePage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <type_traits>
#include <vector>

namespace {

// HKEY_CLASSES_ROOT keys of one test, removed afterwards. (Wine does not
// merge HKEY_CURRENT_USER\Software\Classes into it, so they go there directly.)
class ClassesKeys {
public:
    ClassesKeys() = default;
    ClassesKeys(const ClassesKeys&) = delete;
    ClassesKeys& operator=(const ClassesKeys&) = delete;
    ~ClassesKeys() {
        for (const auto& key : created_)
            RegDeleteTreeW(HKEY_CLASSES_ROOT, tk::utf8ToWide(key).c_str());
    }
    // Key and value in UTF-8.
    void setDefault(const std::string& key, const std::string& value, DWORD type = REG_SZ) {
        HKEY raw = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, tk::utf8ToWide(key).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &raw, nullptr),
                  ERROR_SUCCESS);
        std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&RegCloseKey)> handle(raw,
                                                                                    &RegCloseKey);
        created_.push_back(key.substr(0, key.find('\\')));
        std::wstring text = tk::utf8ToWide(value);
        ASSERT_EQ(RegSetValueExW(raw, nullptr, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }

private:
    std::vector<std::string> created_;
};

// The mode tests run without an owner; those about the owner use `owned`.
class ExecutorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { owner = new argdump::OwnerWindow; }
    static void TearDownTestSuite() { delete owner; }
    void SetUp() override {
        ShowWindow(owner->get(), SW_SHOW);
        argdump::OwnerWindow::hides = 0;
    }

    static inline argdump::OwnerWindow* owner = nullptr;
    testing_support::TempFolder temp{"keston-executor"};
    std::string record = temp.file("record.txt");
    argdump::ScopedVariable output{"ARGDUMP_OUT", record};
    argdump::ScopedVariable window{"ARGDUMP_WINDOW", owner->handleText()};
    launch::TExecutor exe{nullptr};
    launch::TExecutor owned{owner->get()};
};

TEST_F(ExecutorTest, DefaultsHideTheOwnerWhileTheChildRunsAndReturnItsExitCode) {
    EXPECT_EQ(owned.Visibility, launch::TMyVisibility::NORMAL);
    EXPECT_TRUE(owned.HideOwner);
    EXPECT_TRUE(owned.Wait);
    owned.FileName = argdump::path();
    owned.CommandLine = "42 word";

    EXPECT_EQ(owned.Execute(), 42);

    auto child = argdump::readRecord(record);
    EXPECT_EQ(child["commandline"], " 42 word");
    EXPECT_EQ(child["directory"], tk::currentDirectory());
    EXPECT_EQ(child["windowvisible"], "0");
    EXPECT_EQ(child["startflags"], std::to_string(STARTF_USESHOWWINDOW));
    EXPECT_EQ(child["show"], std::to_string(SW_NORMAL));
    EXPECT_EQ(argdump::OwnerWindow::hides, 1);
    EXPECT_TRUE(IsWindowVisible(owner->get()));
    EXPECT_EQ(GetForegroundWindow(), owner->get());
}

TEST_F(ExecutorTest, VisibilityAndOwnerSettingsReachTheChild) {
    // The show value each visibility gives the child, in declaration order.
    const WORD shown[] = {0, 1, 1, 2, 3, 3, 4, 5, 6, 7, 8, 9, 10, 10};
    owned.FileName = argdump::path();
    owned.CommandLine = "1";
    owned.HideOwner = false;
    for (unsigned ordinal = 0; ordinal <= unsigned(launch::TMyVisibility::MAX); ++ordinal) {
        owned.Visibility = static_cast<launch::TMyVisibility>(ordinal);
        EXPECT_EQ(owned.Execute(), 1);
        auto child = argdump::readRecord(record);
        EXPECT_EQ(child["show"], std::to_string(shown[ordinal])) << ordinal;
        EXPECT_EQ(child["windowvisible"], "1") << ordinal;
    }
    EXPECT_EQ(argdump::OwnerWindow::hides, 0);
}

TEST_F(ExecutorTest, TheChildStartsInTheWorkingDirectoryWhereARelativeNameIsFound) {
    std::string folder = temp.folder("Working Folder");
    argdump::copyTo(tk::joinPath(folder, "helper.exe"));
    exe.WorkingDirectory = folder;
    exe.FileName = "helper.exe";
    exe.CommandLine = "12";
    std::string current = tk::currentDirectory();

    EXPECT_EQ(exe.Execute(), 12);

    auto child = argdump::readRecord(record);
    EXPECT_EQ(child["directory"], folder);
    EXPECT_EQ(tk::currentDirectory(), current);
}

// Cyrillic, CJK and an emoji (outside the Basic Multilingual Plane) in the
// folder, the program's name and the arguments.
constexpr char unicodeName[] = "Игры ゲーム表 🎮";

TEST_F(ExecutorTest, NamesInAnyLettersReachTheChildWhole) {
    std::string folder = argdump::unicodeFolder(temp, unicodeName);
    std::string program = argdump::copyTo(tk::joinPath(folder, "игра表🎮.exe"));
    exe.WorkingDirectory = folder;
    exe.FileName = program;
    exe.CommandLine = std::string("5 ") + unicodeName;

    EXPECT_EQ(exe.Execute(), 5);

    auto child = argdump::readRecord(record);
    EXPECT_EQ(child["commandline"], " 5 Игры ゲーム表 🎮");
    EXPECT_EQ(child["directory"], folder);
    EXPECT_EQ(child["argv2"], "Игры");
    EXPECT_EQ(child["argv3"], "ゲーム表");
    EXPECT_EQ(child["argv4"], "🎮");

    // Without its extension the name fails as given; only the path that
    // FindExecutableW finds for it in the working directory can start it.
    exe.FileName = "игра表🎮";
    exe.CommandLine = "6";
    EXPECT_EQ(exe.Execute(), 6);
    EXPECT_EQ(argdump::readRecord(record)["commandline"], " 6");
}

TEST_F(ExecutorTest, WhileWaitingOtherThreadsAreAnsweredAndNothingPostedRuns) {
    argdump::ScopedVariable sleep("ARGDUMP_SLEEP", "2500");
    argdump::OwnerWindow::appMessages = 0;
    owned.FileName = argdump::path();
    owned.CommandLine = "0";
    std::atomic<long long> answer = -1;
    // Another thread, as another program would, while the child runs.
    std::thread other([&] {
        Sleep(800);
        PostMessageA(owner->get(), WM_APP, 0, 0);
        DWORD_PTR length = 0;
        if (SendMessageTimeoutA(owner->get(), WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 1000, &length))
            answer = static_cast<long long>(length);
    });

    EXPECT_EQ(owned.Execute(), 0);
    other.join();

    EXPECT_EQ(answer, 5) << "the length of the caption \"owner\", answered within a second";
    EXPECT_EQ(argdump::OwnerWindow::appMessages, 0) << "posted messages wait for the child";
    MSG message;
    while (PeekMessageA(&message, owner->get(), WM_APP, WM_APP, PM_REMOVE))
        DispatchMessageA(&message);
    EXPECT_EQ(argdump::OwnerWindow::appMessages, 1);
}

// A child past its time limit, or cancelled, is ended with the programs it
// started: here the command interpreter and argdump, which it runs. One that
// ends in time gives its own exit code.
TEST_F(ExecutorTest, ALimitOrACancelEndsTheChildWithWhatItStarted) {
    exe.FileName = tk::joinPath(tk::systemFolder(), "cmd.exe");
    exe.CommandLine = "/c \"" + tk::shortPath(argdump::path()) + " 7\"";
    exe.TimeLimit = 20000;
    EXPECT_EQ(exe.Execute(), 7);
    EXPECT_EQ(exe.LastEnd, launch::ChildEnd::exited);

    argdump::ScopedVariable sleep("ARGDUMP_SLEEP", "600000");
    tk::KernelHandle cancel(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    for (launch::ChildEnd end : {launch::ChildEnd::timedOut, launch::ChildEnd::cancelled}) {
        DeleteFileW(tk::utf8ToWide(record).c_str());
        bool cancelled = end == launch::ChildEnd::cancelled;
        exe.TimeLimit = cancelled ? 30000 : 4000; // the first only as a safeguard
        exe.Cancel = cancelled ? cancel.get() : nullptr;
        // Set once argdump runs, as the program's end comes at any moment.
        std::thread canceller([&] {
            if (cancelled && !argdump::awaitRecord(record).empty())
                SetEvent(cancel.get());
        });
        auto begun = std::chrono::steady_clock::now();
        EXPECT_EQ(exe.Execute(), 1);
        canceller.join();
        EXPECT_LT(std::chrono::steady_clock::now() - begun, std::chrono::seconds(15));
        EXPECT_EQ(exe.LastEnd, end);
        std::string pid = argdump::readRecord(record)["pid"];
        ASSERT_FALSE(pid.empty()) << "argdump ran";
        tk::KernelHandle child(OpenProcess(SYNCHRONIZE, FALSE, std::stoul(pid)));
        EXPECT_TRUE(!child || WaitForSingleObject(child.get(), 5000) == WAIT_OBJECT_0)
            << "argdump under the interpreter ended too";
    }
}

TEST_F(ExecutorTest, CommandNameWithoutExtensionFallsBackToTheProgramWindowsFinds) {
    // CreateProcessW takes no default extension, so "argdump" alone fails and
    // the path FindExecutableW found runs with the same blank-led arguments.
    SetCurrentDirectoryA(tk::programFolder().c_str());
    exe.FileName = "argdump";
    exe.CommandLine = "7 hello";

    EXPECT_EQ(exe.Execute(), 7);
    EXPECT_EQ(argdump::readRecord(record)["commandline"], " 7 hello");

    exe.FileName = "cmd";
    exe.CommandLine = "/c exit 5";
    EXPECT_EQ(exe.Execute(), 5);
}

TEST_F(ExecutorTest, WithoutCommandLineTheFileNameIsAlsoTriedAsACommandLine) {
    exe.FileName = argdump::path();
    EXPECT_EQ(exe.Execute(), 0);
    EXPECT_EQ(argdump::readRecord(record)["argc"], "1");

    // Not a file: the second attempt lets Windows search for the program,
    // which it finds in the folder of the running program.
    exe.FileName = "argdump.exe 6 more";
    EXPECT_EQ(exe.Execute(), 6);
    EXPECT_EQ(argdump::readRecord(record)["commandline"], "argdump.exe 6 more");
}

TEST_F(ExecutorTest, ADocumentOpensWithItsAssociatedProgram) {
    ClassesKeys keys;
    keys.setDefault(".kestondoc", "KestonTest.Document");
    keys.setDefault("KestonTest.Document\\shell\\open\\command",
                    "\"" + argdump::path() + "\" \"%1\"");
    std::string document = temp.file("game.kestondoc");
    std::ofstream(document) << "not a program";
    exe.FileName = document;

    EXPECT_EQ(exe.Execute(), 0);

    auto child = argdump::readRecord(record);
    EXPECT_EQ(child["commandline"], argdump::path() + " " + document);
}

TEST_F(ExecutorTest, NothingStartedGivesOneAndNeverHidesTheOwner) {
    owned.FileName = temp.file("missing.exe");
    owned.CommandLine = "3";
    EXPECT_EQ(owned.Execute(), 1);

    owned.FileName.clear();
    owned.CommandLine.clear();
    EXPECT_EQ(owned.Execute(), 1);

    EXPECT_FALSE(tk::fileExists(record));
    EXPECT_EQ(argdump::OwnerWindow::hides, 0);
    EXPECT_TRUE(IsWindowVisible(owner->get()));
}

TEST_F(ExecutorTest, WithoutWaitingTheChildIsStillActive) {
    argdump::ScopedVariable sleep("ARGDUMP_SLEEP", "3000");
    owned.FileName = argdump::path();
    owned.CommandLine = "4";
    owned.Wait = false;

    EXPECT_EQ(owned.Execute(), 259);

    EXPECT_EQ(argdump::OwnerWindow::hides, 1);
    EXPECT_TRUE(IsWindowVisible(owner->get()));
    EXPECT_EQ(argdump::awaitRecord(record)["argv1"], "4");
}

TEST_F(ExecutorTest, LongCommandLinesReachTheChildWhole) {
    std::string word(3000, 'x');
    exe.FileName = argdump::path();
    exe.CommandLine = "9 " + word + " " + word + "y";

    EXPECT_EQ(exe.Execute(), 9);

    auto child = argdump::readRecord(record);
    EXPECT_EQ(child["commandline"], " " + exe.CommandLine);
    EXPECT_EQ(child["argv3"], word + "y");
}

} // namespace
