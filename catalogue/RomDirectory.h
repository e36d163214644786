// Finding MAME's ROM directory from MAME's own configuration file beside the
// MAME executable, and handing it to the file list.
#pragma once

#include <string>
#include <vector>

namespace catalogue {

// The file list's path setter. Each call returns whether the directory could
// be entered (it then becomes the process's current directory); a later call
// replaces an earlier one.
class RomPathSetter {
public:
    virtual ~RomPathSetter() = default;
    virtual bool setPath(const std::string& path) = 0;
    // The parts of a ";" list, whose files are listed together.
    virtual bool setPaths(const std::vector<std::string>& paths) = 0;
};

// What was finally handed to the setter: one path, or the parts of a list.
struct RomDirectory {
    std::vector<std::string> paths;
    bool entered = false;
};

// Tries the executable-named INI, the folder mame.ini, the executable-named
// CFG and the folder mame.cfg, and asks which MAME it is when an INI and the
// folder mame.cfg both exist. Raises the reading errors of the files.
RomDirectory ResolveRomDirectory(const std::string& mameExe, RomPathSetter& setter);

// The same for the MAME executable named in the settings file.
RomDirectory ResolveRomDirectory(RomPathSetter& setter);

} // namespace catalogue
