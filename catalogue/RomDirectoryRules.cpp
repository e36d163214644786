#include "catalogue/RomDirectoryRules.h"

#include "toolkit/files/PathText.h"

#include <algorithm>
#include <string_view>

namespace catalogue {
namespace {

constexpr char romPathKey[] = "rompath";
constexpr char iniPathKey[] = "inipath";
// Where MAME's Windows builds look for mame.ini unless it says otherwise.
constexpr char defaultIniPath[] = ".;ini;ini\\presets";

// A "#" outside double quotes begins a comment.
std::string_view beforeComment(std::string_view raw) {
    bool quoted = false;
    for (std::size_t at = 0; at < raw.size(); ++at) {
        if (raw[at] == '"')
            quoted = !quoted;
        else if (raw[at] == '#' && !quoted)
            return raw.substr(0, at);
    }
    return raw;
}

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view space = " \t\r\n\v\f";
    std::size_t first = text.find_first_not_of(space);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

// MAME takes off double quotes around the whole value, which it writes
// itself around one that holds a blank. Quotes around one part of a list
// stay, as MAME keeps them.
std::string mameOptionValue(std::string_view raw) {
    std::string_view value = trimmed(beforeComment(raw));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// The entries of a ";" list; an empty one names nothing.
std::vector<std::string> listEntries(const std::string& value) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = std::min(value.find(';', start), value.size());
        if (end > start)
            entries.push_back(value.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

// MAME's Windows build expands %NAME% in each entry as it opens it; DOS
// MAME's mame.cfg knows no such thing.
enum class Variables { kept, expanded };

// Relative paths are MAME's, which starts in its own folder.
std::string placed(const std::string& entry, const std::string& mameFolder, RomSources& sources,
                   Variables variables) {
    return tk::resolvedPath(
        mameFolder, variables == Variables::expanded ? sources.expandedEnvironment(entry) : entry);
}

// A value that names a directory as a whole is that directory; any other is
// taken part by part at its ";".
std::vector<std::string> relativeFix(const std::string& value, const std::string& mameFolder,
                                     RomSources& sources, Variables variables) {
    std::string whole = placed(value, mameFolder, sources, variables);
    if (value.find(';') == std::string::npos || sources.isDirectory(whole))
        return {whole};
    std::vector<std::string> parts;
    for (const std::string& entry : listEntries(value))
        parts.push_back(placed(entry, mameFolder, sources, variables));
    if (parts.empty())
        return {whole};
    return parts;
}

std::optional<std::string> firstIniAlong(const std::string& iniPath, const std::string& mameFolder,
                                         RomSources& sources) {
    for (const std::string& entry : listEntries(iniPath)) {
        std::string folder =
            entry == "." ? mameFolder : placed(entry, mameFolder, sources, Variables::expanded);
        std::string ini = tk::joinPath(folder, "mame.ini");
        if (sources.fileExists(ini))
            return ini;
    }
    return std::nullopt;
}

MameIniRomPath romPathIn(const std::string& ini, RomSources& sources) {
    KeyValue found = sources.iniValue(ini, romPathKey);
    return {mameOptionValue(found.value), {ini, found.line, found.line != 0}};
}

// MAME reads mame.ini twice: when the first file sets inipath, the first
// mame.ini along it is read over it, and what that one sets wins.
MameIniRomPath readMameIni(const std::string& firstIni, const std::string& mameFolder,
                           RomSources& sources) {
    MameIniRomPath first = romPathIn(firstIni, sources);
    KeyValue iniPath = sources.iniValue(firstIni, iniPathKey);
    if (iniPath.line == 0)
        return first;
    auto secondIni = firstIniAlong(mameOptionValue(iniPath.value), mameFolder, sources);
    if (!secondIni)
        return first;
    MameIniRomPath second = romPathIn(*secondIni, sources);
    return second.source.setsRomPath || !first.source.setsRomPath ? second : first;
}

std::optional<std::string> iniCandidate(const std::string& mameExe, const std::string& folder,
                                        RomSources& sources) {
    for (std::string path :
         {tk::changeExtension(mameExe, ".ini"), tk::joinPath(folder, "mame.ini")})
        if (sources.fileExists(path))
            return path;
    return std::nullopt;
}

RomFolders fromIni(const std::string& ini, const std::string& folder, RomSources& sources) {
    MameIniRomPath read = readMameIni(ini, folder, sources);
    return {relativeFix(read.value, folder, sources, Variables::expanded), std::move(read.source)};
}

RomFolders fromCfg(const std::string& cfg, const std::string& folder, RomSources& sources) {
    return {relativeFix(sources.cfgRomPath(cfg), folder, sources, Variables::kept), {cfg, 0, true}};
}

// When the folder mame.cfg names no directory, "roms" beside MAME stands in,
// which no file names.
RomFolders fromFolderCfg(const std::string& cfg, const std::string& folder, RomSources& sources) {
    std::vector<std::string> paths =
        relativeFix(sources.cfgRomPath(cfg), folder, sources, Variables::kept);
    if (std::any_of(paths.begin(), paths.end(),
                    [&](const std::string& path) { return sources.isDirectory(path); }))
        return {std::move(paths), {cfg, 0, true}};
    return {{tk::joinPath(folder, "roms")}, {}};
}

// Without a rompath MAME looks in "roms" in its folder.
RomFolders fromIniPath(const std::string& folder, RomSources& sources) {
    std::optional<MameIniRomPath> read = mameIniOnIniPath(folder, sources);
    if (read && read->source.setsRomPath)
        return {relativeFix(read->value, folder, sources, Variables::expanded),
                std::move(read->source)};
    return {{tk::joinPath(folder, "Roms")}, read ? read->source : RomPathSource{}};
}

// The CFG beside MAME, named after it or the folder's; without one, MAME's
// inipath.
RomFolders fromCfgOrIniPath(const std::string& mameExe, const std::string& folder,
                            const std::string& folderCfg, RomSources& sources) {
    const std::string exeCfg = tk::changeExtension(mameExe, ".cfg");
    if (sources.fileExists(exeCfg))
        return fromCfg(exeCfg, folder, sources);
    if (sources.fileExists(folderCfg))
        return fromFolderCfg(folderCfg, folder, sources);
    return fromIniPath(folder, sources);
}

} // namespace

std::optional<MameIniRomPath> mameIniOnIniPath(const std::string& mameFolder, RomSources& sources) {
    auto firstIni = firstIniAlong(defaultIniPath, mameFolder, sources);
    if (!firstIni)
        return std::nullopt;
    return readMameIni(*firstIni, mameFolder, sources);
}

RomDecision chooseRomDirectory(const std::string& mameExe, RomSources& sources) {
    const std::string folder = tk::folderPart(mameExe);
    const std::string folderCfg = tk::joinPath(folder, "mame.cfg");
    RomDecision decision;
    if (auto ini = iniCandidate(mameExe, folder, sources)) {
        decision.handed.push_back(fromIni(*ini, folder, sources));
        if (!sources.fileExists(folderCfg) || !sources.userChoosesDosMame())
            return decision;
    }
    decision.handed.push_back(fromCfgOrIniPath(mameExe, folder, folderCfg, sources));
    return decision;
}

} // namespace catalogue
