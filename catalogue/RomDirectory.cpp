#include "catalogue/RomDirectory.h"

#include "catalogue/LookupKey.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Paths.h"

#include <algorithm>
#include <optional>

namespace catalogue {
namespace {

constexpr char romPathKey[] = "rompath";

bool isDirectory(const std::string& text) {
    return tk::folderExists(text);
}

// A value that is no directory (relative to the current directory) is taken
// relative to the folder of the file it came from. MAME separates several
// directories with ";": such a value is fixed part by part, unless it names a
// directory as a whole.
std::vector<std::string> relativeFix(const std::string& value, const std::string& configFile) {
    if (isDirectory(value))
        return {value};
    const std::string folder = tk::folderPart(configFile);
    std::string whole = tk::joinPath(folder, value);
    if (value.find(';') == std::string::npos || isDirectory(whole))
        return {whole};
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = std::min(value.find(';', start), value.size());
        std::string part = value.substr(start, end - start);
        if (!part.empty())
            parts.push_back(isDirectory(part) ? part : tk::joinPath(folder, part));
        start = end + 1;
    }
    if (parts.empty())
        return {whole};
    return parts;
}

std::optional<std::string> iniCandidate(const std::string& mameExe, const std::string& folder) {
    for (std::string path :
         {tk::changeExtension(mameExe, ".ini"), tk::joinPath(folder, "mame.ini")})
        if (tk::fileExists(path))
            return path;
    return std::nullopt;
}

std::vector<std::string> cfgRomPaths(const std::string& cfgFile) {
    return relativeFix(IniFile(cfgFile).readString("directory", romPathKey, ""), cfgFile);
}

RomDirectory hand(std::vector<std::string> paths, RomPathSetter& setter) {
    bool entered = paths.size() == 1 ? setter.setPath(paths.front()) : setter.setPaths(paths);
    return {std::move(paths), entered};
}

// Both kinds of configuration file beside MAME leave its generation open.
bool userChoosesDosMame() {
    return tk::dialogs().ask(
               "Could not determine MAME version. Pres \"YES\" for MAMEw or \"NO\" for MAME DOS",
               "Select MAME Version", MB_YESNO | MB_ICONEXCLAMATION) == IDNO;
}

} // namespace

RomDirectory ResolveRomDirectory(const std::string& mameExe, RomPathSetter& setter) {
    const std::string folder = tk::folderPart(mameExe);
    const std::string folderCfg = tk::joinPath(folder, "mame.cfg");
    if (auto ini = iniCandidate(mameExe, folder)) {
        RomDirectory chosen = hand(relativeFix(LookupKey(romPathKey, *ini), *ini), setter);
        if (!tk::fileExists(folderCfg) || !userChoosesDosMame())
            return chosen;
    }
    const std::string exeCfg = tk::changeExtension(mameExe, ".cfg");
    if (tk::fileExists(exeCfg))
        return hand(cfgRomPaths(exeCfg), setter);
    if (tk::fileExists(folderCfg)) {
        std::vector<std::string> paths = cfgRomPaths(folderCfg);
        if (std::none_of(paths.begin(), paths.end(), isDirectory))
            paths = {tk::joinPath(folder, "roms")};
        return hand(std::move(paths), setter);
    }
    return hand({tk::joinPath(folder, "Roms")}, setter);
}

RomDirectory ResolveRomDirectory(RomPathSetter& setter) {
    return ResolveRomDirectory(IniFile(settingsPath()).readString(configSection, mameExeKey, ""),
                               setter);
}

} // namespace catalogue
