#include "assets/resource.h"
#include "settings/Settings.h"
#include "support/Files.h"
#include "support/PictureFiles.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedDialogs.h"
#include "support/StoredShape.h"
#include "support/TempFolder.h"
#include "support/UnicodeNames.h"
#include "toolkit/pictures/Resources.h"
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <commdlg.h>

using namespace testing_support;

namespace {

constexpr COLORREF red = RGB(255, 0, 0);

// A first start (configuration state) with the scripted dialogs; the user's
// pictures live in a folder of their own, with a blank in its name.
class Skins : public ::testing::Test {
protected:
    void SetUp() override {
        clearProgramFiles();
        redSkin = write("red skin.bmp", bitmap24(60, 120, [](int, int) { return red; }));
        start();
    }

    void TearDown() override {
        window.reset();
        RemoveDirectoryA(inProgramFolder("keston.ini").c_str());
        clearProgramFiles();
    }

    void start() {
        window.reset();
        window = std::make_unique<ui::TForm1>();
        window->show();
    }

    std::string write(const std::string& name, const Bytes& bytes) const {
        return folder.write(name, std::string(bytes.begin(), bytes.end()));
    }

    // The fuzzers' crafted pictures, reached through Wine's drive for the Unix root.
    static std::string corpusFile(const std::string& name) {
        return "Z:" KESTON_SOURCE_DIR "/tests/fuzz/corpus/" + name;
    }

    std::string settings() const { return readFile(inProgramFolder("keston.ini")); }
    std::string skinSetting(const std::string& value) const {
        return "[config]\r\nSkin=" + value + "\r\n";
    }

    // What the window shows at a point of its client area, as painted.
    COLORREF shown(int x, int y) const {
        tk::WindowDc dc(window->handle());
        return GetPixel(dc.get(), x, y);
    }

    void chooseSkin(const std::string& path) {
        dialogs.files.push_back(path);
        window->SpeedButton13Click();
    }

    ScriptedDialogs dialogs;
    TempFolder folder = TempFolder::at(inProgramFolder("my skins"));
    std::string redSkin;
    std::unique_ptr<ui::TForm1> window;
};

} // namespace

TEST_F(Skins, TheStoredShapeIsTheProgramsResourceAndShapesTheWindow) {
    shape::Bytes payload = storedMainWindowPayload();
    EXPECT_EQ(tk::resourceBytes(IDR_MAIN_WINDOW_REGION), payload);
    EXPECT_EQ(window->ShapedForm1.WriteMask2(), payload);
}

TEST_F(Skins, ChangeSkinAsksForAPictureShowsItAtOnceAndKeepsItAcrossStarts) {
    chooseSkin(redSkin);
    ASSERT_EQ(dialogs.log.size(), 1u);
    const auto& request = dialogs.log[0].request;
    EXPECT_EQ(dialogs.log[0].kind, "openPicture");
    EXPECT_EQ(request.filter, "Bitmaps (*.bmp)|*.bmp|All files|*.*");
    EXPECT_EQ(request.options & (OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING),
              DWORD(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING));
    EXPECT_FALSE(request.options & OFN_FILEMUSTEXIST);

    EXPECT_EQ(window->ShapedForm1.picture().width(), 60);
    EXPECT_EQ(shown(20, 100), red);
    // Beyond the smaller skin the window's own colour shows.
    EXPECT_EQ(shown(20, 330), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(settings(), skinSetting(redSkin));
    // The shape stays the stored one, whatever the picture.
    tk::RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(window->handle(), region.get()), COMPLEXREGION);

    start();
    EXPECT_EQ(window->ShapedForm1.picture().width(), 60);
}

TEST_F(Skins, ASkinInAFolderNamedInAnyLettersLoads) {
    int width = 40;
    for (const std::string& name : unicodeNames) {
        std::string skin = makeFolder(folder.file(name)) + "\\" + name + ".bmp";
        Bytes bytes = bitmap24(++width, 120, [](int, int) { return red; });
        writeFileAt(skin, std::string(bytes.begin(), bytes.end()));
        chooseSkin(skin);
        EXPECT_EQ(window->ShapedForm1.picture().width(), width) << name;
        EXPECT_EQ(shown(20, 100), red) << name;
    }
}

TEST_F(Skins, DefaultSkinRestoresTheDesignSkinAndStoresTheEmptyValue) {
    chooseSkin(redSkin);
    window->SpeedButton14Click();
    EXPECT_EQ(window->ShapedForm1.picture().width(), 338);
    EXPECT_EQ(window->ShapedForm1.picture().height(), 381);
    EXPECT_NE(shown(20, 100), red);
    EXPECT_EQ(settings(), skinSetting(""));

    // An empty value names no file: a skin.bmp beside the program is not used.
    writeFile(inProgramFolder("skin.bmp"), readFile(redSkin));
    start();
    EXPECT_EQ(window->ShapedForm1.picture().width(), 338);
}

TEST_F(Skins, APictureThatCannotBeLoadedChangesNeitherSkinNorSetting) {
    Bytes garbage(64, 'x');
    const std::vector<std::pair<std::string, std::string>> cases = {
        {write("notes.txt", garbage), "Unknown picture file extension (.txt)"},
        {folder.file("typed.bmp"), "Cannot open file " + folder.file("typed.bmp")},
        {write("broken.bmp", garbage), "Bitmap image is not valid"},
        {write("broken.ico", garbage), "Icon image is not valid"},
        {write("broken.emf", garbage), "Metafile is not valid"},
        {write("broken.wmf", garbage), "Metafile is not valid"},
        // A bitmap the system's player failed on, ending the program.
        {corpusFile("wmf/finding-rle8-stretchdib.wmf"), "Metafile is not valid"},
        // A picture that would take gigabytes once decoded.
        {corpusFile("icon/finding-png-bomb.ico"), "Picture is too large: 23000 x 23000 pixels"},
    };
    for (const auto& [path, text] : cases) {
        EXPECT_EQ(errorOf([&] { chooseSkin(path); }), text);
        EXPECT_EQ(window->ShapedForm1.picture().width(), 338) << path;
        EXPECT_FALSE(tk::fileExists(inProgramFolder("keston.ini"))) << path;
    }
}

TEST_F(Skins, CancellingTheDialogChangesAndWritesNothing) {
    window->SpeedButton13Click();
    EXPECT_EQ(dialogs.log.size(), 1u);
    EXPECT_EQ(window->ShapedForm1.picture().width(), 338);
    EXPECT_FALSE(tk::fileExists(inProgramFolder("keston.ini")));
}

TEST_F(Skins, AnIconChosenAsSkinBecomesAnEmptyBitmapAndItsPathIsStored) {
    std::string icon = write("logo.ico", iconFile({{16, red}}));
    chooseSkin(icon);
    EXPECT_TRUE(window->ShapedForm1.picture().isBitmap());
    EXPECT_TRUE(window->ShapedForm1.picture().empty());
    EXPECT_EQ(shown(20, 100), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(settings(), skinSetting(icon));
}

TEST_F(Skins, AFailedSettingsWriteKeepsTheNewPictureUnstored) {
    CreateDirectoryA(inProgramFolder("keston.ini").c_str(), nullptr);
    EXPECT_EQ(errorOf([&] { chooseSkin(redSkin); }),
              "Unable to write to " + settings::settingsPath());
    EXPECT_EQ(window->ShapedForm1.picture().width(), 60);
}
