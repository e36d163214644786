#include "support/Files.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "toolkit/base/Handles.h"
#include "toolkit/text/CodePage.h"
#include "toolkit/text/TextEncoding.h"
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>

using namespace testing_support;

namespace {

const std::string applyFirst = "Please, click Apply first, to take advantage of the changes";
const std::string question = "This MAME doesn't have the configuration file, do you want to "
                             "create it? (ONLY FOR WINDOWS MAME VERSION)";
const std::string notFound = "MAME.ini or MAME.cfg not found!";
const std::string utf8Mark(tk::utf8Mark);

// The configuration panel of a program whose settings name the tests' MAME
// stand-in, in a MAME folder of its own that holds no configuration file yet.
class ConfigEditor : public ::testing::Test {
protected:
    void SetUp() override {
        clearProgramFiles();
        mameExe = useMame("mame.exe");
        window = std::make_unique<ui::TForm1>();
        window->show();
        ASSERT_EQ(window->state(), ui::TForm1::State::configuration);
        window->Edit1.setText(mameExe);
        window->xp.setChecked(true);
    }

    void TearDown() override {
        window.reset();
        SetEnvironmentVariableA("FAKEMAME_NO_INI", nullptr);
        clearProgramFiles();
    }

    // Puts the stand-in into the MAME folder under this name and stores it
    // as the MAME executable, as "Apply" would.
    std::string useMame(const std::string& name) {
        std::string exe = copyFakeMame(tk::joinPath(mame, name));
        writeFile(inProgramFolder("keston.ini"), "[config]\r\nmameexe=" + exe + "\r\n");
        return exe;
    }

    std::string inMame(const std::string& name) const { return tk::joinPath(mame, name); }

    // "Configure MAME", expecting the editor to open.
    void openEditor() {
        window->SpeedButton5Click();
        ASSERT_EQ(window->state(), ui::TForm1::State::editor);
    }

