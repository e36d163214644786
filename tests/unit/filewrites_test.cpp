// Writes among other copies of the program and at the file system's limits:
// another copy's turn held up no read and is named by every write, paths at
// and beyond the usual limit are written, and only the program's own
// leftovers are removed.
#include "settings/ProfileSettings.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/AtomicFile.h"
#include "toolkit/files/FileReader.h"
#include "toolkit/files/IniFile.h"
#include "toolkit/files/Paths.h"
#include "toolkit/text/CodePage.h"

#include "support/Files.h"
#include "support/HeldTurn.h"
#include "support/SettingsFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

namespace fs = std::filesystem;

using testing_support::errorOf;
using testing_support::SettingsFile;

namespace {

// A file of a path `length` characters long in folders of at most 200
// characters each, made and removed through the long path forms, which the
// standard library's file functions lack.
class DeepFile {
public:
    DeepFile(std::string base, size_t length, const std::string& name) {
        while (base.size() + 1 + name.size() < length) {
            // What the folders still add, their backslashes included.
            size_t room = length - base.size() - 1 - name.size();
            base = tk::joinPath(
                base, std::string(room <= 201 ? room - 1 : std::min<size_t>(room - 50, 200), 'f'));
            CreateDirectoryW(wide(base).c_str(), nullptr);
            folders_.push_back(base);
        }
        path_ = tk::joinPath(base, name);
        EXPECT_EQ(path_.size(), length);
    }
    DeepFile(const DeepFile&) = delete;
    DeepFile& operator=(const DeepFile&) = delete;
    ~DeepFile() {
        DeleteFileW(wide(path_).c_str());
        for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder)
            RemoveDirectoryW(wide(*folder).c_str());
    }

    const std::string& path() const { return path_; }

private:
    static std::wstring wide(const std::string& path) {
        return tk::utf8ToWide(tk::longPathForm(path));
    }

    std::vector<std::string> folders_;
    std::string path_;
};

// Where the program folder lies deep enough, keston.ini's path reaches the
// system's usual limit of 260 characters or passes it: every write still
// lands, and what it wrote is read back.
TEST_F(SettingsFile, PathsAtAndBeyondTheUsualLimitAreWrittenAndRead) {
    for (size_t length : {259u, 260u, 261u, 300u, 600u}) {
        SCOPED_TRACE(length);
        DeepFile deep(temp.path(), length, "keston.ini");
        const std::string& keston = deep.path();
        tk::replaceFileContent(keston, "[config]\r\nxp=0\r\nSkin=C:\\old.bmp\r\n");
        EXPECT_TRUE(tk::fileExists(keston));
        settings::ProfileSettings(keston).writeBool("config", "xp", true);
        settings::ProfileSettings(keston).writeString("config", "Skin", "");
        settings::ProfileSettings(keston).writeString("config", "mamestamp", "1 2");
        tk::IniFile whole(keston);
        whole.writeString("config", "mameexe", "C:\\MAME\\mame.exe");
        whole.updateFile();
        tk::IniFile stored(keston);
        EXPECT_EQ(stored.profileString("config", "xp", "") +
                      stored.profileString("config", "Skin", "-") +
                      stored.profileString("config", "mamestamp", "") +
                      stored.readString("config", "mameexe", ""),
                  "11 2C:\\MAME\\mame.exe");

        const std::string leftover = tk::temporarySibling(keston);
        tk::replaceFileContent(leftover, "killed");
        tk::removeLeftovers(keston);
        EXPECT_FALSE(tk::fileExists(leftover));
    }
}

