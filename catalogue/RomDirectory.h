// Finding MAME's ROM directory on the real file system, with the user asked
// through the program's dialogs, and handing it to the file list.
#pragma once

#include "catalogue/RomDirectoryRules.h"

#include <string>

namespace catalogue {

// The decision of chooseRomDirectory for the MAME executable given. Raises
// the reading errors of the configuration files.
RomDirectory ResolveRomDirectory(const std::string& mameExe, RomPathSetter& setter);

// The same for the MAME executable named in the settings file.
RomDirectory ResolveRomDirectory(RomPathSetter& setter);

} // namespace catalogue
