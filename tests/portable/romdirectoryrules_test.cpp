#include "catalogue/RomDirectoryRules.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using Paths = std::vector<std::string>;
// File, line, whether it sets rompath.
using Source = std::tuple<std::string, std::size_t, bool>;

namespace {

// MAME's own folders, and whether the list entered any of them.
struct Resolved {
    Paths paths;
    bool entered = false;
    catalogue::RomPathSource source;
};

// A small file system around C:\mame: folders, configuration files with their
// rompath values, the folder the list shows, and the user's answers to the
// question. Whatever is handed to the list must be a full path: the program's
// current directory is no base for anything.
class World : public catalogue::RomSources {
public:
    std::set<std::string> folders = {"C:\\mame", "C:\\work"};
    // An ini's text, a cfg's rompath, an entry's expansion.
    std::map<std::string, std::string> iniFiles, cfgFiles, expansions;
    std::deque<bool> dosMameAnswers;
    std::string listed = "C:\\work";
    std::vector<Paths> handed;
    int questions = 0;

    // The decision, taken by the list in turn as the program's list takes it.
    Resolved resolve(const std::string& mameExe) {
        handed.clear();
        catalogue::RomDecision decision = catalogue::chooseRomDirectory(mameExe, *this);
        Resolved resolved;
        for (const catalogue::RomFolders& named : decision.handed) {
            handed.push_back(named.paths);
            resolved = {named.paths, enterAny(named.paths), named.source};
        }
        return resolved;
    }

    bool fileExists(const std::string& path) override {
        return iniFiles.count(path) || cfgFiles.count(path);
    }
    bool isDirectory(const std::string& path) override {
        return folders.count(withoutTrailingBackslash(path)) > 0;
    }
    catalogue::KeyValue iniValue(const std::string& file, const std::string& key) override {
        return catalogue::keyLineInText(key, iniFiles.at(file));
    }
    // The system's expansion is tested on Windows; here whole entries.
    std::string expandedEnvironment(const std::string& text) override {
        return expansions.count(text) ? expansions.at(text) : text;
    }
    std::string cfgRomPath(const std::string& file) override { return cfgFiles.at(file); }
    bool userChoosesDosMame() override {
        ++questions;
        bool dos = dosMameAnswers.front();
        dosMameAnswers.pop_front();
        return dos;
    }

private:
    bool enterAny(const Paths& paths) {
        for (const std::string& path : paths)
            if (enter(path))
                return true;
        return false;
    }
    static std::string withoutTrailingBackslash(std::string result) {
        while (result.size() > 3 && result.back() == '\\')
            result.pop_back();
        return result;
    }
    bool enter(const std::string& path) {
        if (!isDirectory(path))
            return false;
        listed = withoutTrailingBackslash(path);
        return true;
    }
};

class RomDirectoryRules : public ::testing::Test {
protected:
    Source source(const std::string& mameExe) {
        catalogue::RomPathSource found = world.resolve(mameExe).source;
        return {found.file, found.line, found.setsRomPath};
    }

