#include "catalogue/GameList.h"
#include "toolkit/base/Error.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using Names = std::vector<std::string>;

namespace {

// Each column of the rows, in row order.
Names shortNames(const catalogue::GameRows& rows) {
    Names names;
    for (std::size_t row = 0; row < rows.size(); ++row)
        names.emplace_back(rows.shortName(row));
    return names;
}

Names descriptions(const catalogue::GameRows& rows) {
    Names names;
    for (std::size_t row = 0; row < rows.size(); ++row)
        names.emplace_back(rows.description(row));
    return names;
}

catalogue::GameRows walk(const Names& files, const std::map<std::string, std::string>& known,
                         bool showAll, Names* asked = nullptr) {
    catalogue::GameRows rows(files);
    catalogue::appendGames(
        [&](std::string_view key) {
            if (asked)
                asked->emplace_back(key);
            auto found = known.find(std::string(key));
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
    EXPECT_EQ(shortNames(rows), (Names{"a.b", "noext", "pacman", "pacman", "quotes", "one", "x"}));
    EXPECT_EQ(descriptions(rows), (Names{"Dotted", "No extension", "Pac-Man (Midway)",
                                         "Pac-Man (Midway)", "", "", "X"}));
    Names held;
    for (std::size_t file = 0; file <= rows.fileCount(); ++file)
        held.emplace_back(rows.file(file));
    EXPECT_EQ(held, (Names{"a.b.zip", "noext", "pacman.7z", "pacman.zip", "quotes.zip", "one.zip",
                           "readme.txt", "x.zip", ""}))
        << "every file stays, known or not, and none beyond the last";
    EXPECT_EQ(rows.shortName(rows.size()), "");
    EXPECT_EQ(rows.description(rows.size()), "");

    rows = walk(files, known, true);
    EXPECT_EQ(shortNames(rows),
              (Names{"a.b", "noext", "pacman", "pacman", "quotes", "one", "readme", "x"}));
    EXPECT_EQ(descriptions(rows), (Names{"Dotted", "No extension", "Pac-Man (Midway)",
                                         "Pac-Man (Midway)", "", "", "readme", "X"}));
}

TEST(GameWalk, ALookupErrorEndsTheWalkKeepingTheRowsBeforeIt) {
    catalogue::GameRows rows({"a.zip", "b.zip", "broken.zip", "c.zip"});
    auto lookup = [](std::string_view key) -> std::string {
        if (key == "broken")
            throw tk::InOutError(2);
        return std::string("\"").append(key).append("\"");
    };
    EXPECT_THROW(catalogue::appendGames(lookup, false, rows), tk::InOutError);
    EXPECT_EQ(shortNames(rows), (Names{"a", "b"}));
    EXPECT_EQ(descriptions(rows), (Names{"a", "b"}));
}

} // namespace
