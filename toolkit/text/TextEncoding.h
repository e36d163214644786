// Text files that begin with a byte-order mark: which encoding the mark
// names, and the text in UTF-8 and back, so that a file is written again in
// the encoding it was read in. Portable byte work, no system calls.
#pragma once

#include <string>
#include <string_view>

namespace tk {

// `none`: no mark; such text is in the system's code page and stays as it is.
enum class TextEncoding { none, utf8, utf16le, utf16be };

struct MarkedText {
    TextEncoding encoding = TextEncoding::none;
    // UTF-8 for a marked file, without its mark; the bytes as they are else.
    std::string text;
};

TextEncoding encodingOf(std::string_view bytes);

// UTF-16 units that pair into no character keep their value through UTF-8's
// three-byte form, so that a file comes back byte for byte; an odd last byte
// of a UTF-16 file, which is no character, is dropped.
MarkedText decodeText(std::string_view bytes);

// The text in the encoding, with its mark; `none` gives the text unchanged.
std::string encodeText(std::string_view text, TextEncoding encoding);

} // namespace tk
