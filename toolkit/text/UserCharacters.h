// The characters a reader sees, which may be several code points each: a
// letter and its accents, a flag of two letters, an emoji joined to others or
// given a skin tone, a Hangul syllable written in its parts. A text cut between
// two of them leaves no accent on the wrong letter and no half of a flag.
// Portable: no <windows.h>.
#pragma once

#include <cstddef>
#include <string_view>

namespace tk {

// Where the character that starts at `start` of UTF-8 text ends: past the
// code points the Unicode rules of grapheme clusters join to the first (the
// marks, the joiners, the selectors, the second letter of a flag, the later
// parts of a Hangul syllable). The prepended marks of a few scripts and the
// emoji rule's test of what a joiner joins are left out: a joiner here joins
// whatever follows it. A byte that starts no well-formed sequence is a
// character of its own, with the continuation bytes after it.
std::size_t userCharacterEnd(std::string_view text, std::size_t start);

} // namespace tk
