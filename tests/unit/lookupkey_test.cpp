#include "catalogue/GameIndex.h"
#include "catalogue/LookupKey.h"
#include "toolkit/base/Error.h"
#include "toolkit/base/Handles.h"

#include "support/Files.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>

using catalogue::LookupKey;

using testing_support::errorOf;

namespace {

class KeyFile : public ::testing::Test {
protected:
    void write(const std::string& content) { testing_support::writeFile(path, content); }
    std::string lookupIn(const std::string& content, const std::string& key) {
        write(content);
        return LookupKey(key, path);
    }

    testing_support::TempFolder folder{"keston-lookup"};
    std::string path = folder.file("mame.ini");
};

TEST_F(KeyFile, AFileWithAByteOrderMarkIsReadInItsEncoding) {
    // MAME writes its ini with a UTF-8 mark; editors save in UTF-16 with one.
    EXPECT_EQ(lookupIn("\xEF\xBB\xBFrompath roms\r\n", "rompath"), "roms");
    std::string little = "\xFF\xFE", big = "\xFE\xFF";
    for (char c : std::string("rompath C:\\roms\r\n")) {
        little += std::string{c, '\0'};
        big += std::string{'\0', c};
    }
    EXPECT_EQ(lookupIn(little, "rompath"), "C:\\roms");
    EXPECT_EQ(lookupIn(big, "rompath"), "C:\\roms");
    // Keys and values of a marked file are UTF-8, whatever the code page.
    EXPECT_EQ(lookupIn("\xEF\xBB\xBFrompath C:\\\xE8\xA1\xA8\r\n", "rompath"), "C:\\\xE8\xA1\xA8");
    EXPECT_EQ(lookupIn("\xEF\xBB\xBF\xC3\xA9t\xC3\xA9 \"summer\"\r\n", "\xC3\xA9t\xC3\xA9"),
              "\"summer\"");
}

TEST_F(KeyFile, LinesAcrossTheReadingBufferAreWhole) {
    // The reader takes the file in pieces of 64 KiB: a CR LF cut between two
    // pieces must not leave an extra line, and a line cut between them must
    // come back whole.
    std::string filler = "filler " + std::string(65536 - 8, 'x') + "\r";
    ASSERT_EQ(filler.size(), 65536u);
    std::string content = filler + "\nrompath roms\r\nsplit" + std::string(70000, 'y') + " end";
    EXPECT_EQ(lookupIn(content, "rompath"), "roms");
    EXPECT_EQ(lookupIn(content, "split" + std::string(70000, 'y')), "end");
}

TEST_F(KeyFile, FailuresAreInputOutputErrorsNamedByTheSystemsNumber) {
    EXPECT_EQ(errorOf([&] { LookupKey("rompath", path); }), "File not found");
    EXPECT_EQ(errorOf([&] { LookupKey("rompath", folder.file("none\\mame.ini")); }),
              "Invalid filename");
    std::filesystem::create_directories(path);
    EXPECT_EQ(errorOf([&] { LookupKey("rompath", path); }), "File access denied");
    std::filesystem::remove(path);

    write("rompath roms\r\n");
    {
        tk::FileHandle held(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(errorOf([&] { LookupKey("rompath", path); }), "I/O error 32");
        EXPECT_EQ(errorOf([&] { catalogue::GameIndex(path).lookup("rompath"); }), "I/O error 32");
    }
    EXPECT_EQ(LookupKey("rompath", path), "roms");
    write("");
    EXPECT_EQ(LookupKey("rompath", path), "");
    EXPECT_EQ(LookupKey("", path), "");
}

TEST_F(KeyFile, TheIndexReadsTheFileAtTheFirstLookupAndRaisesItsErrorThere) {
    catalogue::GameIndex index(path);
    EXPECT_EQ(errorOf([&] { index.lookup("pacman"); }), "File not found");
    write("pacman \"Pac-Man\"\r\n");
    EXPECT_EQ(index.lookup("pacman"), "\"Pac-Man\"");
    write("pacman \"changed\"\r\n");
    EXPECT_EQ(index.lookup("pacman"), "\"Pac-Man\"") << "read once per index";

    catalogue::GameIndex empty(path);
    write("");
    EXPECT_EQ(empty.lookup("pacman"), "");
}

} // namespace
