// An INI file as the whole-file access reads and writes it: its sections and
// their lines, written back as text with the writes made. The text is held
// as it was given, neither copied nor indexed: each read walks it, and the
// writes are kept beside it until the text is written out, so that a big
// file costs one copy of itself. Pure text work; the caller supplies how
// names are upper-cased, since matching without regard to case follows the
// file's encoding (its code page, or UTF-8).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

// Two names match when their upper-cased forms are equal.
using UpperCase = std::string (*)(std::string_view);

class IniText {
public:
    IniText(std::string text, UpperCase upperCase);

    // The value after the key's "=" in the last section of that name, from its
    // last line of that key; nothing when either is missing.
    std::optional<std::string> read(const std::string& section, const std::string& key) const;

    // Sets key=value, spelled as given: in place of the line read() would use,
    // else at the end of the section, else in a new section after all others.
    void write(const std::string& section, const std::string& key, const std::string& value);

    // "[name]", the section's lines and an empty line per section, CR LF ended.
    std::string text() const;

    // The text as given, without the writes.
    const std::string& source() const { return text_; }

private:
    // The section that writes went to: where its header begins in the text
    // (none for a section the text lacks), its name, and the lines the writes
    // added at its end.
    struct Target {
        std::optional<std::size_t> header;
        std::string name;
        std::vector<std::string> added;
    };

    std::optional<std::size_t> targetNamed(const std::string& upperName) const;
    Target& targetOf(const std::string& section);
    // Where the last line of the key begins among the section's lines in the
    // text, and that line; nothing when it has none or the text lacks it.
    std::optional<std::pair<std::size_t, std::string_view>>
    lastLineIn(const Target& target, const std::string& upperKey) const;
    template <typename Put> void writeOut(Put put) const;

    std::string text_;
    std::vector<Target> targets_;
    // Lines of the text that writes replaced, by where they begin.
    std::map<std::size_t, std::string> replaced_;
    UpperCase upperCase_;
};

// The value that the platform's private-profile read gives for the key: the
// first section of that name (a header's name runs from its "[" to the first
// "]", or to the line's end, and blanks around it do not count), in it
// the first line whose text before its first "=" is the key, both without
// regard to case; the value without blanks around it and without quotes
// (' or ") that enclose it wholly. Nothing when the section or key is
// missing or the line has no "=".
std::optional<std::string> profileValue(std::string_view text, std::string_view section,
                                        std::string_view key, UpperCase upperCase);

// What the platform's private-profile write changes in the text to write the
// key: the bytes from `begin` to `end` (which may be equal) become `line`.
struct ProfileEdit {
    std::size_t begin, end;
    std::string line;
};

// The edit that writes the key as the platform's private-profile write
// writes it, every other line kept byte for byte: the first line of the key
// in the first section of that name (as profileValue finds them, the key
// alone without "=" counting too) becomes the key as the file spells it, "="
// and the value; a key the section lacks goes after the section's last line,
// and a missing section, spelled as given, after the whole text. The lines
// written end in CR LF, as the platform writes them, and so does a last line
// that had no end when anything follows it. The edit, rather than the text
// edited, so that a big file is written out without another copy of itself.
ProfileEdit profileEdit(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value, UpperCase upperCase);

// The private-profile Boolean: "0x"/"0X" before a longer text stands for "$";
// then a signed 32-bit integer (leading blanks, a sign, hexadecimal after "$",
// "x" or "X") is true when non-zero. Empty or unparsable text gives `fallback`.
bool parseProfileBool(const std::string& text, bool fallback);

} // namespace tk
