#include "catalogue/GameList.h"
#include "toolkit/base/Error.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using Names = std::vector<std::string>;

namespace {

catalogue::GameRows walk(const Names& files, const std::map<std::string, std::string>& known,
                         bool showAll, Names* asked = nullptr) {
    catalogue::GameRows rows;
    catalogue::appendGames(
        files,
        [&](const std::string& key) {
            if (asked)
                asked->push_back(key);
            auto found = known.find(key);
            return found == known.end() ? std::string() : found->second;
        },
        showAll, rows);
    return rows;
}

TEST(GameWalk, KnownFilesGiveTheirDescriptionUnknownOnesOnlyWhenAllAreShown) {
    const std::map<std::string, std::string> known = {{"pacman", "\"Pac-Man (Midway)\""},
                                                      {"a.b", "\"Dotted\""},
                                                      {"noext", "\"No extension\""},
                                                      {"quotes", "\"\""},
                                                      {"one", "\""},
                                                      {"x", "\"X\""}};
    const Names files = {"a.b.zip",    "noext",   "pacman.7z",  "pacman.zip",
                         "quotes.zip", "one.zip", "readme.txt", "x.zip"};
    Names asked;
    catalogue::GameRows rows = walk(files, known, false, &asked);
    EXPECT_EQ(asked, (Names{"a.b", "noext", "pacman", "pacman", "quotes", "one", "readme", "x"}));
    EXPECT_EQ(rows.shortNames, (Names{"a.b", "noext", "pacman", "pacman", "quotes", "one", "x"}));
    EXPECT_EQ(rows.descriptions, (Names{"Dotted", "No extension", "Pac-Man (Midway)",
                                        "Pac-Man (Midway)", "", "", "X"}));

    rows = walk(files, known, true);
    EXPECT_EQ(rows.shortNames,
              (Names{"a.b", "noext", "pacman", "pacman", "quotes", "one", "readme", "x"}));
    EXPECT_EQ(rows.descriptions, (Names{"Dotted", "No extension", "Pac-Man (Midway)",
                                        "Pac-Man (Midway)", "", "", "readme", "X"}));
}

TEST(GameWalk, ALookupErrorEndsTheWalkKeepingTheRowsBeforeIt) {
    catalogue::GameRows rows;
    auto lookup = [](const std::string& key) -> std::string {
        if (key == "broken")
            throw tk::InOutError(2);
        return "\"" + key + "\"";
    };
    EXPECT_THROW(
        catalogue::appendGames({"a.zip", "b.zip", "broken.zip", "c.zip"}, lookup, false, rows),
        tk::InOutError);
    EXPECT_EQ(rows.shortNames, (Names{"a", "b"}));
    EXPECT_EQ(rows.descriptions, (Names{"a", "b"}));
}

} // namespace
