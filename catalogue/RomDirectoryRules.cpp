#include "catalogue/RomDirectoryRules.h"

#include "toolkit/files/PathText.h"

#include <algorithm>
#include <optional>

namespace catalogue {
namespace {

// A value is taken against the folder of the file it came from, which is
// MAME's folder, where MAME itself starts and reads it. MAME separates several
// directories with ";": such a value is taken part by part, unless it names a
// directory as a whole.
std::vector<std::string> relativeFix(const std::string& value, const std::string& configFile,
                                     RomSources& sources) {
    const std::string folder = tk::folderPart(configFile);
    std::string whole = tk::resolvedPath(folder, value);
    if (value.find(';') == std::string::npos || sources.isDirectory(whole))
        return {whole};
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = std::min(value.find(';', start), value.size());
        std::string part = value.substr(start, end - start);
        if (!part.empty())
            parts.push_back(tk::resolvedPath(folder, part));
        start = end + 1;
    }
    if (parts.empty())
        return {whole};
    return parts;
}

std::optional<std::string> iniCandidate(const std::string& mameExe, const std::string& folder,
                                        RomSources& sources) {
    for (std::string path :
         {tk::changeExtension(mameExe, ".ini"), tk::joinPath(folder, "mame.ini")})
        if (sources.fileExists(path))
            return path;
    return std::nullopt;
}

RomDirectory hand(std::vector<std::string> paths, RomPathSetter& setter) {
    bool entered = paths.size() == 1 ? setter.setPath(paths.front()) : setter.setPaths(paths);
    return {std::move(paths), entered};
}

} // namespace

RomDirectory chooseRomDirectory(const std::string& mameExe, RomSources& sources,
                                RomPathSetter& setter) {
    const std::string folder = tk::folderPart(mameExe);
    const std::string folderCfg = tk::joinPath(folder, "mame.cfg");
    if (auto ini = iniCandidate(mameExe, folder, sources)) {
        RomDirectory chosen = hand(relativeFix(sources.iniRomPath(*ini), *ini, sources), setter);
        if (!sources.fileExists(folderCfg) || !sources.userChoosesDosMame())
            return chosen;
    }
    const std::string exeCfg = tk::changeExtension(mameExe, ".cfg");
    if (sources.fileExists(exeCfg))
        return hand(relativeFix(sources.cfgRomPath(exeCfg), exeCfg, sources), setter);
    if (sources.fileExists(folderCfg)) {
        std::vector<std::string> paths =
            relativeFix(sources.cfgRomPath(folderCfg), folderCfg, sources);
        if (std::none_of(paths.begin(), paths.end(),
                         [&](const std::string& path) { return sources.isDirectory(path); }))
            paths = {tk::joinPath(folder, "roms")};
        return hand(std::move(paths), setter);
    }
    return hand({tk::joinPath(folder, "Roms")}, setter);
}

} // namespace catalogue
