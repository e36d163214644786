#include "toolkit/files/IniText.h"

#include "toolkit/text/LineSplitter.h"

#include <cstdint>

namespace tk {

namespace {

template <typename IsBlank> std::string_view trimmedOf(std::string_view text, IsBlank isBlank) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view trimmed(std::string_view text) {
    return trimmedOf(text, [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// The blanks of the private-profile functions: the C blanks and the old
// end-of-file mark, Ctrl-Z.
std::string_view profileTrimmed(std::string_view text) {
    return trimmedOf(text,
                     [](char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a'; });
}

std::string_view withoutEnclosingQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool isSectionHeader(std::string_view line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

std::string normalisedEntry(std::string_view line) {
    auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::string(line);
    return std::string(trimmed(line.substr(0, equals))) + "=" +
           std::string(trimmed(line.substr(equals + 1)));
}

int digitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

// A signed 32-bit integer; hexadecimal may use all 32 bits, as a bit pattern.
std::optional<std::int64_t> profileInteger(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    int base = 10;
    if (!text.empty() && (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    const std::int64_t limit = base == 16 ? 0xFFFFFFFF : negative ? 0x80000000 : 0x7FFFFFFF;
    std::int64_t value = 0;
    for (char c : text) {
        int digit = digitValue(c, base);
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    return negative ? -value : value;
}

// One line of a text: where it begins, where its line end begins and where
// the next line begins.
struct LineSpan {
    size_t begin, end, next;
};

LineSpan lineAt(std::string_view text, size_t begin) {
    size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string_view::npos)
        return {begin, text.size(), text.size()};
    size_t next = end + 1 + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n');
    return {begin, end, next};
}

// The platform's profile functions end every line they write so, whatever
// the file's other lines end with.
constexpr std::string_view profileLineEnd = "\r\n";

// The name a section header gives, by the private-profile rules: up to the
// first "]", or to the line's end when it has none; nothing for a line that
// is no header.
std::optional<std::string_view> profileHeader(std::string_view line) {
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    return profileTrimmed(line.substr(1, line.find(']', 1) - 1));
}

} // namespace

IniText::IniText(std::string_view text, UpperCase upperCase) : upperCase_(upperCase) {
    parse(text);
}

void IniText::parse(std::string_view text) {
    for (std::string_view raw : tk::splitLines(text)) {
        std::string_view line = trimmed(raw);
        if (line.empty() || line.front() == ';')
            continue;
        if (isSectionHeader(line))
            sections_.push_back({std::string(trimmed(line.substr(1, line.size() - 2))), {}});
        else if (!sections_.empty())
            sections_.back().lines.push_back(normalisedEntry(line));
    }
}

std::optional<size_t> IniText::sectionIndex(const std::string& name) const {
    std::string wanted = upperCase_(name);
    for (size_t i = sections_.size(); i-- > 0;)
        if (upperCase_(sections_[i].name) == wanted)
            return i;
    return std::nullopt;
}

std::optional<size_t> IniText::lineIndex(const Section& section, const std::string& key) const {
    std::string wanted = upperCase_(key);
    for (size_t i = section.lines.size(); i-- > 0;) {
        const std::string& line = section.lines[i];
        auto equals = line.find('=');
        if (equals != std::string::npos &&
            upperCase_(std::string_view(line).substr(0, equals)) == wanted)
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniText::read(const std::string& section, const std::string& key) const {
    auto s = sectionIndex(section);
    if (!s)
        return std::nullopt;
    const Section& found = sections_[*s];
    auto l = lineIndex(found, key);
    if (!l)
        return std::nullopt;
    const std::string& line = found.lines[*l];
    return line.substr(line.find('=') + 1);
}

void IniText::write(const std::string& section, const std::string& key, const std::string& value) {
    auto s = sectionIndex(section);
    if (!s) {
        sections_.push_back({section, {}});
        s = sections_.size() - 1;
    }
    Section& target = sections_[*s];
    std::string entry = key + "=" + value;
    if (auto l = lineIndex(target, key))
        target.lines[*l] = std::move(entry);
    else
        target.lines.push_back(std::move(entry));
}

std::string IniText::text() const {
    std::string text;
    for (const Section& section : sections_) {
        text += "[" + section.name + "]\r\n";
        for (const std::string& line : section.lines)
            text += line + "\r\n";
        text += "\r\n";
    }
    return text;
}

bool parseProfileBool(const std::string& text, bool fallback) {
    std::string number = text;
    if (number.size() > 2 && number[0] == '0' && (number[1] == 'x' || number[1] == 'X'))
        number.replace(0, 2, "$");
    auto value = profileInteger(number);
    return value ? *value != 0 : fallback;
}

std::optional<std::string> profileValue(std::string_view text, std::string_view section,
                                        std::string_view key, UpperCase upperCase) {
    const std::string wantedSection = upperCase(profileTrimmed(section));
    const std::string wantedKey = upperCase(profileTrimmed(key));
    bool inSection = false;
    for (std::string_view raw : splitLines(text)) {
        std::string_view line = profileTrimmed(raw);
        if (line.empty())
            continue;
        // Only the first section of the name is searched.
        if (auto header = profileHeader(line)) {
            if (inSection)
                return std::nullopt;
            inSection = upperCase(*header) == wantedSection;
            continue;
        }
        auto equals = line.find('=');
        if (inSection && equals != std::string_view::npos &&
            upperCase(profileTrimmed(line.substr(0, equals))) == wantedKey)
            return std::string(withoutEnclosingQuotes(profileTrimmed(line.substr(equals + 1))));
    }
    return std::nullopt;
}

std::string profileWritten(std::string_view text, std::string_view section, std::string_view key,
                           std::string_view value, UpperCase upperCase) {
    const std::string wantedSection = upperCase(profileTrimmed(section));
    const std::string wantedKey = upperCase(profileTrimmed(key));
    std::optional<size_t> sectionEnd; // after the found section's last line
    for (size_t at = 0; at < text.size();) {
        LineSpan span = lineAt(text, at);
        at = span.next;
        std::string_view line = profileTrimmed(text.substr(span.begin, span.end - span.begin));
        if (line.empty())
            continue;
        if (auto header = profileHeader(line)) {
            if (sectionEnd)
                break;
            if (upperCase(*header) == wantedSection)
                sectionEnd = span.next;
            continue;
        }
        if (!sectionEnd)
            continue;
        sectionEnd = span.next;
        // The key alone, without "=", is the key's line too, as the platform
        // writes it, though its read finds no value there.
        std::string_view name = profileTrimmed(line.substr(0, line.find('=')));
        if (upperCase(name) == wantedKey)
            return std::string(text.substr(0, span.begin)) + std::string(name) + "=" +
                   std::string(value) + std::string(profileLineEnd) +
                   std::string(text.substr(span.next));
    }
    std::string entry = std::string(key) + "=" + std::string(value) + std::string(profileLineEnd);
    if (!sectionEnd) {
        entry = "[" + std::string(section) + "]" + std::string(profileLineEnd) + entry;
        sectionEnd = text.size();
    }
    // A last line without its line end gets one before anything follows it.
    std::string before(text.substr(0, *sectionEnd));
    if (!before.empty() && before.back() != '\n' && before.back() != '\r')
        before += profileLineEnd;
    return before + entry + std::string(text.substr(*sectionEnd));
}

} // namespace tk
