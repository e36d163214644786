// A settings write killed at any moment leaves the file as it was before or
// after that write, never torn or empty; a temporary file a kill left behind
// goes with the next write.
#include "settingswriter/ApplyWrites.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/AtomicFile.h"
#include "toolkit/files/FileReader.h"
#include "toolkit/files/IniFile.h"
#include "toolkit/files/Paths.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

namespace fs = std::filesystem;

namespace {

using Write = void (*)(const std::string&, bool);

class CrashSafety : public ::testing::Test {
protected:
    void SetUp() override {
        path = folder.file("keston.ini");
        // A large section of other keys makes each rewrite last long enough to
        // be caught in the middle.
        std::string other = "[other]\r\n";
        for (int i = 0; other.size() < 1024 * 1024; ++i)
            other += "key" + std::to_string(i) + "=a value of some length to copy\r\n";
        std::ofstream(path, std::ios::binary)
            << "[config]\r\nmameexe=C:\\MAME A\\mame.exe\r\nparameters=\r\nxp=0\r\nclose=1\r\n"
            << other;
        collectStates();
    }

    std::string content() const { return tk::readWholeFile(path); }

    // Every content the writes can leave, whatever came before them: a write
    // that changes no value leaves the file's layout as it was, so each
    // write is tried on each content found.
    void collectStates() {
        const Write writes[] = {settingswriter::writeMame, settingswriter::writeXp,
                                settingswriter::writeClose};
        std::vector<std::string> pending{content()};
        states.insert(pending.front());
        while (!pending.empty()) {
            std::string from = std::move(pending.back());
            pending.pop_back();
            for (Write write : writes)
                for (bool second : {false, true}) {
                    tk::replaceFileContent(path, from);
                    write(path, second);
                    if (states.insert(content()).second)
                        pending.push_back(content());
                }
        }
    }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    // The child writing until it is killed, or as a copy of the program with
    // its name and number of rounds.
    tk::KernelHandle startWriter(const std::string& copy = "") const {
        // Built piece by piece: GCC 12 warns wrongly about "text" + string here.
        std::string line(1, '"');
        line += tk::joinPath(tk::programFolder(), "settingswriter.exe");
        line += "\" \"";
        line += path;
        line += '"';
        if (!copy.empty())
            line += " " + copy;
        STARTUPINFOA startup{sizeof startup};
        PROCESS_INFORMATION child{};
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &child))
            return {};
        CloseHandle(child.hThread);
        return tk::KernelHandle(child.hProcess);
    }

    void kill(const tk::KernelHandle& child) const {
        TerminateProcess(child.get(), 9);
        WaitForSingleObject(child.get(), INFINITE);
    }

    void expectWhole(const std::string& when) const {
        std::optional<std::string> now = tk::readFileIfPresent(path);
        ASSERT_TRUE(now) << when << ": the file is gone";
        if (states.count(*now))
            return;
        ADD_FAILURE() << when << ": " << now->size() << " bytes, first difference "
                      << describeDifference(*now);
    }

    // Against the state of the closest size: where it differs and how.
    std::string describeDifference(const std::string& text) const {
        const std::string* closest = &*states.begin();
        for (const std::string& state : states)
            if (std::llabs(ptrdiff_t(state.size() - text.size())) <
                std::llabs(ptrdiff_t(closest->size() - text.size())))
                closest = &state;
        size_t at =
            std::mismatch(text.begin(), text.end(), closest->begin(), closest->end()).first -
            text.begin();
        auto around = [&](const std::string& t) {
            std::string part(1, '\'');
            part += t.substr(at < 40 ? 0 : at - 40, 80);
            part += '\'';
            return part;
        };
        return "at " + std::to_string(at) + ": " + around(text) + " against " +
               std::to_string(closest->size()) + " bytes " + around(*closest);
    }

    testing_support::TempFolder folder{"keston-crash"};
    std::string path;
    std::set<std::string> states;
};

