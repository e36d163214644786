// The game list kept in step with the MAME that wrote it: what identifies that
// MAME is stored beside the list, and each generation (a MAME replaced since,
// or the configuration panel's "Apply") has the list written anew, without
// losing the old one when it writes none.
#pragma once

#include "launch/Executor.h"
#include "launch/Outcome.h"

#include <string>

namespace launch {

// What identifies the MAME executable for this purpose: its size and last
// write time, as text to store; empty when it cannot be read (a missing file).
std::string mameStamp(const std::string& mameExe);

// Has MAME write its game list into a temporary file of the program folder
// and puts it in place of "gamelist" only when it holds a game list, so a
// failing MAME, or a program that is no MAME, leaves the old list byte for
// byte. A failure says why no list was written. Raises "Cannot create file
// %s" when the new list cannot replace the old one (which then stays).
Outcome renewGameList(TExecutor& exe, const std::string& mameExe, const std::string& programFolder,
                      bool xp);

} // namespace launch
