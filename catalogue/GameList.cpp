#include "catalogue/GameList.h"

#include "toolkit/files/PathText.h"

namespace catalogue {

std::string descriptionOf(const std::string& value) {
    return value.size() < 3 ? std::string() : value.substr(1, value.size() - 2);
}

void appendGames(const std::vector<std::string>& fileNames, const GameLookup& lookup, bool showAll,
                 GameRows& rows) {
    for (const std::string& fileName : fileNames) {
        std::string shortName = tk::baseName(fileName);
        std::string value = lookup(shortName);
        if (value.empty() && !showAll)
            continue;
        std::string description = value.empty() ? shortName : descriptionOf(value);
        rows.shortNames.push_back(std::move(shortName));
        rows.descriptions.push_back(std::move(description));
    }
}

} // namespace catalogue
