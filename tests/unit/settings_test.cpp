#include "settings/ProfileSettings.h"
#include "toolkit/base/Error.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/AtomicFile.h"
#include "toolkit/files/FileReader.h"
#include "toolkit/files/IniFile.h"
#include "toolkit/files/IniText.h"
#include "toolkit/files/PathText.h"
#include "toolkit/files/Paths.h"
#include "toolkit/text/CodePage.h"

#include "support/Files.h"
#include "support/HeldTurn.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <thread>

namespace fs = std::filesystem;

using testing_support::errorOf;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void put(const std::string& bytes) { testing_support::writeFile(path, bytes); }
    std::string content() const { return tk::readWholeFile(path); }
    // The program's per-key read, by the platform's rules.
    std::string perKey(const std::string& section, const std::string& key,
                       const std::string& fallback = "<none>") const {
        return tk::IniFile(path).profileString(section, key, fallback);
    }
    bool perKeyBool(const std::string& key, bool fallback) const {
        return tk::parseProfileBool(perKey("config", key, ""), fallback);
    }
    // The platform's own, from the file as it is now rather than as it was
    // when the platform last read it.
    std::string platformPerKey(const std::string& section, const std::string& key) const {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
        char buffer[2048];
        DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", buffer,
                                                sizeof buffer, path.c_str());
        return std::string(buffer, length);
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        return names;
    }

    testing_support::TempFolder temp{"keston-settings"};
    fs::path folder = temp.path();
    std::string path = temp.file("keston.ini");
};

TEST_F(SettingsFile, MixedCaseNamesAreFoundByBothAccessesAndReplacedInPlace) {
    put("[Config]\r\nMameExe = C:\\old\\mame.exe\r\nSkin=C:\\s.bmp\r\n");
    tk::IniFile ini(path);
    EXPECT_EQ(ini.readString("config", "mameexe", ""), "C:\\old\\mame.exe");
    EXPECT_EQ(ini.readString("CONFIG", "MAMEEXE", ""), "C:\\old\\mame.exe");
    EXPECT_EQ(perKey("config", "mameexe"), "C:\\old\\mame.exe");
    EXPECT_EQ(perKey("CONFIG", "SKIN"), "C:\\s.bmp");

    ini.writeString("config", "mameexe", "C:\\new\\mame.exe");
    ini.updateFile();
    EXPECT_EQ(content(), "[Config]\r\nmameexe=C:\\new\\mame.exe\r\nSkin=C:\\s.bmp\r\n\r\n");
    // The per-key access must not answer from a cache of the replaced file.
    EXPECT_EQ(perKey("config", "mameexe"), "C:\\new\\mame.exe");
}

// The platform's own functions match these too; Wine's do not, so only the
// whole-file access is checked here.
TEST_F(SettingsFile, AnsiLettersBeyondAsciiMatchWithoutRegardToCase) {
    if (GetACP() != 1252)
        GTEST_SKIP() << "needs the Western code page";
    put("[Kr\344fte]\r\n\374ber=1\r\n");
    EXPECT_EQ(tk::IniFile(path).readString("KR\303\204FTE", "\303\234BER", "-"), "1");
    EXPECT_EQ(tk::IniFile(path).readString("KRAFTE", "UBER", "-"), "-");
}

TEST_F(SettingsFile, RepeatedNamesGiveTheLastToTheWholeFileAndTheFirstPerKey) {
    put("[config]\r\nxp=1\r\nxp=2\r\n[other]\r\n[CONFIG]\r\nxp=3\r\nxp=4\r\n");
    tk::IniFile ini(path);
    EXPECT_EQ(ini.readString("config", "xp", "-"), "4");
    EXPECT_EQ(perKey("config", "xp"), "1");

    ini.writeString("config", "xp", "5");
    ini.updateFile();
    EXPECT_EQ(content(),
              "[config]\r\nxp=1\r\nxp=2\r\n\r\n[other]\r\n\r\n[CONFIG]\r\nxp=3\r\nxp=5\r\n\r\n");
}

TEST_F(SettingsFile, MissingFileSectionsAndKeysAreCreatedWhereTheyBelong) {
    tk::IniFile empty(path);
    EXPECT_EQ(empty.readString("config", "mameexe", "fallback"), "fallback");
    EXPECT_EQ(perKey("config", "Skin", "C:\\skin.bmp"), "C:\\skin.bmp");
    EXPECT_FALSE(perKeyBool("xp", false));
    EXPECT_TRUE(perKeyBool("close", true));
    EXPECT_TRUE(entries().empty()) << "reads create nothing";

    put("[config]\r\na=1\r\n[b]\r\nc=2\r\n");
    tk::IniFile ini(path);
    ini.writeString("config", "mameexe", "x");
    ini.writeString("New", "k", "v");
    EXPECT_EQ(ini.readString("new", "K", "-"), "v");
    ini.updateFile();
    EXPECT_EQ(content(),
              "[config]\r\na=1\r\nmameexe=x\r\n\r\n[b]\r\nc=2\r\n\r\n[New]\r\nk=v\r\n\r\n");

    fs::remove(path);
    empty.writeString("config", "parameters", "-window");
    empty.updateFile();
    EXPECT_EQ(content(), "[config]\r\nparameters=-window\r\n\r\n");
}

