// The body of "Play" below the window: starts MAME for one game without
// waiting for it.
#pragma once

#include <optional>
#include <string>

namespace launch {

// Makes the MAME folder the current directory (a failure is ignored) and
// starts MAME as stored with the game's short name and the parameters. Gives
// the message to show when nothing was started, naming the executable and the
// reason; nothing when MAME started.
[[nodiscard]] std::optional<std::string>
launchGame(const std::string& mameexe, const std::string& shortName, const std::string& parameters);

} // namespace launch
