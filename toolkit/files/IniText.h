// An INI file as the whole-file access keeps it in memory: its sections and
// their lines, parsed from the file's text and written back as text. Pure text
// work; the caller supplies how names are upper-cased, since matching without
// regard to case follows the file's encoding (its code page, or UTF-8).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

// Two names match when their upper-cased forms are equal.
using UpperCase = std::string (*)(std::string_view);

class IniText {
public:
    IniText(std::string_view text, UpperCase upperCase);

    // The value after the key's "=" in the last section of that name, from its
    // last line of that key; nothing when either is missing.
    std::optional<std::string> read(const std::string& section, const std::string& key) const;

    // Sets key=value, spelled as given: in place of the line read() would use,
    // else at the end of the section, else in a new section after all others.
    void write(const std::string& section, const std::string& key, const std::string& value);

    // "[name]", the section's lines and an empty line per section, CR LF ended.
    std::string text() const;

private:
    struct Section {
        std::string name;
        std::vector<std::string> lines;
    };

    void parse(std::string_view text);
    std::optional<size_t> sectionIndex(const std::string& name) const;
    std::optional<size_t> lineIndex(const Section& section, const std::string& key) const;

    std::vector<Section> sections_;
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

// The text with the key written as the platform's private-profile write
// writes it, every other line kept byte for byte: the first line of the key
// in the first section of that name (as profileValue finds them, the key
// alone without "=" counting too) becomes the key as the file spells it, "="
// and the value; a key the section lacks goes after the section's last line,
// and a missing section, spelled as given, after the whole text. The lines
// written end in CR LF, as the platform writes them, and so does a last line
// that had no end when anything follows it.
std::string profileWritten(std::string_view text, std::string_view section, std::string_view key,
                           std::string_view value, UpperCase upperCase);

// The private-profile Boolean: "0x"/"0X" before a longer text stands for "$";
// then a signed 32-bit integer (leading blanks, a sign, hexadecimal after "$",
// "x" or "X") is true when non-zero. Empty or unparsable text gives `fallback`.
bool parseProfileBool(const std::string& text, bool fallback);

} // namespace tk