    World world;
};

TEST_F(RomDirectoryRules, TheCandidatesAreTriedInTheirOrder) {
    world.folders.insert({"C:\\mame\\ini", "C:\\mame\\ppini", "C:\\mame\\cfg", "C:\\mame\\dos"});
    world.iniFiles = {{"C:\\mame\\mame.ini", "rompath ini"},
                      {"C:\\mame\\mamepp.ini", "rompath ppini"}};
    world.cfgFiles = {{"C:\\mame\\dosmame.cfg", "dos"}};
    EXPECT_EQ(world.resolve("C:\\mame\\mamepp.exe").paths, Paths{"C:\\mame\\ppini"});
    EXPECT_EQ(world.resolve("C:\\mame\\other.exe").paths, Paths{"C:\\mame\\ini"});
    world.iniFiles.clear();
    EXPECT_EQ(world.resolve("C:\\mame\\dosmame.exe").paths, Paths{"C:\\mame\\dos"});
    world.cfgFiles = {{"C:\\mame\\mame.cfg", "cfg"}};
    EXPECT_EQ(world.resolve("C:\\mame\\dosmame.exe").paths, Paths{"C:\\mame\\cfg"});
    EXPECT_EQ(world.resolve("C:\\mame\\mame.exe").paths, Paths{"C:\\mame\\cfg"});
    world.cfgFiles.clear();
    EXPECT_EQ(world.resolve("C:\\mame\\mame.exe").paths, Paths{"C:\\mame\\Roms"});
    EXPECT_EQ(world.resolve("").paths, Paths{"\\Roms"});
    EXPECT_EQ(world.questions, 0);
}

TEST_F(RomDirectoryRules, OnlyAnIniBesideTheFolderCfgAsksAndOnlyNoReadsTheCfg) {
    world.folders.insert({"C:\\mame\\roms", "C:\\mame\\dosroms"});
    world.iniFiles = {{"C:\\mame\\mame.ini", "rompath roms"}};
    world.cfgFiles = {{"C:\\mame\\mame.cfg", "dosroms"}};
    world.dosMameAnswers = {false, true};
    EXPECT_EQ(world.resolve("C:\\mame\\mame.exe").paths, Paths{"C:\\mame\\roms"});
    EXPECT_EQ(world.handed, std::vector<Paths>{{"C:\\mame\\roms"}});

    Resolved dos = world.resolve("C:\\mame\\mame.exe");
    EXPECT_EQ(world.handed, (std::vector<Paths>{{"C:\\mame\\roms"}, {"C:\\mame\\dosroms"}}));
    EXPECT_EQ(dos.paths, Paths{"C:\\mame\\dosroms"});
    EXPECT_TRUE(dos.entered);
    EXPECT_EQ(world.listed, "C:\\mame\\dosroms");
    EXPECT_EQ(world.questions, 2);

    // An executable-named CFG is no reason to ask.
    world.cfgFiles = {{"C:\\mame\\dosmame.cfg", "dosroms"}};
    world.iniFiles = {{"C:\\mame\\dosmame.ini", "rompath roms"}};
    EXPECT_EQ(world.resolve("C:\\mame\\dosmame.exe").paths, Paths{"C:\\mame\\roms"});
    EXPECT_EQ(world.questions, 2);
}

TEST_F(RomDirectoryRules, OnlyTheFolderCfgFallsBackToRomsWhenItsValueNamesNoDirectory) {
    world.cfgFiles = {{"C:\\mame\\mame.cfg", "gone"}};
    Resolved missing = world.resolve("C:\\mame\\mame.exe");
    EXPECT_EQ(missing.paths, Paths{"C:\\mame\\gone"});
    EXPECT_FALSE(missing.entered);
    EXPECT_EQ(world.listed, "C:\\work");
    EXPECT_EQ(source("C:\\mame\\mame.exe"), Source("C:\\mame\\mame.cfg", 0, true));
    EXPECT_EQ(world.resolve("C:\\mame\\dosmame.exe").paths, Paths{"C:\\mame\\roms"});
    EXPECT_EQ(source("C:\\mame\\dosmame.exe"), Source()) << "the fallback names no file";

    // An empty value names the MAME folder itself, which is a directory.
    world.cfgFiles = {{"C:\\mame\\mame.cfg", ""}};
    EXPECT_EQ(world.resolve("C:\\mame\\dosmame.exe").paths, Paths{"C:\\mame\\"});
    EXPECT_EQ(world.listed, "C:\\mame");
    world.cfgFiles.clear();
    world.iniFiles = {{"C:\\mame\\mame.ini", "rompath "}};
    EXPECT_EQ(world.resolve("C:\\mame\\mame.exe").paths, Paths{"C:\\mame\\"});
}

TEST_F(RomDirectoryRules, ARelativeValueIsTakenAgainstMamesFolderWhateverWasListedBefore) {
    world.folders.insert(
        {"C:\\mame\\roms", "C:\\work\\roms", "C:\\mame\\roms\\sub", "C:\\mame\\sub", "D:\\roms"});
    world.iniFiles = {{"C:\\mame\\mame.ini", "rompath roms"}};
    EXPECT_EQ(world.resolve("C:\\mame\\mame.exe").paths, Paths{"C:\\mame\\roms"});
    EXPECT_EQ(world.listed, "C:\\mame\\roms");

    // The INI stage lists mame\roms; the CFG stage's value is still MAME's.
    world.cfgFiles = {{"C:\\mame\\mame.cfg", "sub"}};
    world.dosMameAnswers = {true};
    EXPECT_EQ(world.resolve("C:\\mame\\mame.exe").paths, Paths{"C:\\mame\\sub"});
    EXPECT_EQ(world.listed, "C:\\mame\\sub");

    // A value from the drive's root is on MAME's drive; a full one stays.
    world.cfgFiles.clear();
    world.iniFiles = {{"C:\\mame\\mame.ini", "rompath \\mame\\roms\\sub"}};
    EXPECT_EQ(world.resolve("C:\\mame\\mame.exe").paths, Paths{"C:\\mame\\roms\\sub"});
    world.iniFiles = {{"C:\\mame\\mame.ini", "rompath D:\\roms"}};
    EXPECT_EQ(world.resolve("C:\\mame\\mame.exe").paths, Paths{"D:\\roms"});
}

TEST_F(RomDirectoryRules, ASemicolonListIsSplitUnlessItNamesADirectoryAsAWhole) {
    world.folders.insert({"C:\\mame\\roms", "C:\\mame\\more", "D:\\elsewhere", "C:\\mame\\a;b"});
    world.iniFiles = {{"C:\\mame\\mame.ini", "rompath roms;missing;;D:\\elsewhere;more"}};
    Resolved found = world.resolve("C:\\mame\\mame.exe");
    EXPECT_EQ(found.paths,
              (Paths{"C:\\mame\\roms", "C:\\mame\\missing", "D:\\elsewhere", "C:\\mame\\more"}));
    EXPECT_TRUE(found.entered);

    world.iniFiles = {{"C:\\mame\\mame.ini", "rompath x;y"}};
    found = world.resolve("C:\\mame\\mame.exe");
    EXPECT_EQ(found.paths, (Paths{"C:\\mame\\x", "C:\\mame\\y"}));
    EXPECT_FALSE(found.entered);

    world.iniFiles = {{"C:\\mame\\mame.ini", "rompath a;b"}};
    EXPECT_EQ(world.resolve("C:\\mame\\mame.exe").paths, Paths{"C:\\mame\\a;b"});
    world.iniFiles = {{"C:\\mame\\mame.ini", "rompath roms;"}};
    EXPECT_EQ(world.resolve("C:\\mame\\mame.exe").paths, Paths{"C:\\mame\\roms"});
    world.iniFiles = {{"C:\\mame\\mame.ini", "rompath ;"}};
    EXPECT_EQ(world.resolve("C:\\mame\\mame.exe").paths, Paths{"C:\\mame\\;"});

    // The folder CFG falls back only when no part is a directory.
    world.iniFiles.clear();
    world.cfgFiles = {{"C:\\mame\\mame.cfg", "x;y"}};
    EXPECT_EQ(world.resolve("C:\\mame\\dosmame.exe").paths, Paths{"C:\\mame\\roms"});
    world.cfgFiles = {{"C:\\mame\\mame.cfg", "x;more"}};
    EXPECT_EQ(world.resolve("C:\\mame\\dosmame.exe").paths,
              (Paths{"C:\\mame\\x", "C:\\mame\\more"}));
}

// As MAME 0.251 reads them (its -showconfig), also the quotes it keeps,
// which no Windows folder bears; MAME splits before it expands a variable.
TEST_F(RomDirectoryRules, AValueIsTakenAsMameTakesItsOptions) {
    world.folders.insert({"C:\\mame\\a b", "D:\\roms"});
    world.expansions = {{"%ROMS%", "D:\\roms"}, {"%BOTH%", "x;y"}};
    const std::string ini = "C:\\mame\\mame.ini";
    for (const auto& [value, paths] : std::vector<std::pair<std::string, Paths>>{
             {"\"a b\"", {"C:\\mame\\a b"}},
             {" \"a b;%ROMS%\"\t # sets", {"C:\\mame\\a b", "D:\\roms"}},
             {"\"a#b;\"", {"C:\\mame\\a#b"}},
             {"%BOTH%", {"C:\\mame\\x;y"}},
             {"\"\"", {"C:\\mame\\"}},
             {"\"a b\";\"c\"", {"C:\\mame\\a b\"", "C:\\mame\\\"c"}}}) {
        world.iniFiles = {{ini, "# core\r\nrompath " + value + "\r\n"}};
        EXPECT_EQ(world.resolve("C:\\mame\\mame.exe").paths, paths) << value;
        EXPECT_EQ(source("C:\\mame\\mame.exe"), Source(ini, 2, true)) << value;
    }
}

// Along ".;ini;ini\presets", and when that file sets inipath, the first
// mame.ini along it is read over it, as MAME reads mame.ini twice.
TEST_F(RomDirectoryRules, WithoutFilesBesideMameItsIniPathIsReadTwice) {
    const std::string ini = "C:\\mame\\ini\\mame.ini", other = "C:\\mame\\o\\mame.ini";
    const std::string exe = "C:\\mame\\mame.exe";
    world.iniFiles = {{"C:\\mame\\ini\\presets\\mame.ini", "rompath p"}};
    EXPECT_EQ(world.resolve(exe).paths, Paths{"C:\\mame\\p"});
    world.iniFiles[ini] = "# mine\nrompath a\ninipath \"none;%O%\"";
    EXPECT_EQ(source(exe), Source(ini, 2, true));
    world.expansions = {{"%O%", "o"}};
    world.iniFiles[other] = "rompath b";
    EXPECT_EQ(world.resolve(exe).paths, Paths{"C:\\mame\\b"});
    world.iniFiles[other] = "samplepath s";
    EXPECT_EQ(source(exe), Source(ini, 2, true)) << "what the second leaves is the first's";
    world.iniFiles = {{ini, "inipath o"}, {other, ""}};
    EXPECT_EQ(world.resolve(exe).paths, Paths{"C:\\mame\\Roms"});
    EXPECT_EQ(source(exe), Source(other, 0, false));
    EXPECT_EQ(source(""), Source()) << "no file at all";

    // A mame.ini beside MAME is the first file, and any beside MAME keeps
    // MAME's default inipath out.
    world.iniFiles["C:\\mame\\mame.ini"] = "rompath a\ninipath ini";
    world.iniFiles[ini] = "rompath b";
    EXPECT_EQ(world.resolve(exe).paths, Paths{"C:\\mame\\b"});
    world.iniFiles.erase("C:\\mame\\mame.ini");
    world.cfgFiles = {{"C:\\mame\\mame.cfg", "c"}};
    EXPECT_EQ(world.resolve(exe).paths, Paths{"C:\\mame\\c"});
}

// MAME's folders in Cyrillic, CJK ("表" splits in code page 932) and an emoji:
// the rules cut only at ASCII "\\", ":" and ";", which UTF-8 keeps whole.
TEST_F(RomDirectoryRules, FoldersInAnyLettersResolveAsTheyAreNamed) {
    const std::string mame = "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B";           // Игры
    const std::string table = mame + "\\\xE3\x82\xB2\xE3\x83\xBC\xE8\xA1\xA8"; // ゲー表
    const std::string pad = "D:\\\xF0\x9F\x8E\xAE";                            // 🎮
    world.folders.insert({mame, table, pad});
    world.iniFiles = {{mame + "\\mame.ini", "rompath \xE3\x82\xB2\xE3\x83\xBC\xE8\xA1\xA8;" + pad}};
    Resolved found = world.resolve(mame + "\\mame.exe");
    EXPECT_EQ(found.paths, (Paths{table, pad}));
    EXPECT_EQ(world.listed, table);

    world.iniFiles.clear();
    world.cfgFiles = {{mame + "\\mame.cfg", "\xE8\xA1\xA8"}};
    EXPECT_EQ(world.resolve(mame + "\\dosmame.exe").paths, Paths{mame + "\\roms"});
    world.folders.insert(mame + "\\\xE8\xA1\xA8");
    EXPECT_EQ(world.resolve(mame + "\\dosmame.exe").paths, Paths{mame + "\\\xE8\xA1\xA8"});
}

} // namespace
