// Which directory the game list shows: the decision over MAME's configuration
// files beside the MAME executable and along MAME's inipath, asked of an
// injected world, so that it holds no file system and no dialog of its own.
#pragma once

#include "catalogue/KeyLines.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace catalogue {

// The file list's path setter, handed full paths. Each call returns whether
// the directory can be listed; a later call replaces an earlier one.
class RomPathSetter {
public:
    virtual ~RomPathSetter() = default;
    [[nodiscard]] virtual bool setPath(const std::string& path) = 0;
    // The parts of a ";" list, whose files are listed together.
    [[nodiscard]] virtual bool setPaths(const std::vector<std::string>& paths) = 0;
};

// What the decision asks: which files and directories exist, what the
// configuration files say, and which MAME the user runs.
class RomSources {
public:
    virtual ~RomSources() = default;
    virtual bool fileExists(const std::string& path) = 0;
    virtual bool isDirectory(const std::string& path) = 0;
    // A key's value in a file of key lines (mame.ini) as the line holds it.
    virtual KeyValue iniValue(const std::string& iniFile, const std::string& key) = 0;
    // The rompath of a sectioned file's "directory" section (mame.cfg).
    virtual std::string cfgRomPath(const std::string& cfgFile) = 0;
    // The text with each %NAME% of the environment replaced by its value, as
    // MAME's Windows build does to a path before it opens it.
    virtual std::string expandedEnvironment(const std::string& text) = 0;
    // Asked when an INI and the folder mame.cfg both exist; true for DOS MAME.
    virtual bool userChoosesDosMame() = 0;
};

// Where the folders handed over were named, so that the user can find it: a
// rompath in `file` at `line` (0 for mame.cfg's, whose lines are not
// counted); with `setsRomPath` false, the file was read and sets none. No
// file: the folder beside MAME stood in without one.
struct RomPathSource {
    std::string file;
    std::size_t line = 0;
    bool setsRomPath = false;
};

// What was finally handed to the setter: one path, or the parts of a list.
struct RomDirectory {
    std::vector<std::string> paths;
    bool entered = false;
    RomPathSource source;
};

// The rompath MAME settles on from its mame.ini files, as MAME takes an
// option's value; the source names the file and line it came from, or the
// last file read when none sets it.
struct MameIniRomPath {
    std::string value;
    RomPathSource source;
};

// When none of the files beside MAME exists: the rompath of the first
// mame.ini along MAME's own inipath (".;ini;ini\presets"); nothing when MAME
// has none there.
std::optional<MameIniRomPath> mameIniOnIniPath(const std::string& mameFolder, RomSources& sources);

// Tries the executable-named INI, the folder mame.ini, the executable-named
// CFG and the folder mame.cfg, and asks which MAME it is when an INI and the
// folder mame.cfg both exist; when none of them exists, MAME's inipath. The
// sources' errors pass through.
RomDirectory chooseRomDirectory(const std::string& mameExe, RomSources& sources,
                                RomPathSetter& setter);

} // namespace catalogue
