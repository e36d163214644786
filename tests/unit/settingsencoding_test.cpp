// The settings file's encoding: in the code page while every value fits it,
// UTF-16 LE with its mark once one does not, every key kept; both accesses
// and the platform's own profile functions read the same values either way.
#include "settings/ProfileSettings.h"
#include "toolkit/files/FileReader.h"
#include "toolkit/files/IniFile.h"
#include "toolkit/files/PathText.h"
#include "toolkit/text/CodePage.h"
#include "toolkit/text/TextEncoding.h"

#include "support/Files.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>

using testing_support::errorOf;

namespace {

const std::string cyrillicMame = "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\mame.exe";    // Игры
const std::string cjkFolder = "C:\\\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0\xE8\xA1\xA8"; // ゲーム表
const std::string emojiName = "\xF0\x9F\x8E\xAE.bmp";                                 // 🎮
const std::string cafe = "C:\\caf\xC3\xA9\\mame.exe";                                 // café

class SettingsEncoding : public ::testing::Test {
protected:
    void SetUp() override {
        if (GetACP() != 1252)
            GTEST_SKIP() << "needs the Western code page";
    }
    void put(const std::string& bytes) { testing_support::writeFile(path, bytes); }
    std::string bytes() const { return tk::readWholeFile(path); }
    tk::MarkedText decoded() const { return tk::decodeText(bytes()); }

    // The value by the program's whole-file and per-key reads and by the
    // platform's own, which must agree.
    std::string value(const std::string& key) const {
        tk::IniFile file(path);
        std::string whole = file.readString("config", key, "<none>");
        EXPECT_EQ(file.profileString("config", key, "<none>"), whole) << key;
        wchar_t buffer[2048];
        DWORD length = GetPrivateProfileStringW(L"config", tk::utf8ToWide(key).c_str(), L"<none>",
                                                buffer, 2048, tk::utf8ToWide(path).c_str());
        EXPECT_EQ(tk::wideToUtf8(std::wstring_view(buffer, length)), whole) << key;
        return whole;
    }
    void perKey(const std::string& key, const std::string& value) {
        settings::ProfileSettings(path).writeString("config", key, value);
    }
    void wholeFile(const std::string& key, const std::string& value) {
        tk::IniFile file(path);
        file.writeString("config", key, value);
        EXPECT_EQ(file.readString("config", key, "-"), value) << "before the write-back";
        file.updateFile();
    }

