#include "catalogue/GameIndex.h"
#include "catalogue/GameList.h"
#include "toolkit/base/Error.h"
#include "toolkit/files/DirectoryListing.h"
#include "toolkit/files/Paths.h"

#include "support/Files.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

namespace {

// The pieces of a list build together on a real ROM folder and gamelist file.
class RomFolder : public ::testing::Test {
protected:
    void write(const std::string& path, const std::string& content) {
        testing_support::writeFile(path, content);
    }
    struct Columns {
        Names shortNames;
        Names descriptions;
    };
    Columns build(bool showAll) {
        tk::DirectorySetting setting;
        EXPECT_TRUE(setting.setPath(roms));
        catalogue::GameIndex index(gamelist);
        catalogue::GameRows rows(tk::listFiles(setting.folders(), setting.pattern()));
        catalogue::appendGames([&](std::string_view key) { return index.lookup(key); }, showAll,
                               rows);
        Names names, descriptions;
        for (std::size_t row = 0; row < rows.size(); ++row) {
            names.emplace_back(rows.shortName(row));
            descriptions.emplace_back(rows.description(row));
        }
        return {names, descriptions};
    }

    testing_support::TempFolder temp{"keston-games"};
    std::string roms = temp.folder("roms");
    std::string gamelist = temp.file("gamelist");
};

TEST_F(RomFolder, TheListFollowsTheSortedFilesWithCapitalsAndTwins) {
    write(gamelist, "Name:     Description:\n"
                    "galaga    \"Galaga\"\n"
                    "pacman    \"Pac-Man (Midway)\"\n"
                    "dkong     \"Donkey Kong (US set 1)\"\n");
    for (const char* name : {"pacman.zip", "pacman.7z", "GALAGA.ZIP", "readme.txt", "dkong"})
        write(tk::joinPath(roms, name), "");
    fs::create_directories(tk::joinPath(roms, "galaga"));

    Columns rows = build(false);
    EXPECT_EQ(rows.shortNames, (Names{"dkong", "GALAGA", "pacman", "pacman"}));
    EXPECT_EQ(rows.descriptions,
              (Names{"Donkey Kong (US set 1)", "Galaga", "Pac-Man (Midway)", "Pac-Man (Midway)"}));
    rows = build(true);
    EXPECT_EQ(rows.shortNames, (Names{"dkong", "GALAGA", "pacman", "pacman", "readme"}));
    EXPECT_EQ(rows.descriptions.back(), "readme");
}

TEST_F(RomFolder, AMissingGamelistMattersOnlyWhenThereIsAFileToLookUp) {
    EXPECT_EQ(build(true).shortNames, Names{});
    write(tk::joinPath(roms, "pacman.zip"), "");
    try {
        build(false);
        ADD_FAILURE() << "no error";
    } catch (const tk::Error& error) {
        EXPECT_STREQ(error.what(), "File not found");
    }
}

} // namespace
