// The case rule of the system's ordinal comparisons that ignore case
// (CompareStringOrdinal): each UTF-16 unit stands for its simple upper-case
// form, whatever the language, and two texts match when their units do.
// Text folded once by it is matched by plain comparison afterwards.
#pragma once

#include <string>
#include <string_view>

namespace tk {

// The unit that `unit` compares as.
wchar_t ordinalUpper(wchar_t unit);

// Every unit of `text` as ordinalUpper gives it; the length stays.
std::wstring ordinalUpper(std::wstring_view text);

} // namespace tk
