// The body of "Play" below the window: starts MAME for one game and watches
// it without waiting for it.
#pragma once

#include "launch/WatchedProcess.h"

#include <optional>
#include <string>

namespace launch {

// Makes the MAME folder the current directory (a failure is ignored) and
// starts MAME as stored with the game's short name and the parameters,
// without a console window, its output kept for the message. Gives the
// message to show when nothing was started, naming the executable and the
// reason; nothing when MAME started, and `onEnd`, when given, is called on a
// thread of its own when it ends.
[[nodiscard]] std::optional<std::string> launchGame(const std::string& mameexe,
                                                    const std::string& shortName,
                                                    const std::string& parameters,
                                                    OnProcessEnd onEnd = {});

// The message for a game MAME ended with a non-zero exit code, in UTF-8: its
// description (given in UTF-8) and short name (in the code page, as the
// program keeps it), the code in words and MAME's lines that say why, each
// read as UTF-8 or, failing that, in the code page. Nothing for a good end.
std::optional<std::string> gameEndReport(const std::string& description,
                                         const std::string& shortName, const ProcessEnd& end);

} // namespace launch