// A write killed midway leaves its temporary file; the next write, or the
// clean-up at start, removes it, unless a writer is at work on it. A file of
// the user's own is no leftover, whatever its name or attributes.
TEST_F(SettingsFile, OnlyLeftoversOfTheProgramsOwnWritesAreRemoved) {
    put("[config]\r\nxp=0\r\n");
    const std::vector<std::string> usersOwn = {"~keston.in", "keston.ini.bak", "~keston.ini"};
    for (const std::string& name : usersOwn)
        SetFileAttributesA(temp.write(name, "mine").c_str(), FILE_ATTRIBUTE_READONLY);
    temp.write("~keston.in.tmp", "mine too");
    const std::string leftover = tk::temporarySibling(path);
    testing_support::writeFile(leftover, std::string(1 << 20, 'x'));
    {
        testing_support::HeldTurn writer(path);
        tk::removeLeftovers(path);
        EXPECT_TRUE(fs::exists(leftover)) << "a writer at work owns it";
    }
    tk::removeLeftovers(path);
    EXPECT_FALSE(fs::exists(leftover));
    // No write of ours leaves a read-only file: one is the user's, whatever its name.
    testing_support::writeFile(leftover, "mine");
    SetFileAttributesA(leftover.c_str(), FILE_ATTRIBUTE_READONLY);
    tk::removeLeftovers(path);
    EXPECT_TRUE(fs::exists(leftover));
    SetFileAttributesA(leftover.c_str(), FILE_ATTRIBUTE_NORMAL);

    testing_support::writeFile(leftover, "[config]\r\nxp=0\r\n");
    settings::ProfileSettings(path).writeBool("config", "xp", true);
    EXPECT_EQ(perKey("config", "xp"), "1");
    std::vector<std::string> kept = entries();
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, (std::vector<std::string>{"keston.ini", "keston.ini.bak", "~keston.in",
                                              "~keston.in.tmp", "~keston.ini"}));
    for (const std::string& name : usersOwn) {
        EXPECT_EQ(tk::readWholeFile(temp.file(name)), "mine");
        SetFileAttributesA(temp.file(name).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// Another copy of the program stopped in the middle of a write keeps its
// turn: reads go on at once, every write says who holds the file within a few
// seconds, nothing is lost, and the writes go through once it lets go.
TEST_F(SettingsFile, AnotherCopyHoldingItsTurnDelaysNoReadAndIsNamedByEveryWrite) {
    const std::string old = "[config]\r\nmameexe=C:\\mame.exe\r\nxp=0\r\n";
    put(old);
    testing_support::HeldTurn otherCopy(path);
    ASSERT_TRUE(otherCopy.held());
    using Clock = std::chrono::steady_clock;
    auto seconds = [](Clock::time_point since) {
        return std::chrono::duration<double>(Clock::now() - since).count();
    };

    Clock::time_point started = Clock::now();
    tk::IniFile read(path);
    EXPECT_EQ(read.readString("config", "mameexe", "") + read.profileString("config", "xp", ""),
              "C:\\mame.exe0");
    EXPECT_LT(seconds(started), 1.0) << "the read waited for the other copy";

    const std::string inUse = path + " is in use by another copy of the program";
    started = Clock::now();
    EXPECT_EQ(errorOf([&] { settings::ProfileSettings(path).writeBool("config", "xp", true); }),
              inUse);
    EXPECT_LT(seconds(started), 5.0);
    read.writeString("config", "parameters", "-window");
    EXPECT_EQ(errorOf([&] { read.updateFile(); }), inUse);
    EXPECT_EQ(content(), old);

    otherCopy.release();
    settings::ProfileSettings(path).writeBool("config", "xp", true);
    read.updateFile();
    tk::IniFile written(path);
    EXPECT_EQ(written.readString("config", "xp", "") +
                  written.readString("config", "parameters", ""),
              "1-window");
}

// A reader elsewhere may hold the file for a moment just when a write swaps
// its new content in: the write waits that moment out.
TEST_F(SettingsFile, AWriteOutlastsAMomentaryHoldOnTheFile) {
    put("[config]\r\nxp=0\r\n");
    std::promise<bool> opened;
    std::thread reader([&] {
        tk::FileHandle held(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        opened.set_value(bool(held));
        Sleep(150);
    });
    EXPECT_TRUE(opened.get_future().get());
    EXPECT_EQ(errorOf([&] { tk::replaceFileContent(path, "[config]\r\nxp=1\r\n"); }), "no error");
    reader.join();
    EXPECT_EQ(content(), "[config]\r\nxp=1\r\n");
    EXPECT_EQ(entries(), std::vector<std::string>{"keston.ini"});
}

} // namespace