TEST_F(SettingsFile, QuotesStayForTheWholeFileAndEmptyValuesAreNotMissing) {
    put("[config]\r\nmameexe=\"C:\\a b\\mame.exe\"\r\nSkin =  \"C:\\s.bmp\"  \r\ncredits=\r\n");
    tk::IniFile ini(path);
    EXPECT_EQ(ini.readString("config", "mameexe", ""), "\"C:\\a b\\mame.exe\"");
    EXPECT_EQ(perKey("config", "Skin"), "C:\\s.bmp");
    EXPECT_EQ(ini.readString("config", "credits", "-"), "");
    EXPECT_EQ(perKey("config", "credits"), "");

    settings::ProfileSettings(path).writeString("config", "Skin", "");
    EXPECT_EQ(perKey("config", "Skin", "C:\\skin.bmp"), "");
    EXPECT_EQ(tk::IniFile(path).readString("config", "Skin", "-"), "");

    std::string longValue(3000, 'v');
    settings::ProfileSettings(path).writeString("config", "long", longValue);
    EXPECT_EQ(perKey("config", "long"), longValue.substr(0, 2047));
    EXPECT_EQ(tk::IniFile(path).readString("config", "long", ""), longValue);
}

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

// Every shape of file a person may write.
const std::vector<std::string> handWrittenFiles = {
    "[config]\r\nxp=1\r\n",
    "  [ config ]  \r\nxp=1\r\n[config]\r\nclose=0\r\n",
    "[Config]\r\n  XP  =  ' 1 '  \r\nclose=\"0\"\r\nSkin='C:\\a.bmp\"\r\ncredits=\"\r\n",
    "xp=9\r\n[config] trailing\r\nxp=2\r\n[other]\r\nclose=5\r\n",
    "[config\r\nxp=3\r\n[config]x]\r\nxp=4\r\n",
    "[config]\nxp\n;close=1\nclose = 1 = 2\rSkin=\t\"\"\t\r\n\x1a",
    "[config]\r\n[config]\r\nxp=1\r\n",
    "; no section yet",
};

// The program reads per-key values from memory by the platform's rules: the
// platform's own read must agree on every shape of file a person may write.
TEST_F(SettingsFile, PerKeyValuesAreReadAsThePlatformReadsThem) {
    for (const std::string& file : handWrittenFiles) {
        SCOPED_TRACE(file);
        put(file);
        for (const char* section : {"config", " CONFIG ", "config] trailing"})
            for (const char* key : {"xp", "close", "Skin", "credits", " xp "})
                EXPECT_EQ(perKey(section, key), platformPerKey(section, key))
                    << section << "/" << key;
    }
}

// The program writes per-key values itself: what it writes is what the
// platform's own read finds, and no other key changes for either reader.
TEST_F(SettingsFile, PerKeyWritesAreFoundByThePlatformsRead) {
    const std::vector<std::string> keys = {"xp", "close", "Skin", "credits", "mamestamp"};
    for (const std::string& file : handWrittenFiles) {
        SCOPED_TRACE(file);
        put(file);
        for (size_t written = 0; written < keys.size(); ++written) {
            std::map<std::string, std::string> before;
            for (const std::string& key : keys)
                before[key] = platformPerKey("config", key);
            const std::string value = "C:\\value " + std::to_string(written);
            settings::ProfileSettings(path).writeString("CONFIG", keys[written], value);
            for (const std::string& key : keys) {
                const std::string expected = key == keys[written] ? value : before[key];
                EXPECT_EQ(platformPerKey("config", key), expected) << key;
                EXPECT_EQ(perKey("config", key), expected) << key;
            }
        }
    }
}

TEST_F(SettingsFile, WholeFilesAreReadAndReplacedByteForByte) {
    std::string large(3 * 1024 * 1024 + 17, 'a');
    large[5] = '\0';
    large[6] = '\n';
    tk::replaceFileContent(path, large);
    EXPECT_EQ(tk::readWholeFile(path), large);
    tk::replaceFileContent(path, "short\r\nlast");
    EXPECT_EQ(tk::readFileIfPresent(path), "short\r\nlast");
    EXPECT_EQ(entries(), std::vector<std::string>{"keston.ini"});

    fs::remove(path);
    EXPECT_EQ(tk::readFileIfPresent(path), std::nullopt);
    EXPECT_EQ(errorOf([&] { tk::readWholeFile(path); }), "Cannot open file " + path);
}

