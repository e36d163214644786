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
        // A header's name is what its "[" and the line's last "]" enclose,
        // without blanks. Only the first section of the name is searched.
        if (line.front() == '[' && line.find(']') != std::string_view::npos) {
            if (inSection)
                return std::nullopt;
            inSection =
                upperCase(profileTrimmed(line.substr(1, line.rfind(']') - 1))) == wantedSection;
            continue;
        }
        auto equals = line.find('=');
        if (inSection && equals != std::string_view::npos &&
            upperCase(profileTrimmed(line.substr(0, equals))) == wantedKey)
            return std::string(withoutEnclosingQuotes(profileTrimmed(line.substr(equals + 1))));
    }
    return std::nullopt;
}

} // namespace tk
