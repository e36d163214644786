// The list-building walk: which ROM files become rows of the two
// index-aligned lists (descriptions shown, short names handed to MAME).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace catalogue {

struct GameRows {
    std::vector<std::string> shortNames;   // the hidden list: base names as files spell them
    std::vector<std::string> descriptions; // the visible list, row for row
};

// The value a gamelist line gives for a base name; empty when unknown.
using GameLookup = std::function<std::string(const std::string& baseName)>;

// A -listfull value without its enclosing double quotes; fewer than three
// characters give the empty description.
std::string descriptionOf(const std::string& value);

// Appends one row for each known file (and, with showAll, each unknown file
// under its base name), in the order of `fileNames`. A lookup that raises
// ends the walk; the rows appended before it stay.
void appendGames(const std::vector<std::string>& fileNames, const GameLookup& lookup, bool showAll,
                 GameRows& rows);

} // namespace catalogue