TEST_F(SettingsFile, BooleansAreWrittenAsDigitsAndSeenByTheNextWholeFileRead) {
    put("; kept by per-key writes\r\n[config]\r\nxp=true\r\nclose=yes\r\ncredits=0x1\r\n");
    EXPECT_FALSE(perKeyBool("xp", false));
    EXPECT_TRUE(perKeyBool("close", true));
    EXPECT_TRUE(perKeyBool("credits", false));
    {
        settings::ProfileSettings writer(path);
        writer.writeBool("config", "xp", true);
        writer.writeBool("config", "close", false);
    }
    tk::IniFile ini(path);
    EXPECT_EQ(ini.readString("config", "xp", "-") + ini.readString("config", "close", "-"), "10");
    EXPECT_NE(content().find("; kept by per-key writes"), std::string::npos);
    EXPECT_TRUE(perKeyBool("xp", false));
    EXPECT_FALSE(perKeyBool("close", true));
}

TEST_F(SettingsFile, AFolderInPlaceOfTheFileFailsEveryWriteAndTheWholeFileRead) {
    tk::IniFile ini(path);
    ini.writeString("config", "mameexe", "x");
    fs::create_directory(path);

    EXPECT_EQ(errorOf([&] { tk::IniFile{path}; }), "Cannot open file " + path);
    EXPECT_EQ(errorOf([&] { ini.updateFile(); }), "Cannot create file " + path);
    EXPECT_EQ(errorOf([&] { settings::ProfileSettings(path).writeString("config", "Skin", "s"); }),
              "Unable to write to " + path);
    EXPECT_EQ(entries(), std::vector<std::string>{"keston.ini"});
    EXPECT_TRUE(fs::is_empty(path));
}

