// Which directory the game list shows: the decision over MAME's configuration
// files beside the MAME executable, asked of an injected world, so that it
// holds no file system and no dialog of its own.
#pragma once

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
    // The rompath of a file of key lines (mame.ini).
    virtual std::string iniRomPath(const std::string& iniFile) = 0;
    // The rompath of a sectioned file's "directory" section (mame.cfg).
    virtual std::string cfgRomPath(const std::string& cfgFile) = 0;
    // Asked when an INI and the folder mame.cfg both exist; true for DOS MAME.
    virtual bool userChoosesDosMame() = 0;
};

// What was finally handed to the setter: one path, or the parts of a list.
struct RomDirectory {
    std::vector<std::string> paths;
    bool entered = false;
};

// Tries the executable-named INI, the folder mame.ini, the executable-named
// CFG and the folder mame.cfg, and asks which MAME it is when an INI and the
// folder mame.cfg both exist. The sources' errors pass through.
RomDirectory chooseRomDirectory(const std::string& mameExe, RomSources& sources,
                                RomPathSetter& setter);

} // namespace catalogue
