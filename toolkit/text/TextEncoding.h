// Text files that begin with a byte-order mark: which encoding the mark
// names, and the text in UTF-8 and back, so that a file is written again in
// the encoding it was read in; and the test for text that is UTF-8 without a
// mark. Portable byte work, no system calls.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tk {

// The byte-order mark of UTF-8, the one MAME writes at the head of its ini.
inline constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";

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

// The UTF-16 that bytes without a mark are in beyond doubt: their first line
// is ASCII with a NUL beside each letter, after it (LE) or before it (BE), up
// to its line end or the end of the bytes. No text in a code page holds a NUL.
// `none` for anything else.
TextEncoding unmarkedUtf16Of(std::string_view bytes);

// As decodeText, but UTF-16 without a mark (see unmarkedUtf16Of) decodes as
// UTF-16 too, its encoding the marked one, so that it is encoded back with its
// mark. Text in a code page or UTF-8 takes over the bytes without a copy.
MarkedText decodeTextOrUnmarkedUtf16(std::string bytes);

// The text in the encoding, with its mark; `none` gives the text unchanged.
// Pieces are encoded one after the other into the one result, sized first.
std::string encodeText(std::string_view text, TextEncoding encoding);
std::string encodeText(std::initializer_list<std::string_view> pieces, TextEncoding encoding);

// Whether the bytes are well-formed UTF-8 throughout: no overlong forms, no
// surrogates, nothing beyond U+10FFFF, no sequence cut short. Plain ASCII is.
bool isUtf8(std::string_view bytes);

// UTF-8 as the decoding above makes it (a lone surrogate in its three-byte
// form) to UTF-16 and back; a byte that starts no sequence (a stray byte, an
// overlong form, a value beyond U+10FFFF) stands for the character of its
// value. Every conversion of the program's UTF-8 text goes through these.
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

// The bytes of the first character of UTF-8 text as utf8ToUtf16 reads it:
// one byte where no sequence starts; empty for empty text.
std::string_view firstCharacter(std::string_view text);

// UTF-8 that keeps every byte of text that should be UTF-8 but is not all
// well-formed: a byte that starts no well-formed sequence becomes the lone
// surrogate U+DC80..U+DCFF of its value, which no UTF-8 text can hold, so
// that the bytes come back unchanged however the rest was edited.
std::string escapeInvalidUtf8(std::string_view bytes);
std::string unescapeInvalidUtf8(std::string_view text);

} // namespace tk
