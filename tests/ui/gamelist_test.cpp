#include "support/Files.h"
#include "support/MameFolder.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedDialogs.h"
#include "toolkit/base/Error.h"
#include "toolkit/files/Paths.h"
#include "toolkit/gui/Application.h"
#include "ui/GameListKeeper.h"
#include "ui/MainWindow.h"
#include "ui/StartListing.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace testing_support;

namespace {

// A MAME folder beside the test program with a mame.ini pointing at its roms
// folder, a settings file naming its mame.exe and a gamelist file.
class GameListBuild : public ::testing::Test {
protected:
    void SetUp() override {
        clearProgramFiles();
        writeFile(inProgramFolder("keston.ini"), "[config]\r\nmameexe=" + mame.exe() + "\r\n");
        writeFile(inProgramFolder("gamelist"), "Name:             Description:\n"
                                               "pacman           \"Pac-Man (Midway)\"\n"
                                               "galaga           \"Galaga (Namco rev. B)\"\n"
                                               "pong             \"Pong (Rev E) [TTL]\"\n"
                                               "blank            \"\"\n");
        mame.addRoms(
            {"pacman.zip", "PONG.ZIP", "galaga.7z", "galaga.zip", "readme.txt", "blank.zip"});
        CreateDirectoryA(mame.file("roms\\subfolder.zip").c_str(), nullptr);
        mame.addRoms({"hidden.zip"});
        SetFileAttributesA(mame.file("roms\\hidden.zip").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }

    void TearDown() override { clearProgramFiles(); }

    ScriptedDialogs dialogs;
    MameFolder mame{inProgramFolder("MAME folder"), "rompath                   roms\r\n"};
};

} // namespace

TEST_F(GameListBuild, ListsTheKnownRomFilesSortedAndIndexAligned) {
    const std::string started = tk::currentDirectory();
    ui::TForm1 w;
    w.refreshlist();

    EXPECT_EQ(w.ListBox1.items(),
              (std::vector<std::string>{"", "Galaga (Namco rev. B)", "Galaga (Namco rev. B)",
                                        "Pac-Man (Midway)", "Pong (Rev E) [TTL]"}));
    EXPECT_EQ(w.gamelist.items(),
              (std::vector<std::string>{"blank", "galaga", "galaga", "pacman", "PONG"}));
    EXPECT_EQ(w.ziplist.items(),
              (std::vector<std::string>{"blank.zip", "galaga.7z", "galaga.zip", "pacman.zip",
                                        "PONG.ZIP", "readme.txt", ""}));
    EXPECT_EQ(w.filelist.items(),
              (std::vector<std::string>{"blank.zip", "galaga.7z", "galaga.zip", "pacman.zip",
                                        "PONG.ZIP", "readme.txt"}));
    EXPECT_EQ(w.ListBox1.itemIndex(), -1);
    EXPECT_FALSE(w.Panel2.visible());
    EXPECT_EQ(tk::currentDirectory(), started);
    EXPECT_TRUE(dialogs.log.empty());
}

// The list needs only a window and the controls it is given: it fills those
// and names the game of the row chosen in the shown one.
TEST_F(GameListBuild, TheListFillsTheControlsItIsGivenAndNamesTheChosenGame) {
    tk::Form form({.caption = "List"});
    tk::SearchableListBox shown{form, {0, 0, 200, 100}};
    tk::FileListBox files{form, {0, 100, 50, 50}};
    tk::ListBox zips{form, {50, 100, 50, 50}};
    tk::ListBox games{form, {100, 100, 50, 50}};
    tk::Panel loading{form, {0, 0, 200, 150}, {}};
    tk::CheckBox showAll{form, {0, 150, 20, 20}, "", {}, tk::buttonFace};
    ui::GameListKeeper list(form,
                            {.shown = shown,
                             .files = files,
                             .zips = zips,
                             .games = games,
                             .loading = loading,
                             .showAll = showAll},
                            nullptr);
    list.build(mame.exe());

    EXPECT_EQ(shown.items().size(), 5u);
    EXPECT_FALSE(list.chosen());
    shown.setItemIndex(3);
    auto chosen = list.chosen();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->description, "Pac-Man (Midway)");
    EXPECT_EQ(chosen->shortName, "pacman");
    EXPECT_FALSE(list.renewing());
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(GameListBuild, ARelativeRomPathIsEachMamesOwnWhateverWasListedBefore) {
    MameFolder other{inProgramFolder("MAME2"), "rompath roms\r\n"};
    other.addRoms({"galaga.zip"});
    ui::TForm1 w;
    writeFile(inProgramFolder("keston.ini"), "[config]\r\nmameexe=" + other.exe() + "\r\n");
    w.refreshlist();
    EXPECT_EQ(w.gamelist.items(), std::vector<std::string>{"galaga"});
    EXPECT_EQ(w.ziplist.items(), (std::vector<std::string>{"galaga.zip", ""}));

    writeFile(inProgramFolder("keston.ini"), "[config]\r\nmameexe=" + mame.exe() + "\r\n");
    w.refreshlist();
    EXPECT_EQ(w.gamelist.items(),
              (std::vector<std::string>{"blank", "galaga", "galaga", "pacman", "PONG"}));
}

TEST_F(GameListBuild, ShowAllFilesListsUnknownFilesByBaseNameBothWays) {
    ui::TForm1 w;
    w.CheckBox1.setChecked(true);
    w.CheckBox1Click();
    EXPECT_EQ(w.gamelist.items(),
              (std::vector<std::string>{"blank", "galaga", "galaga", "pacman", "PONG", "readme"}));
    EXPECT_EQ(w.ListBox1.items().back(), "readme");

    w.ListBox1.setItemIndex(2);
    w.CheckBox1.setChecked(false);
    w.CheckBox1Click();
    EXPECT_EQ(w.gamelist.count(), 5);
    EXPECT_EQ(w.ListBox1.itemIndex(), -1);
}

TEST_F(GameListBuild, AMissingGamelistIsReportedAndUncoversTheWindow) {
    DeleteFileA(inProgramFolder("gamelist").c_str());
    ui::TForm1 w;
    try {
        w.refreshlist();
        ADD_FAILURE() << "the build went through without a gamelist file";
    } catch (const tk::Error& error) {
        EXPECT_STREQ(error.what(), "File not found");
    }
    EXPECT_FALSE(w.Panel2.visible());
    EXPECT_EQ(w.ListBox1.count(), 0);
}

TEST_F(GameListBuild, ARomDirectoryThatCannotBeEnteredGivesAnEmptyListAndOneMessage) {
    mame.writeIni("rompath missing\r\n");
    ui::TForm1 w;
    w.CheckBox1.setChecked(true);
    w.refreshlist();

    EXPECT_EQ(w.ListBox1.count(), 0);
    EXPECT_EQ(w.gamelist.count(), 0);
    EXPECT_EQ(dialogs.texts("message"),
              std::vector<std::string>{"The ROM directory " + mame.file("missing") +
                                       " cannot be opened. (rompath in " + mame.file("mame.ini") +
                                       ", line 1)"});
    EXPECT_FALSE(w.Panel2.visible());
}

// Without a mame.ini beside MAME, the one MAME writes into its "ini" folder
// names the list, without a rompath MAME's "roms"; the message leads to the
// line, or says the file names none.
TEST_F(GameListBuild, MamesIniInItsIniFolderNamesTheListAndTheMessageTheLine) {
    DeleteFileA(mame.file("mame.ini").c_str());
    CreateDirectoryA(mame.file("ini").c_str(), nullptr);
    const std::string ini = mame.file("ini\\mame.ini");
    writeFile(ini, "\xEF\xBB\xBF# core\nrompath \"a b\"\n");
    ui::TForm1 w;
    w.refreshlist();
    writeFile(ini, "# core\n");
    w.refreshlist();
    EXPECT_EQ(w.gamelist.count(), 5);
    std::filesystem::remove_all(mame.roms());
    w.refreshlist();
    const std::string cannot = " cannot be opened. (";
    EXPECT_EQ(
        dialogs.texts("message"),
        (std::vector<std::string>{
            "The ROM directory " + mame.file("a b") + cannot + "rompath in " + ini + ", line 2)",
            "The ROM directory " + mame.file("Roms") + cannot + "no rompath in " + ini + ")"}));
}

TEST_F(GameListBuild, AnIniAndAFolderCfgAskTheUserWhichMameItIs) {
    testing_support::writeFile(mame.file("mame.cfg"), "[DIRECTORY]\r\nROMPATH=dosroms\r\n");
    dialogs.answers = {IDYES};
    ui::TForm1 w;
    w.refreshlist();

    ASSERT_EQ(dialogs.log.size(), 1u);
    EXPECT_EQ(dialogs.log[0].kind, "ask");
    EXPECT_EQ(dialogs.log[0].text,
              "Could not determine MAME version. Pres \"YES\" for MAMEw or \"NO\" for MAME DOS");
    EXPECT_EQ(dialogs.log[0].title, "Select MAME Version");
    EXPECT_EQ(dialogs.log[0].flags, UINT(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(w.gamelist.count(), 5); // "YES": MAME's own ini names the folder
}

TEST_F(GameListBuild, StartUpWithBothFilesShowsTheBuiltList) {
    ui::TForm1 w;
    w.show();
    EXPECT_EQ(w.state(), ui::TForm1::State::list);
    EXPECT_EQ(w.gamelist.items(),
              (std::vector<std::string>{"blank", "galaga", "galaga", "pacman", "PONG"}));
}

// A listing begun before the window decides the folders the start's build
// decides, and the window it is handed to takes it.
TEST_F(GameListBuild, TheStartTakesTheRomFolderListedBeforeTheWindow) {
    ui::StartListing handed, another;
    ui::TForm1 w(handed);
    w.show();
    ASSERT_EQ(w.gamelist.count(), 5);
    const tk::DirectorySetting& shown = w.filelist.directory();
    const tk::ListingAhead::Choice decided{shown.folders(), shown.pattern()};
    EXPECT_EQ(another.take(decided), w.filelist.items());
    EXPECT_EQ(handed.take(decided), std::nullopt) << "the start took it";
}

TEST_F(GameListBuild, DescriptionsInUtf8ShowEveryLetterAndOlderOnesKeepTheCodePage) {
    // MAME writes UTF-8; a list from an older MAME or edited by hand may hold
    // the code page's letters (here "Caf\xE9"), line by line.
    writeFile(inProgramFolder("gamelist"), "Name:             Description:\n"
                                           "attache          \"Attach\xC3\xA9\"\n"
                                           "fm16beta         \"FM-16\xCE\xB2\"\n"
                                           "cafe             \"Caf\xE9 Express\"\n"
                                           "jackpot          \"\xC2\xA3"
                                           "15 Jackpot\"\n");
    mame.addRoms({"attache.zip", "cafe.zip", "fm16beta.zip", "jackpot.zip"});
    ui::TForm1 w;
    w.refreshlist();

    std::vector<std::wstring> shown;
    for (int i = 0; i < w.ListBox1.count(); ++i)
        shown.push_back(w.ListBox1.unicodeItem(i));
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"Attach\u00E9", L"Caf\u00E9 Express",
                                                L"FM-16\u03B2", L"\u00A315 Jackpot"}));
    EXPECT_EQ(w.gamelist.items(),
              (std::vector<std::string>{"attache", "cafe", "fm16beta", "jackpot"}))
        << "the short names, row for row";
}

