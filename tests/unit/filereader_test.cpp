#include "toolkit/files/FileReader.h"

#include "catalogue/LookupKey.h"
#include "toolkit/base/Error.h"
#include "toolkit/base/Handles.h"

#include "support/Files.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using testing_support::errorOf;

class FileReader : public ::testing::Test {
protected:
    // Another program's handle on the file.
    tk::FileHandle holdFile(DWORD access, DWORD sharing) const {
        return tk::FileHandle(CreateFileA(path.c_str(), access, sharing, nullptr, OPEN_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    static void append(const tk::FileHandle& file, const std::string& text) {
        DWORD written = 0;
        SetFilePointer(file.get(), 0, nullptr, FILE_END);
        ASSERT_TRUE(
            WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
    }

    testing_support::TempFolder folder{"keston-reader"};
    std::string path = folder.file("gamelist");
};

TEST_F(FileReader, AFileAnotherProgramIsWritingReadsAsItStands) {
    tk::FileHandle writer = holdFile(GENERIC_WRITE, FILE_SHARE_READ);
    ASSERT_TRUE(writer);
    append(writer, "pacman  \"Pac-Man\"\r\n");
    EXPECT_EQ(tk::readWholeFile(path), "pacman  \"Pac-Man\"\r\n");
    EXPECT_EQ(catalogue::LookupKey("pacman", path), "\"Pac-Man\"");

    append(writer, "pong  \"Pong\"");
    EXPECT_EQ(catalogue::LookupKey("pong", path), "\"Pong\"");
    EXPECT_EQ(tk::readFileIfPresent(path), "pacman  \"Pac-Man\"\r\npong  \"Pong\"");
}

TEST_F(FileReader, AnOpenReaderNeitherBlocksAReplaceNorADelete) {
    testing_support::writeFile(path, "old");
    std::string replacement = folder.write("new", "new");
    {
        // Replaced the way a careful writer does: the old file moves aside.
        tk::InputFile reading(path);
        ASSERT_TRUE(ReplaceFileA(path.c_str(), replacement.c_str(), folder.file("old").c_str(), 0,
                                 nullptr, nullptr))
            << GetLastError();
        EXPECT_EQ(reading.readAll(), "old");
    }
    EXPECT_EQ(tk::readWholeFile(path), "new");
    {
        tk::InputFile reading(path);
        EXPECT_TRUE(DeleteFileA(path.c_str())) << GetLastError();
    }
    EXPECT_EQ(tk::readFileIfPresent(path), std::nullopt);
}

TEST_F(FileReader, FailuresKeepTheTextsOfTheirReaders) {
    EXPECT_EQ(tk::readFileIfPresent(path), std::nullopt);
    EXPECT_EQ(tk::readFileIfPresent(folder.file("none\\gamelist")), std::nullopt);
    EXPECT_EQ(errorOf([&] { tk::readWholeFile(path); }), "Cannot open file " + path);
    EXPECT_EQ(errorOf([&] { tk::InputFile{path}; }), "File not found");
    EXPECT_EQ(errorOf([&] { tk::InputFile{folder.file("none\\gamelist")}; }), "Invalid filename");

    std::string sub = folder.folder("sub");
    EXPECT_EQ(errorOf([&] { tk::readFileIfPresent(sub); }), "Cannot open file " + sub);
    EXPECT_EQ(errorOf([&] { tk::InputFile{sub}; }), "File access denied");

    // A program that shares nothing still locks every reader out.
    tk::FileHandle exclusive = holdFile(GENERIC_READ | GENERIC_WRITE, 0);
    ASSERT_TRUE(exclusive);
    EXPECT_EQ(errorOf([&] { tk::InputFile{path}; }), "I/O error 32");
    EXPECT_EQ(errorOf([&] { tk::readFileIfPresent(path); }), "Cannot open file " + path);
}

TEST_F(FileReader, ALimitCutsTheReadAndLargeFilesReadWhole) {
    std::string large(3 * 1024 * 1024 + 17, 'a');
    large[5] = '\0';
    testing_support::writeFile(path, large);
    EXPECT_EQ(tk::InputFile(path).readAll(), large);
    EXPECT_EQ(tk::InputFile(path).readAll(100 * 1024 + 1), large.substr(0, 100 * 1024 + 1));
}

} // namespace
