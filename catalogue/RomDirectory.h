// Finding MAME's ROM directory on the real file system, and the folders a
// file list takes from it. Which MAME it is, when the files leave that open,
// is asked of the caller, who asks the user.
#pragma once

#include "catalogue/RomDirectoryRules.h"
#include "toolkit/files/DirectoryListing.h"

#include <functional>
#include <string>
#include <vector>

namespace catalogue {

// Asked when both kinds of configuration file beside MAME leave its
// generation open; true for DOS MAME.
using DosMameQuestion = std::function<bool()>;

// MAME's ROM folders and what a file list makes of them.
struct RomDirectory {
    // MAME's own folders as its files name them: one path, or the parts of a
    // list.
    std::vector<std::string> paths;
    // Whether the list can enter any of them.
    bool entered = false;
    RomPathSource source;
    // The folders and name pattern the list shows after taking the decision;
    // the folders it showed before when none can be entered.
    tk::DirectorySetting directory;
};

// The decision of chooseRomDirectory for the MAME executable given, taken
// by a file list that shows `shown`. Raises the reading errors of the
// configuration files.
RomDirectory ResolveRomDirectory(const std::string& mameExe, tk::DirectorySetting shown,
                                 const DosMameQuestion& userChoosesDosMame);

// The mame.ini along MAME's inipath that the ROM directory is read from when
// none of the files beside MAME exists; the empty text when MAME has none.
// Raises the reading errors of the files read.
std::string findMameIniOnIniPath(const std::string& mameExe);

} // namespace catalogue