// Games whose descriptions begin alike, in the order of their file names:
// Attaché, ωmega Race, Pac-Man, Pong, Pong Doubles.
class GamesToFind : public GameListBuild {
protected:
    void SetUp() override {
        GameListBuild::SetUp();
        writeFile(inProgramFolder("gamelist"), "Name:             Description:\n"
                                               "pong             \"Pong (Rev E) [TTL]\"\n"
                                               "pongd            \"Pong Doubles [TTL]\"\n"
                                               "pacman           \"Pac-Man (Midway)\"\n"
                                               "omega            \"\xCF\x89mega Race\"\n"
                                               "attache          \"Attach\xC3\xA9\"\n");
        mame.addRoms({"pongd.zip", "omega.zip", "attache.zip"});
        w.refreshlist();
    }

    // Keys as the system hands them to the list: the row selected after them.
    std::wstring type(const std::wstring& keys) {
        for (wchar_t key : keys)
            PostMessageW(w.ListBox1.handle(), WM_CHAR, key, 0);
        return selected();
    }
    std::wstring press(WPARAM key, bool shift = false) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(w.ListBox1.handle(), WM_KEYDOWN, key, 0);
        std::wstring row = selected();
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        return row;
    }
    std::wstring selected() {
        tk::application().processMessages();
        return w.ListBox1.unicodeItem(w.ListBox1.itemIndex());
    }

    ui::TForm1 w;
};

