// The game rows of the main window, held once: the files of MAME's ROM
// folder as listed, and the rows the list-building walk makes of them, each
// a file (whose base name MAME is given) and the description shown for it.
// The window's lists are views of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace catalogue {

// Every text is kept once, in one block per kind, and found by where it
// ends: a row costs a few bytes beside its letters.
class GameRows {
public:
    GameRows() = default;
    // The files, in the order given; no rows yet.
    explicit GameRows(const std::vector<std::string>& files);

    std::size_t fileCount() const { return fileEnds_.size(); }
    // Empty beyond the last file.
    std::string_view file(std::size_t index) const;

    std::size_t size() const { return rows_.size(); }
    // The row's file without its extension, as the file spells it; empty
    // beyond the last row.
    std::string_view shortName(std::size_t row) const;
    // In UTF-8; empty beyond the last row.
    std::string_view description(std::size_t row) const;

    // A row for the file at `file` (an index of file()), after the last.
    void add(std::size_t file, std::string_view description);
    // Gives back the room kept for rows that did not come.
    void shrinkToFit();

private:
    struct Row {
        std::uint32_t file;
        std::uint32_t descriptionEnd;
    };

    std::string files_;
    std::vector<std::uint32_t> fileEnds_;
    std::string descriptions_;
    std::vector<Row> rows_;
};

// The value a gamelist line gives for a base name, in UTF-8; empty when
// unknown.
using GameLookup = std::function<std::string(std::string_view baseName)>;

// A -listfull value without its enclosing double quotes; fewer than three
// characters give the empty description.
std::string_view descriptionOf(std::string_view value);

// Adds one row for each known file (and, with showAll, each unknown file
// under its base name), in the order of the files. A lookup that raises
// ends the walk; the rows added before it stay.
void appendGames(const GameLookup& lookup, bool showAll, GameRows& rows);

} // namespace catalogue
