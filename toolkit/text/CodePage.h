// Text between the system's ANSI code page, in which the program keeps all its
// strings, and UTF-8, in which it keeps the text of files marked as Unicode.
#pragma once

#include <string>
#include <string_view>

namespace tk {

std::string ansiToUtf8(std::string_view text);

// A character the code page lacks becomes its default character ("?").
std::string utf8ToAnsi(std::string_view text);

// Upper case by the system's rules for every Unicode letter.
std::string utf8UpperCase(std::string_view text);

// Upper case by the system's rules for the code page's letters.
std::string ansiUpperCase(std::string_view text);

} // namespace tk