    ScriptedDialogs dialogs;
    TempFolder folder = TempFolder::at(inProgramFolder("MAME folder"));
    std::string mame = folder.path();
    std::string mameExe;
    std::unique_ptr<ui::TForm1> window;
};

TEST_F(ConfigEditor, TheLastExistingCandidateWinsAndCloseReturnsToThePanel) {
    ui::TForm1& w = *window;
    std::string mame32 = useMame("mame32.exe");
    w.Edit1.setText(mame32);
    // Each file added here comes before all the ones added earlier.
    for (const char* name : {"mame.ini", "mame32.ini", "mame32.cfg", "mame.cfg"}) {
        writeFile(inMame(name), std::string("from ") + name);
        openEditor();
        EXPECT_EQ(w.Cxdetexto.text(), std::string("from ") + name);
        EXPECT_TRUE(w.Cxdetexto.visible() && w.SpeedButton10.visible() &&
                    w.SpeedButton11.visible());
        EXPECT_FALSE(w.Panel1.visible() || w.SpeedButton7.visible() || w.SpeedButton8.visible() ||
                     w.SpeedButton9.visible());

        w.SpeedButton11Click();
        EXPECT_EQ(w.state(), ui::TForm1::State::configuration);
        EXPECT_FALSE(w.SpeedButton10.visible() || w.SpeedButton11.visible());
        EXPECT_TRUE(w.SpeedButton7.visible() && w.SpeedButton8.visible() &&
                    w.SpeedButton9.visible());
    }
    EXPECT_TRUE(dialogs.log.empty());
}

// Without a file beside MAME, the one MAME reads along its inipath is the
// one to edit: one made beside MAME would silently take its place.
TEST_F(ConfigEditor, WithoutAFileBesideMameTheOneOnItsIniPathOpens) {
    ui::TForm1& w = *window;
    for (const char* name : {"ini", "ini\\presets", "o"})
        CreateDirectoryA(inMame(name).c_str(), nullptr);
    writeFile(inMame("ini\\presets\\mame.ini"), "rompath p");
    openEditor();
    EXPECT_EQ(w.Cxdetexto.text(), "rompath p");
    writeFile(inMame("ini\\mame.ini"), "inipath o");
    writeFile(inMame("o\\mame.ini"), "rompath o");
    openEditor();
    w.Cxdetexto.setText("rompath mine");
    w.SpeedButton10Click();
    EXPECT_EQ(readFile(inMame("o\\mame.ini")), "rompath mine");
    EXPECT_FALSE(tk::fileExists(inMame("mame.ini")));
}

TEST_F(ConfigEditor, AnExecutableOtherThanTheStoredOneAsksForApplyFirst) {
    ui::TForm1& w = *window;
    writeFile(inMame("mame.ini"), "rompath roms\n");
    std::string upperCase = mameExe;
    upperCase.replace(upperCase.size() - 8, 8, "MAME.EXE");
    for (const std::string& typed : {inMame("mame64.exe"), upperCase}) {
        dialogs.log.clear();
        w.Edit1.setText(typed);
        w.SpeedButton5Click();
        EXPECT_EQ(dialogs.texts("message"), std::vector<std::string>{applyFirst}) << typed;
        EXPECT_EQ(dialogs.log.size(), 1u) << typed;
        EXPECT_EQ(w.state(), ui::TForm1::State::configuration) << typed;
    }

    // Without stored settings not even an empty field matches.
    DeleteFileA(inProgramFolder("keston.ini").c_str());
    dialogs.log.clear();
    w.Edit1.setText("");
    w.SpeedButton5Click();
    EXPECT_EQ(dialogs.texts("message"), std::vector<std::string>{applyFirst});
    EXPECT_EQ(w.state(), ui::TForm1::State::configuration);
}

TEST_F(ConfigEditor, EveryLineBreakShowsAsCrLfAndSaveWritesTheMemoExactly) {
    ui::TForm1& w = *window;
    // Not UTF-8: the system's code page, as the program reads its own files.
    std::string upperHalf;
    for (int byte = 128; byte < 256; ++byte)
        upperHalf += static_cast<char>(byte);
    writeFile(inMame("mame.ini"), "#\nrompath roms\rsamplepath x\r\n" + upperHalf + "\n");
    std::string shownText = "#\r\nrompath roms\r\nsamplepath x\r\n" + upperHalf + "\r\n";

    openEditor();
    EXPECT_EQ(w.Cxdetexto.text(), tk::ansiToUtf8(shownText)) << "CR LF, the upper half unchanged";
    w.SpeedButton10Click();
    EXPECT_EQ(dialogs.texts("message"), std::vector<std::string>{"File Saved!"});
    EXPECT_EQ(readFile(inMame("mame.ini")), shownText);

    w.Cxdetexto.setText("rompath games");
    w.SpeedButton10Click();
    EXPECT_EQ(readFile(inMame("mame.ini")), "rompath games") << "nothing added";
    EXPECT_EQ(w.state(), ui::TForm1::State::editor);
}

// A letter the code page has no byte for would be written as "?": the file
// becomes UTF-8 with its mark instead, the user is told so and of which
// letter, and it stays UTF-8 from then on.
TEST_F(ConfigEditor, ALetterOutsideTheCodePageSavesTheFileInUtf8AndSaysSo) {
    ui::TForm1& w = *window;
    writeFile(inMame("mame.ini"), "rompath C:\\Caf\xE9\n");
    openEditor();
    SetWindowTextW(w.Cxdetexto.handle(), L"rompath C:\\Caf\u00E9;\u03B2\r\n");
    w.SpeedButton10Click();
    EXPECT_EQ(readFile(inMame("mame.ini")), utf8Mark + "rompath C:\\Caf\xC3\xA9;\xCE\xB2\r\n");
    EXPECT_EQ(dialogs.texts("message"),
              std::vector<std::string>{
                  "File Saved! In UTF-8 now: the system's code page has no \"\xCE\xB2\"."});

    dialogs.log.clear();
    w.Cxdetexto.setText("rompath C:\\Caf\xC3\xA9\r\n");
    w.SpeedButton10Click();
    EXPECT_EQ(readFile(inMame("mame.ini")), utf8Mark + "rompath C:\\Caf\xC3\xA9\r\n");
    EXPECT_EQ(dialogs.texts("message"), std::vector<std::string>{"File Saved!"});
}

TEST_F(ConfigEditor, Utf8ShowsEveryLetterAndLinesNotEditedComeBackByteForByte) {
    ui::TForm1& w = *window;
    // A mark says UTF-8, and a byte that is no UTF-8 (a path typed in the
    // code page) stays as it was; well-formed UTF-8 needs no mark.
    const std::string marked = utf8Mark + "# \xC3\xA9\xCE\xB2\n"
                                          "rompath C:\\Caf\xE9;R\xC3\xA9tro \xCE\xB2\n"
                                          "readconfig 1\n";
    const std::string unmarked = "rompath R\xC3\xA9tro \xE2\x82\xAC\nreadconfig 1\n";
    const std::wstring shown[] = {L"# \u00E9\u03B2\r\nrompath C:\\Caf\xDCE9;R\u00E9tro \u03B2\r\n"
                                  L"readconfig 1\r\n",
                                  L"rompath R\u00E9tro \u20AC\r\nreadconfig 1\r\n"};
    const std::string saved[] = {
        utf8Mark + "# \xC3\xA9\xCE\xB2\r\n"
                   "rompath C:\\Caf\xE9;R\xC3\xA9tro \xCE\xB2\r\n"
                   "readconfig 0 \xE2\x88\x82\r\n",
        "rompath R\xC3\xA9tro \xE2\x82\xAC\r\nreadconfig 0 \xE2\x88\x82\r\n"};
    const std::string files[] = {marked, unmarked};
    for (int i = 0; i < 2; ++i) {
        writeFile(inMame("mame.ini"), files[i]);
        openEditor();
        EXPECT_EQ(tk::utf8ToWide(w.Cxdetexto.text()), shown[i]) << i;

        std::wstring edited = tk::utf8ToWide(w.Cxdetexto.text());
        edited.replace(edited.size() - 3, 1, L"0 \u2202");
        SetWindowTextW(w.Cxdetexto.handle(), edited.c_str());
        w.SpeedButton10Click();
        EXPECT_EQ(readFile(inMame("mame.ini")), saved[i]) << i;
        w.SpeedButton11Click();
    }
}

TEST_F(ConfigEditor, CloseDropsUnsavedEditsAndTheNextOpeningReadsTheDisk) {
    ui::TForm1& w = *window;
    writeFile(inMame("mame.cfg"), "[directory]\r\nrompath=roms\r\n");
    openEditor();
    w.Cxdetexto.setText("edited");
    w.SpeedButton11Click();
    EXPECT_EQ(readFile(inMame("mame.cfg")), "[directory]\r\nrompath=roms\r\n");

    openEditor();
    EXPECT_EQ(w.Cxdetexto.text(), "[directory]\r\nrompath=roms\r\n");
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(ConfigEditor, ASaveThatCannotReplaceTheFileKeepsItAndTheMemoText) {
    ui::TForm1& w = *window;
    writeFile(inMame("mame.ini"), "rompath roms\r\n");
    openEditor();
    w.Cxdetexto.setText("rompath other\r\n");
    {
        tk::FileHandle held(CreateFileA(inMame("mame.ini").c_str(), GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(errorOf([&] { w.SpeedButton10Click(); }),
                  "Cannot create file " + inMame("mame.ini"));
    }
    EXPECT_EQ(readFile(inMame("mame.ini")), "rompath roms\r\n");
    EXPECT_EQ(w.Cxdetexto.text(), "rompath other\r\n");
    EXPECT_TRUE(dialogs.texts("message").empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(mame), {}), 2)
        << "only mame.exe and mame.ini";
}

TEST_F(ConfigEditor, FilesTheMemoCannotHoldOrThatCannotBeReadNeverOpen) {
    ui::TForm1& w = *window;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {std::string("rompath roms\n\0samplepath x\n", 27), "Text exceeds memo capacity"},
        {std::string(tk::Memo::capacity - 1, 'x') + "\n", "Text exceeds memo capacity"},
    };
    for (const auto& [content, error] : cases) {
        writeFile(inMame("mame.ini"), content);
        EXPECT_EQ(errorOf([&] { w.SpeedButton5Click(); }), error);
        EXPECT_EQ(w.state(), ui::TForm1::State::configuration);
        EXPECT_EQ(w.Cxdetexto.text(), "");
    }

    writeFile(inMame("mame.ini"), "rompath roms\n");
    tk::FileHandle held(CreateFileA(inMame("mame.ini").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(errorOf([&] { w.SpeedButton5Click(); }), "Cannot open file " + inMame("mame.ini"));
    EXPECT_EQ(w.state(), ui::TForm1::State::configuration);
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(ConfigEditor, AMegabyteFileLoadsAndSavesWhole) {
    ui::TForm1& w = *window;
    std::string content, saved;
    for (int line = 0; content.size() < 1024 * 1024; ++line) {
        std::string text = "option" + std::to_string(line) + std::string(20, ' ') + "value";
        content += text + "\n";
        saved += text + "\r\n";
    }
    writeFile(inMame("mame.ini"), content);

    auto start = std::chrono::steady_clock::now();
    openEditor();
    auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::cout << "loading " << content.size() << " bytes took " << took.count() << " ms\n";

    w.SpeedButton10Click();
    EXPECT_EQ(readFile(inMame("mame.ini")), saved);
}

TEST_F(ConfigEditor, YesHasMameCreateTheFileAndAsksAgainWhileItWritesNone) {
    ui::TForm1& w = *window;
    SetEnvironmentVariableA("FAKEMAME_NO_INI", "1");
    dialogs.answers = {IDYES, IDNO};
    std::string current = tk::currentDirectory();
    w.SpeedButton5Click();

    ASSERT_EQ(dialogs.texts("ask"), (std::vector<std::string>{question, question}));
    for (const auto& entry : dialogs.log) {
        if (entry.kind == "ask") {
            EXPECT_EQ(entry.title, "Create MAME.INI");
            EXPECT_EQ(entry.flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
        }
    }
    EXPECT_EQ(dialogs.texts("message"), std::vector<std::string>{notFound});
    EXPECT_EQ(w.state(), ui::TForm1::State::configuration);
    EXPECT_EQ(w.exe.FileName, tk::joinPath(tk::systemFolder(), "cmd.exe"));
    EXPECT_EQ(w.exe.CommandLine, "/c \"" + tk::shortPath(mameExe) + " -cc\"");
    std::string log = readFile(inMame("fakemame.log"));
    EXPECT_EQ(log.substr(log.size() - (" -cc in " + mame + "\n").size()), " -cc in " + mame + "\n");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_EQ(tk::currentDirectory(), current) << "only MAME starts in its folder";

    SetEnvironmentVariableA("FAKEMAME_NO_INI", nullptr);
    dialogs.log.clear();
    dialogs.answers = {IDYES};
    openEditor();
    EXPECT_EQ(dialogs.texts("ask").size(), 1u);
    EXPECT_EQ(w.Cxdetexto.text(), "rompath                   roms\r\n");
    EXPECT_TRUE(tk::fileExists(inMame("mame.ini")));
}

} // namespace