    testing_support::TempFolder temp{"keston-encoding"};
    std::string path = temp.file("keston.ini");
    // A file of the code page, with a letter beyond ASCII and a comment.
    const std::string ansiFile = "; mine\r\n[config]\r\nmameexe=C:\\caf\xE9\\mame.exe\r\nxp=1\r\n"
                                 "[other]\r\nname=\xC9t\xE9\r\n";
};

TEST_F(SettingsEncoding, ValuesTheCodePageSpellsKeepTheFileInIt) {
    put(ansiFile);
    EXPECT_EQ(value("mameexe"), cafe);
    perKey("Skin", "C:\\caf\xC3\xA9\\s.bmp");
    EXPECT_NE(bytes().find("; mine"), std::string::npos) << "kept by per-key writes";
    wholeFile("parameters", "-caf\xC3\xA9");
    EXPECT_EQ(decoded().encoding, tk::TextEncoding::none);
    EXPECT_NE(bytes().find("Skin=C:\\caf\xE9\\s.bmp"), std::string::npos);
    EXPECT_NE(bytes().find("parameters=-caf\xE9"), std::string::npos);
    EXPECT_EQ(value("Skin"), "C:\\caf\xC3\xA9\\s.bmp");
    EXPECT_EQ(value("parameters"), "-caf\xC3\xA9");
}

// Both ways of writing, from a file of the code page and from none.
TEST_F(SettingsEncoding, AValueBeyondTheCodePageMakesTheFileUtf16WithEveryKeyKept) {
    const struct {
        const char* name;
        std::function<void(const std::string&, const std::string&)> write;
        bool keepsComments;
    } accesses[] = {
        {"per key", [this](auto& key, auto& value) { perKey(key, value); }, true},
        {"whole file", [this](auto& key, auto& value) { wholeFile(key, value); }, false},
    };
    for (const auto& access : accesses) {
        SCOPED_TRACE(access.name);
        for (bool existing : {true, false}) {
            SCOPED_TRACE(existing ? "existing file" : "no file");
            std::filesystem::remove(testing_support::pathOf(path));
            if (existing)
                put(ansiFile);
            access.write("mameexe", cyrillicMame);
            EXPECT_EQ(bytes().substr(0, 2), "\xFF\xFE");
            EXPECT_EQ(decoded().encoding, tk::TextEncoding::utf16le);
            EXPECT_EQ(value("mameexe"), cyrillicMame);
            if (existing) {
                EXPECT_EQ(value("xp"), "1");
                EXPECT_EQ(tk::IniFile(path).readString("other", "name", "-"), "\xC3\x89t\xC3\xA9");
                EXPECT_EQ(decoded().text.find("; mine") != std::string::npos, access.keepsComments);
            }
            // Later writes keep it so, whatever they hold.
            perKey("Skin", tk::joinPath(cjkFolder, emojiName));
            wholeFile("parameters", "-window");
            perKey("xp", "0");
            EXPECT_EQ(decoded().encoding, tk::TextEncoding::utf16le);
            EXPECT_EQ(value("Skin"), tk::joinPath(cjkFolder, emojiName));
            EXPECT_EQ(value("parameters"), "-window");
            EXPECT_EQ(value("xp"), "0");
            EXPECT_EQ(value("mameexe"), cyrillicMame);
        }
    }
}

TEST_F(SettingsEncoding, AFileMarkedAsUtf8StaysSo) {
    put(std::string(tk::utf8Mark) + "[config]\r\nxp=1\r\n");
    wholeFile("mameexe", cyrillicMame);
    perKey("Skin", tk::joinPath(cjkFolder, emojiName));
    EXPECT_EQ(decoded().encoding, tk::TextEncoding::utf8);
    EXPECT_EQ(value("mameexe"), cyrillicMame);
    EXPECT_EQ(value("Skin"), tk::joinPath(cjkFolder, emojiName));
    EXPECT_EQ(value("xp"), "1");
}

// The platform takes a file in UTF-16 without its mark for code-page text
// and would write code-page lines among its UTF-16 ones. Both accesses read
// it as UTF-16 and write it back so, with its mark, every other line as it
// was: from then on the platform reads what the program reads.
TEST_F(SettingsEncoding, Utf16WithoutItsMarkIsReadSoAndWrittenBackWithItsMark) {
    const std::string text = "; mine\r\n[config]\r\nmameexe=" + cyrillicMame + "\r\nxp=1\r\n";
    for (tk::TextEncoding encoding : {tk::TextEncoding::utf16le, tk::TextEncoding::utf16be}) {
        SCOPED_TRACE(encoding == tk::TextEncoding::utf16le ? "LE" : "BE");
        const std::string unmarked = tk::encodeText(text, encoding).substr(2);
        put(unmarked);
        EXPECT_EQ(tk::IniFile(path).readString("config", "mameexe", "-"), cyrillicMame);
        EXPECT_EQ(tk::IniFile(path).profileString("config", "xp", "-"), "1");
        perKey("Skin", cafe);
        EXPECT_EQ(bytes(), tk::encodeText(text + "Skin=" + cafe + "\r\n", encoding));
        EXPECT_EQ(value("mameexe"), cyrillicMame);
        EXPECT_EQ(value("Skin"), cafe);

        put(unmarked);
        wholeFile("parameters", "-window");
        EXPECT_EQ(decoded().encoding, encoding);
        EXPECT_EQ(value("parameters"), "-window");
        EXPECT_EQ(value("mameexe"), cyrillicMame);
        EXPECT_EQ(value("xp"), "1");
    }
}

TEST_F(SettingsEncoding, AFileInAFolderOfAnyLettersIsReadAndWrittenByBothAccesses) {
    path = tk::joinPath(temp.folder(cjkFolder.substr(3) + "\\" + emojiName), "keston.ini");
    put("[config]\r\nxp=0\r\n");
    perKey("xp", "1");
    wholeFile("mameexe", cafe);
    EXPECT_EQ(value("xp"), "1");
    EXPECT_EQ(value("mameexe"), cafe);
    EXPECT_EQ(decoded().encoding, tk::TextEncoding::none);

    std::filesystem::remove(testing_support::pathOf(path));
    std::filesystem::create_directory(testing_support::pathOf(path));
    EXPECT_EQ(errorOf([&] { perKey("xp", "0"); }), "Unable to write to " + path);
    EXPECT_EQ(errorOf([&] { wholeFile("xp", "0"); }), "Cannot open file " + path);
}

} // namespace
