#include "catalogue/GameList.h"

#include "toolkit/base/Error.h"

#include <limits>

namespace catalogue {
namespace {

// Where a block's end is kept in 32 bits: four gigabytes of names is more
// than any listing holds.
std::uint32_t endOf(const std::string& block) {
    if (block.size() > std::numeric_limits<std::uint32_t>::max())
        throw tk::Error("Too many games to list");
    return static_cast<std::uint32_t>(block.size());
}

// The base name MAME knows a file by: the name without its extension.
std::string_view withoutExtension(std::string_view fileName) {
    return fileName.substr(0, fileName.rfind('.'));
}

} // namespace

GameRows::GameRows(const std::vector<std::string>& files) {
    std::size_t room = 0;
    for (const std::string& file : files)
        room += file.size();
    files_.reserve(room);
    fileEnds_.reserve(files.size());
    for (const std::string& file : files) {
        files_ += file;
        fileEnds_.push_back(endOf(files_));
    }
    // Most files are games: one row each is the room the walk takes.
    rows_.reserve(files.size());
}

std::string_view GameRows::file(std::size_t index) const {
    if (index >= fileCount())
        return {};
    std::size_t start = index == 0 ? 0 : fileEnds_[index - 1];
    return std::string_view(files_).substr(start, fileEnds_[index] - start);
}

std::string_view GameRows::shortName(std::size_t row) const {
    if (row >= size())
        return {};
    return withoutExtension(file(rows_[row].file));
}

std::string_view GameRows::description(std::size_t row) const {
    if (row >= size())
        return {};
    std::size_t start = row == 0 ? 0 : rows_[row - 1].descriptionEnd;
    return std::string_view(descriptions_).substr(start, rows_[row].descriptionEnd - start);
}

void GameRows::add(std::size_t file, std::string_view description) {
    descriptions_ += description;
    rows_.push_back({static_cast<std::uint32_t>(file), endOf(descriptions_)});
}

void GameRows::shrinkToFit() {
    descriptions_.shrink_to_fit();
    rows_.shrink_to_fit();
}

std::string_view descriptionOf(std::string_view value) {
    return value.size() < 3 ? std::string_view() : value.substr(1, value.size() - 2);
}

void appendGames(const GameLookup& lookup, bool showAll, GameRows& rows) {
    for (std::size_t file = 0; file < rows.fileCount(); ++file) {
        std::string_view shortName = withoutExtension(rows.file(file));
        std::string value = lookup(shortName);
        if (value.empty() && !showAll)
            continue;
        rows.add(file, value.empty() ? shortName : descriptionOf(value));
    }
    rows.shrinkToFit();
}

} // namespace catalogue
