// A text shortened until it fits a place on the screen, keeping what its
// start and its end say: a message names its subject first and says why
// last, so what goes is taken from the middle. Portable: no <windows.h>.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tk {

// Whether a text, UTF-8 with lines ended by "\n", fits the place.
using FitTest = std::function<bool(std::string_view)>;

// The text as it is when it fits. Otherwise its longest lines are cut in the
// middle, where "..." stands for what was taken out, no further than needed;
// when that is not enough, the lines between the first and as many of the
// last as fit are left out, a line "..." in their place. Cuts fall between
// the characters a reader sees (UserCharacters.h). When even the first and the last line do not
// fit, the last line, cut short, is what remains.
std::string fittedText(std::string_view text, const FitTest& fits);

} // namespace tk