// Waits for the first change the system reports for the settings file itself.
class SettingsFileWatch {
public:
    explicit SettingsFileWatch(const fs::path& folder)
        : folder_(CreateFileA(folder.string().c_str(), FILE_LIST_DIRECTORY,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED,
                              nullptr)),
          event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        listen();
    }

    // False when no change came within the time.
    bool awaitChange(DWORD milliseconds) {
        for (;;) {
            if (WaitForSingleObject(event_.get(), milliseconds) != WAIT_OBJECT_0)
                return false;
            DWORD size = 0;
            if (!GetOverlappedResult(folder_.get(), &overlapped_, &size, FALSE))
                return false;
            if (namesSettingsFile(size))
                return true;
            listen();
        }
    }

private:
    void listen() {
        ResetEvent(event_.get());
        overlapped_ = {};
        overlapped_.hEvent = event_.get();
        ReadDirectoryChangesW(folder_.get(), buffer_, sizeof buffer_, FALSE,
                              FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE |
                                  FILE_NOTIFY_CHANGE_LAST_WRITE,
                              nullptr, &overlapped_, nullptr);
    }

    bool namesSettingsFile(DWORD size) const {
        for (DWORD at = 0; size != 0 && at < size;) {
            auto entry = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + at);
            std::wstring name(entry->FileName, entry->FileNameLength / sizeof(WCHAR));
            if (_wcsicmp(name.c_str(), L"keston.ini") == 0)
                return true;
            if (entry->NextEntryOffset == 0)
                break;
            at += entry->NextEntryOffset;
        }
        return size == 0; // an overflow: something changed, maybe the file
    }

    tk::FileHandle folder_;
    tk::KernelHandle event_;
    OVERLAPPED overlapped_{};
    alignas(DWORD) char buffer_[16 * 1024];
};

} // namespace

// Kills at random moments, and at the first change the system reports for the
// file itself (with in-place writes: the first byte written to it).
TEST_F(CrashSafety, AKillAtAnyMomentLeavesTheOldOrTheNewContent) {
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<DWORD> delay(100, 1500);
    for (int trial = 0; trial < 10; ++trial) {
        tk::KernelHandle writer = startWriter();
        ASSERT_TRUE(writer);
        Sleep(delay(random));
        kill(writer);
        expectWhole("random kill " + std::to_string(trial));
    }
    int caught = 0;
    for (int trial = 0; trial < 5; ++trial) {
        SettingsFileWatch watch(folder.path());
        tk::KernelHandle writer = startWriter();
        ASSERT_TRUE(writer);
        caught += watch.awaitChange(20000);
        kill(writer);
        expectWhole("kill at the first change " + std::to_string(trial));
    }
    EXPECT_GT(caught, 0) << "no change of the file was ever reported";

    settingswriter::writeXp(path, true);
    EXPECT_EQ(entries(), std::vector<std::string>{"keston.ini"});
}

// Two copies of the program pressing their buttons at once: each write takes
// its turn, starts from what the other wrote and leaves no file behind.
TEST_F(CrashSafety, TwoCopiesWritingAtOnceLoseNothing) {
    const std::string other = tk::IniFile(path).readString("other", "key7", "");
    ASSERT_FALSE(other.empty());
    constexpr int rounds = 25; // odd, so the last round writes the first set
    tk::KernelHandle first = startWriter("first " + std::to_string(rounds));
    tk::KernelHandle second = startWriter("second " + std::to_string(rounds));
    ASSERT_TRUE(first && second);
    for (const tk::KernelHandle* writer : {&first, &second}) {
        ASSERT_EQ(WaitForSingleObject(writer->get(), 300000), WAIT_OBJECT_0);
        DWORD code = 1;
        GetExitCodeProcess(writer->get(), &code);
        EXPECT_EQ(code, 0u) << "a write failed";
    }

    tk::IniFile written(path);
    const std::string last = std::to_string(rounds - 1);
    for (const char* key : {"firstkey", "firstfile", "secondkey", "secondfile"})
        EXPECT_EQ(written.readString(settings::configSection, key, "lost"), last) << key;
    // Both ended with the first set of Apply's values.
    EXPECT_EQ(written.readString(settings::configSection, settings::mameExeKey, "lost"),
              "C:\\MAME A\\mame.exe");
    EXPECT_EQ(written.readString(settings::configSection, settings::xpKey, "lost"), "0");
    EXPECT_EQ(written.readString(settings::configSection, settings::closeKey, "lost"), "1");
    EXPECT_EQ(written.readString("other", "key7", "lost"), other);
    EXPECT_EQ(entries(), std::vector<std::string>{"keston.ini"});
}
