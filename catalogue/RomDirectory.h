// Finding MAME's ROM directory on the real file system and handing it to the
// file list. Which MAME it is, when the files leave that open, is asked of
// the caller, who asks the user.
#pragma once

#include "catalogue/RomDirectoryRules.h"

#include <functional>
#include <string>

namespace catalogue {

// Asked when both kinds of configuration file beside MAME leave its
// generation open; true for DOS MAME.
using DosMameQuestion = std::function<bool()>;

// The decision of chooseRomDirectory for the MAME executable given. Raises
// the reading errors of the configuration files.
RomDirectory ResolveRomDirectory(const std::string& mameExe, RomPathSetter& setter,
                                 const DosMameQuestion& userChoosesDosMame);

// The mame.ini along MAME's inipath that the ROM directory is read from when
// none of the files beside MAME exists; the empty text when MAME has none.
// Raises the reading errors of the files read.
std::string findMameIniOnIniPath(const std::string& mameExe);

} // namespace catalogue
