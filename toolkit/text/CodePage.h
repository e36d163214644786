// The one conversion edge of the program's text: it keeps every string in
// UTF-8 and converts at each call of a system function to the UTF-16 of the
// "W" forms. Text in the system's ANSI code page only comes in from outside
// (a settings file without a byte-order mark, an older MAME's files). The
// UTF-8 side of every conversion here is the portable one of TextEncoding.h
// (a lone surrogate kept, a stray byte read as the character of its value);
// the system converts only the code page's side.
#pragma once

#include <string>
#include <string_view>

namespace tk {

std::string ansiToUtf8(std::string_view text);

// A character the code page lacks becomes its default character ("?").
std::string utf8ToAnsi(std::string_view text);

// Whether the code page spells every character of the UTF-8 text, so that it
// comes back unchanged from the code page.
bool fitsCodePage(std::string_view text);

// The first character of the UTF-8 text that the code page does not spell,
// in UTF-8; empty when it spells them all.
std::string firstOutsideCodePage(std::string_view text);

// UTF-8 and UTF-16 both ways, lone surrogates kept (see TextEncoding.h).
std::wstring utf8ToWide(std::string_view text);
std::string wideToUtf8(std::wstring_view text);

// Text of a program that writes UTF-8, such as MAME, where an older version
// or a hand-edited file may hold the system's code page: read as UTF-8 when
// the bytes are well-formed UTF-8, in the code page otherwise.
std::wstring wideOfUtf8OrAnsi(std::string_view bytes);
std::string utf8OfUtf8OrAnsi(std::string_view bytes);

// Upper case by the system's rules for every Unicode letter; a lone surrogate
// of a name stays as it is, so names that differ in one stay apart.
std::string utf8UpperCase(std::string_view text);

// Upper case by the system's rules for the code page's letters.
std::string ansiUpperCase(std::string_view text);

} // namespace tk
