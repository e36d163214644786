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

// Where the folders were named, so that the user can find it: a
// rompath in `file` at `line` (0 for mame.cfg's, whose lines are not
// counted); with `setsRomPath` false, the file was read and sets none. No
// file: the folder beside MAME stood in without one.
struct RomPathSource {
    std::string file;
    std::size_t line = 0;
    bool setsRomPath = false;
};

// The folders one file names, as full paths: one, or the parts of a ";"
// list, whose files are listed together.
struct RomFolders {
    std::vector<std::string> paths;
    RomPathSource source;
};

// The folders for the file list to take in turn, never none, each replacing
// the ones before as far as it can enter them: the INI's, and after them,
// when the user says it is DOS MAME, the CFG's. The last are MAME's own; a
// name pattern an earlier one ends in stays for it, as the list keeps its
// pattern.
struct RomDecision {
    std::vector<RomFolders> handed;
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
RomDecision chooseRomDirectory(const std::string& mameExe, RomSources& sources);

} // namespace catalogue
