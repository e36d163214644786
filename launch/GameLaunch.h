// The body of "Play" below the window: starts MAME for one game and watches
// it without waiting for it.
#pragma once

#include "launch/WatchedProcess.h"
#include "toolkit/base/Outcome.h"

#include <string>

namespace launch {

// Starts MAME as stored, in its own folder, with the game's short name and
// the parameters, without a console window, its output kept for the message.
// A failure names the executable and the reason; once MAME started, `onEnd`,
// when given, is called on a thread of its own when it ends, unless the
// watch that is returned ended first.
Watched launchGame(const std::string& mameexe, const std::string& shortName,
                   const std::string& parameters, OnProcessEnd onEnd = {});

// The message for a game MAME ended with a non-zero exit code: its
// description and short name (both UTF-8, as the program keeps all text), the
// code in words and MAME's lines that say why, each read as UTF-8 or, failing
// that, in the code page. A good end is a success.
tk::Outcome gameEndReport(const std::string& description, const std::string& shortName,
                          const ProcessEnd& end);

} // namespace launch
