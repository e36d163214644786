#include "settings/ProfileSettings.h"
#include "toolkit/base/Error.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/AtomicFile.h"
#include "toolkit/files/FileReader.h"
#include "toolkit/files/IniFile.h"
#include "toolkit/files/IniText.h"

#include "support/Files.h"
#include "support/SettingsFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

namespace fs = std::filesystem;

using testing_support::errorOf;
using testing_support::SettingsFile;

namespace {

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

// Every shape of file a person may write, but for headers without their "]"
// or with two: Wine takes those for no header or ends the name at the last
// "]", where Windows ends it at the line end or the first "]"; the program
// does as Windows does (the portable tests hold those shapes).
const std::vector<std::string> handWrittenFiles = {
    "[config]\r\nxp=1\r\n",
    "  [ config ]  \r\nxp=1\r\n[config]\r\nclose=0\r\n",
    "[Config]\r\n  XP  =  ' 1 '  \r\nclose=\"0\"\r\nSkin='C:\\a.bmp\"\r\ncredits=\"\r\n",
    "xp=9\r\n[config] trailing\r\nxp=2\r\n[other]\r\nclose=5\r\n",
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

} // namespace
