#include "settings/FilesFolder.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/PathText.h"
#include "toolkit/files/SystemError.h"
#include "toolkit/text/CodePage.h"

#include "support/Files.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <latch>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path native(const std::string& utf8) {
    return fs::path(tk::utf8ToWide(utf8));
}

bool folderThere(const std::string& utf8) {
    return fs::is_directory(native(utf8));
}

// Where a user whose profile name is not Latin keeps application data.
class FilesFolder : public ::testing::Test {
protected:
    testing_support::TempFolder temp{"keston-files"};
    std::string program = temp.folder("Program");
    std::string appData = temp.folder("AppData");
    std::string user = tk::joinPath(appData, "Иван 🎮 KESTON PRIME");
};

} // namespace

TEST_F(FilesFolder, AWritableProgramFolderKeepsEverythingAndLeavesNoTrace) {
    settings::FilesPlace place = settings::chooseFilesPlace(program, user);
    EXPECT_EQ(place.folder, program);
    EXPECT_EQ(place.notice, "");
    EXPECT_FALSE(folderThere(user)) << "nothing made for nothing";
    EXPECT_TRUE(fs::is_empty(program)) << "the probe file is gone";
}

// A folder that is not there cannot be written either: it stands for a
// read-only one, which the tests' privileged user could write.
TEST_F(FilesFolder, AnUnwritableProgramFolderMovesToTheUserFolderAndSaysSoOnce) {
    std::string locked = tk::joinPath(program, "Locked");
    settings::FilesPlace first = settings::chooseFilesPlace(locked, user);
    EXPECT_EQ(first.folder, user);
    EXPECT_TRUE(folderThere(user));
    EXPECT_EQ(first.notice, "The folder " + locked +
                                " cannot be written: KESTON PRIME keeps its settings, game "
                                "list and skin in " +
                                user + " from now on.");

    settings::FilesPlace next = settings::chooseFilesPlace(locked, user);
    EXPECT_EQ(next.folder, user);
    EXPECT_EQ(next.notice, "") << "told once";
    EXPECT_TRUE(fs::is_empty(native(user)));
}

// Copies started together from a read-only folder: whichever makes the user
// folder tells of it, and the others use the folder it made.
TEST_F(FilesFolder, CopiesStartedTogetherAllMoveAndOneSaysSo) {
    std::string locked = tk::joinPath(program, "Locked");
    for (int round = 0; round < 10; ++round) {
        std::string folder = tk::joinPath(appData, "KESTON PRIME " + std::to_string(round));
        std::vector<settings::FilesPlace> places(6);
        std::latch ready(static_cast<std::ptrdiff_t>(places.size()));
        std::vector<std::thread> copies;
        for (settings::FilesPlace& place : places)
            copies.emplace_back([&] {
                ready.arrive_and_wait();
                place = settings::chooseFilesPlace(locked, folder);
            });
        for (std::thread& copy : copies)
            copy.join();
        int told = 0;
        for (const settings::FilesPlace& place : places) {
            EXPECT_EQ(place.folder, folder) << "round " << round;
            told += place.notice.empty() ? 0 : 1;
        }
        EXPECT_EQ(told, 1) << "round " << round;
    }
}

// A program folder that can be written again: the user's newer settings in
// the per-user folder stay the ones read, until the user moves them back.
TEST_F(FilesFolder, SettingsInTheUserFolderStayThereWhileItHoldsThem) {
    testing_support::writeFile(tk::joinPath(program, "keston.ini"), "[config]\r\nxp=0\r\n");
    fs::create_directory(native(user));
    testing_support::writeFile(tk::joinPath(user, "gamelist"), "pong Pong\n");
    EXPECT_EQ(settings::chooseFilesPlace(program, user).folder, program)
        << "a list alone is no settings";

    testing_support::writeFile(tk::joinPath(user, "keston.ini"), "[config]\r\nxp=1\r\n");
    settings::FilesPlace place = settings::chooseFilesPlace(program, user);
    EXPECT_EQ(place.folder, user);
    EXPECT_EQ(place.notice, "");

    fs::remove(native(tk::joinPath(user, "keston.ini")));
    EXPECT_EQ(settings::chooseFilesPlace(program, user).folder, program) << "moved back";
}

// With nowhere better, the program folder stays, and each start names both
// folders and the system's reason for each.
TEST_F(FilesFolder, WithNowhereBetterTheProgramFolderStaysAndEachStartSaysWhy) {
    std::string locked = tk::joinPath(program, "Locked");
    EXPECT_EQ(settings::chooseFilesPlace(locked, "").folder, locked) << "no APPDATA";

    std::string file = temp.write("file", "x");
    testing_support::writeFile(tk::joinPath(appData, "KESTON PRIME"), "x");
    for (auto [userFolder, error] :
         {std::pair{tk::joinPath(file, "KESTON PRIME"), ERROR_PATH_NOT_FOUND},
          {tk::joinPath(appData, "KESTON PRIME"), ERROR_ALREADY_EXISTS},
          {tk::joinPath(appData, "missing\\KESTON PRIME"), ERROR_PATH_NOT_FOUND}}) {
        settings::FilesPlace place = settings::chooseFilesPlace(locked, userFolder);
        EXPECT_EQ(place.folder, locked) << userFolder;
        EXPECT_EQ(place.notice, "The folder " + locked + " cannot be written (" +
                                    tk::systemErrorText(ERROR_PATH_NOT_FOUND) +
                                    "), nor can the folder " + userFolder + " be made (" +
                                    tk::systemErrorText(error) +
                                    "): KESTON PRIME cannot keep its settings, game list and "
                                    "skin.");
    }
}

TEST(UserFilesFolder, IsKestonPrimeInTheRoamingApplicationDataNamedByAFullPath) {
    wchar_t appData[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH), 0u);
    EXPECT_EQ(settings::userFilesFolder(), tk::wideToUtf8(appData) + "\\KESTON PRIME");
    for (const wchar_t* relative : {L"AppData", L"C:AppData", L"\\AppData", L"..\\AppData"}) {
        SetEnvironmentVariableW(L"APPDATA", relative);
        EXPECT_EQ(settings::userFilesFolder(), "") << tk::wideToUtf8(relative);
    }
    SetEnvironmentVariableW(L"APPDATA", L"\\\\server\\users\\AppData");
    EXPECT_EQ(settings::userFilesFolder(), "\\\\server\\users\\AppData\\KESTON PRIME");
    SetEnvironmentVariableW(L"APPDATA", appData);
}

TEST(WriteFailureCause, NamesWhatStopsTheWrite) {
    testing_support::TempFolder temp("keston-cause");
    std::string file = temp.write("keston.ini", "[config]\r\n");
    EXPECT_EQ(settings::writeFailureCause(file), "") << "nothing stops it";
    EXPECT_EQ(settings::writeFailureCause(temp.file("missing\\keston.ini")),
              "its folder cannot be written");
    {
        tk::FileHandle held(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(settings::writeFailureCause(file), "the file is in use by another program");
    }
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(settings::writeFailureCause(file), "the file is read-only");
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}
