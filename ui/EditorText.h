// A text file as a plain-text editor shows it, and back: every line break
// becomes CR LF, a byte-order mark is kept aside rather than shown as stray
// characters, and the text is read in the encoding the file is in: the one
// its mark names; without a mark, UTF-8 when it is well-formed UTF-8 (as
// MAME writes it), the system's code page otherwise. Portable: no
// <windows.h>.
#pragma once

#include "toolkit/text/TextEncoding.h"

#include <string>
#include <string_view>

namespace ui {

// How the file is read and written back.
struct TextForm {
    tk::TextEncoding mark = tk::TextEncoding::none; // the byte-order mark it began with
    bool unicode = false;                   // false: bytes of the system's code page
};

struct EditorText {
    TextForm form;
    // With CR LF line breaks. For a Unicode file UTF-8, in which the bytes of
    // a marked UTF-8 file that are no UTF-8 are kept as escapes, so they are
    // written back unchanged; for a code-page file its bytes as they are.
    std::string text;
};

// Every CR LF, lone CR and lone LF of `text` as CR LF; nothing else changes.
std::string withCrLf(std::string_view text);

// The file's bytes as the text to show and the form to write it back in.
EditorText editorTextOf(std::string_view fileBytes);

// The bytes to write back: the mark the file had, then the text in its
// encoding.
std::string fileBytesOf(const EditorText& edited);

} // namespace ui
