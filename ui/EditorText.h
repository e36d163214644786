// A text file as a plain-text editor shows it, and back: every line break
// becomes CR LF, and a UTF-8 byte-order mark is kept aside rather than shown
// as three stray characters. Portable: no <windows.h>.
#pragma once

#include <string>
#include <string_view>

namespace ui {

struct EditorText {
    std::string mark; // the byte-order mark the file began with, or empty
    std::string text; // the rest, with CR LF line breaks
};

// Every CR LF, lone CR and lone LF of `text` as CR LF; nothing else changes.
std::string withCrLf(std::string_view text);

// The file's bytes split into their byte-order mark and the text to show.
EditorText editorTextOf(std::string_view fileBytes);

// The bytes to write back: the mark the file had, then the text unchanged.
std::string fileBytesOf(const EditorText& edited);

} // namespace ui