TEST_F(GamesToFind, TypedLettersSelectTheFirstRowBeginningWithThem) {
    EXPECT_EQ(type(L"PON"), L"Pong (Rev E) [TTL]") << "case does not matter";
    EXPECT_EQ(type(L"g d"), L"Pong Doubles [TTL]") << "the letters extend the prefix";
    EXPECT_EQ(type(L"\b\b"), L"Pong (Rev E) [TTL]") << "Backspace shortens it";
    EXPECT_EQ(type(L"x"), L"Pong (Rev E) [TTL]") << "no row begins so: the selection stays";
    Sleep(tk::TypedPrefix::defaultPause + 200);
    EXPECT_EQ(type(L"pa"), L"Pac-Man (Midway)") << "after a pause a prefix starts anew";
    Sleep(tk::TypedPrefix::defaultPause + 200);
    EXPECT_EQ(type(L"\u03A9M"), L"\u03C9mega Race") << "upper and lower case in every script";
    Sleep(tk::TypedPrefix::defaultPause + 200);
    EXPECT_EQ(type(L"ATTACH\u00C9"), L"Attach\u00E9");
    EXPECT_EQ(w.ListBox1.findPrefix(L"pong d"), 4);
    EXPECT_EQ(w.ListBox1.findPrefix(L"Pong Doubles [TTL] and more"), -1);
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(GamesToFind, TheSameLetterAgainAndF3MoveOnToTheNextRowBeginningSo) {
    EXPECT_EQ(type(L"p"), L"Pac-Man (Midway)");
    EXPECT_EQ(type(L"p"), L"Pong (Rev E) [TTL]") << "the same letter again";
    EXPECT_EQ(type(L"pp"), L"Pac-Man (Midway)") << "round past the last row";
    EXPECT_EQ(press(VK_F3), L"Pong (Rev E) [TTL]");
    EXPECT_EQ(press(VK_F3, true), L"Pac-Man (Midway)");
    EXPECT_EQ(press(VK_F3, true), L"Pong Doubles [TTL]") << "round past the first row";
    Sleep(tk::TypedPrefix::defaultPause + 200);
    EXPECT_EQ(type(L"pong "), L"Pong (Rev E) [TTL]") << "a whole text from the top";
    EXPECT_EQ(press(VK_F3), L"Pong Doubles [TTL]");
    EXPECT_EQ(press(VK_F3), L"Pong (Rev E) [TTL]");
    EXPECT_EQ(type(L"d"), L"Pong Doubles [TTL]");
    EXPECT_EQ(press(VK_F3), L"Pong Doubles [TTL]") << "the only row so stays";
    EXPECT_EQ(type(L"x"), L"Pong Doubles [TTL]") << "nothing begins so: the selection stays";
    EXPECT_EQ(press(VK_F3), L"Pong Doubles [TTL]");
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(GamesToFind, AfterAClickOnShowAllFilesTheKeysStillFindGames) {
    w.show();
    tk::application().processMessages();
    ASSERT_TRUE(w.ListBox1.focused());
    SendMessageW(w.CheckBox1.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(w.CheckBox1.handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(w.CheckBox1.checked()) << "the click went through";
    EXPECT_TRUE(w.ListBox1.focused());

    // The Tab key brings the focus to the box, and it stays there.
    w.focusNext(false);
    EXPECT_TRUE(w.CheckBox1.focused());
}