TEST_F(SettingsFile, AFileHeldWithoutSharingKeepsItsContentAndNoTemporaryFileRemains) {
    const std::string old = "[config]\r\nmameexe=old\r\n";
    put(old);
    tk::IniFile ini(path);
    ini.writeString("config", "mameexe", "new");
    {
        tk::FileHandle held(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(errorOf([&] { ini.updateFile(); }), "Cannot create file " + path);
        EXPECT_EQ(errorOf([&] { tk::IniFile{path}; }), "Cannot open file " + path);
    }
    EXPECT_EQ(content(), old);
    EXPECT_EQ(entries(), std::vector<std::string>{"keston.ini"});
    ini.updateFile();
    EXPECT_EQ(content(), "[config]\r\nmameexe=new\r\n\r\n");
}

// The system would let a privileged user replace it; a file the user made
// read-only is kept as it is all the same.
TEST_F(SettingsFile, AReadOnlyFileIsRefusedByBothAccesses) {
    const std::string old = "[config]\r\nmameexe=old\r\n";
    put(old);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    tk::IniFile ini(path);
    ini.writeString("config", "mameexe", "new");
    EXPECT_EQ(errorOf([&] { ini.updateFile(); }), "Cannot create file " + path);
    EXPECT_EQ(errorOf([&] { settings::ProfileSettings(path).writeBool("config", "xp", true); }),
              "Unable to write to " + path);
    EXPECT_EQ(content(), old);
    EXPECT_EQ(entries(), std::vector<std::string>{"keston.ini"});
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SettingsFile, AFileInPlaceOfTheFolderReadsAsMissingAndFailsWrites) {
    std::ofstream((folder / "blocker").string()) << "x";
    std::string blocked = (folder / "blocker" / "keston.ini").string();
    tk::IniFile ini(blocked);
    EXPECT_EQ(ini.readString("config", "mameexe", "none"), "none");
    EXPECT_EQ(errorOf([&] { ini.updateFile(); }), "Cannot create file " + blocked);
    EXPECT_EQ(errorOf([&] { settings::ProfileSettings(blocked).writeBool("config", "xp", true); }),
              "Unable to write to " + blocked);
    EXPECT_EQ(entries(), std::vector<std::string>{"blocker"});
}

// --------------------------------------------------------- text encodings

// A settings text in UTF-16 with its mark, from UTF-8.
std::string utf16WithMark(const std::string& utf8, bool bigEndian) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(),
                                    int(wide.size())));
    std::string bytes;
    for (wchar_t unit : L"\xFEFF" + wide) {
        char low = char(unit & 0xFF), high = char(unit >> 8);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// Every other character (a CJK one, outside every single-byte code page)
// stands in a key, a value and a section that the program never touches.
const std::string markedText = "[config]\r\nmameexe=C:\\mame\\mame.exe\r\nSkin=C:\\s.bmp\r\n"
                               "credits=1\r\n[other]\r\nfoo=bar\r\nname=\xE4\xB8\xAD\r\n"
                               "[\xE6\x97\xA5]\r\n\xE6\x97\xA5=v\r\n";

struct Encoding {
    const char* name;
    std::function<std::string(const std::string&)> encode;
};

const Encoding markedEncodings[] = {
    {"UTF-8 with mark", [](const std::string& text) { return "\xEF\xBB\xBF" + text; }},
    {"UTF-16 LE", [](const std::string& text) { return utf16WithMark(text, false); }},
    {"UTF-16 BE", [](const std::string& text) { return utf16WithMark(text, true); }},
};

TEST_F(SettingsFile, MarkedFilesReadAsThePerKeyAccessReadsThemAndKeepTheirEncoding) {
    for (const Encoding& encoding : markedEncodings) {
        SCOPED_TRACE(encoding.name);
        put(encoding.encode(markedText));
        tk::IniFile ini(path);
        EXPECT_EQ(ini.readString("config", "mameexe", "-"), "C:\\mame\\mame.exe");
        EXPECT_EQ(ini.readString("config", "Skin", "-"), perKey("config", "Skin"));
        EXPECT_EQ(ini.readString("other", "foo", "-"), "bar");

        ini.writeString("config", "parameters", "-window");
        ini.updateFile();
        EXPECT_EQ(content(), encoding.encode("[config]\r\nmameexe=C:\\mame\\mame.exe\r\n"
                                             "Skin=C:\\s.bmp\r\ncredits=1\r\nparameters=-window"
                                             "\r\n\r\n[other]\r\nfoo=bar\r\nname=\xE4\xB8\xAD"
                                             "\r\n\r\n[\xE6\x97\xA5]\r\n\xE6\x97\xA5=v\r\n\r\n"));
        EXPECT_EQ(perKey("config", "parameters"), "-window");

        settings::ProfileSettings(path).writeBool("config", "xp", true);
        tk::IniFile again(path);
        EXPECT_EQ(again.readString("config", "xp", "-"), "1");
        EXPECT_EQ(again.readString("config", "credits", "-"), "1");
        EXPECT_EQ(content().rfind(encoding.encode(""), 0), 0u) << "the mark stays";
    }
}

TEST_F(SettingsFile, ProgramValuesAreUtf8WhateverTheFilesEncoding) {
    if (GetACP() != 1252)
        GTEST_SKIP() << "needs the Western code page";
    const std::string utf8Path = "C:\\Jeux\\caf\xC3\xA9\\mame.exe";
    for (const Encoding& encoding : markedEncodings) {
        SCOPED_TRACE(encoding.name);
        put(encoding.encode("[config]\r\nmameexe=C:\\Jeux\\caf\xC3\xA9\\mame.exe\r\n"));
        EXPECT_EQ(tk::IniFile(path).readString("config", "mameexe", "-"), utf8Path);
        tk::IniFile ini(path);
        ini.writeString("config", "parameters", "-caf\xC3\xA9");
        ini.updateFile();
        EXPECT_EQ(content(), encoding.encode("[config]\r\nmameexe=C:\\Jeux\\caf\xC3\xA9\\mame.exe"
                                             "\r\nparameters=-caf\xC3\xA9\r\n\r\n"));
    }
    // Without a mark, text is in the code page: UTF-8 bytes read as two letters.
    put("[config]\r\nmameexe=caf\xC3\xA9\r\nSkin=caf\351\r\n");
    EXPECT_EQ(tk::IniFile(path).readString("config", "mameexe", "-"), "caf\xC3\x83\xC2\xA9");
    EXPECT_EQ(tk::IniFile(path).profileString("config", "Skin", "-"), "caf\xC3\xA9");
}

TEST_F(SettingsFile, PerKeyWritesSwapInACopyAndLeaveNoTemporaryFile) {
    const std::string old = "[config]\r\nmameexe=old\r\n";
    put(old);
    {
        tk::FileHandle held(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(errorOf([&] { settings::ProfileSettings(path).writeBool("config", "xp", true); }),
                  "Unable to write to " + path);
    }
    EXPECT_EQ(content(), old);
    EXPECT_EQ(entries(), std::vector<std::string>{"keston.ini"});

    settings::ProfileSettings(path).writeBool("config", "xp", true);
    EXPECT_EQ(perKey("config", "xp"), "1");
    EXPECT_EQ(tk::IniFile(path).readString("config", "mameexe", "-"), "old");
    EXPECT_EQ(entries(), std::vector<std::string>{"keston.ini"});
}

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
