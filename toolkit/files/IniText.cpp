#include "toolkit/files/IniText.h"

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

// One entry of the whole-file reading, trimmed: a section's header (its
// name) or a line within a section; where its line begins in the text.
struct Entry {
    std::size_t at;
    bool header;
    std::string_view text;
};

// Calls `onEntry` for every entry from `from`, the beginning of a line, until
// it returns true. Empty lines, comments and lines before the first header
// are no entries.
template <typename OnEntry>
void forEachEntry(std::string_view text, std::size_t from, OnEntry onEntry) {
    bool inSection = false;
    for (std::size_t at = from; at < text.size();) {
        LineSpan span = lineAt(text, at);
        at = span.next;
        std::string_view line = trimmed(text.substr(span.begin, span.end - span.begin));
        if (line.empty() || line.front() == ';')
            continue;
        bool header = isSectionHeader(line);
        if (header)
            line = trimmed(line.substr(1, line.size() - 2));
        inSection = inSection || header;
        if (inSection && onEntry(Entry{span.begin, header, line}))
            return;
    }
}

// The key of a line of the text, as the line is written back: before its
// "=", without blanks; nothing for a line without "=".
std::optional<std::string_view> keyOf(std::string_view line) {
    auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return trimmed(line.substr(0, equals));
}

std::string_view valueOf(std::string_view line) {
    return trimmed(line.substr(line.find('=') + 1));
}

// A written line is "key=value" as given: its key runs to its first "=".
std::string_view writtenKeyOf(std::string_view line) {
    return line.substr(0, line.find('='));
}

} // namespace

IniText::IniText(std::string text, UpperCase upperCase)
    : text_(std::move(text)), upperCase_(upperCase) {}

std::optional<std::size_t> IniText::targetNamed(const std::string& upperName) const {
    for (std::size_t i = 0; i < targets_.size(); ++i)
        if (upperCase_(targets_[i].name) == upperName)
            return i;
    return std::nullopt;
}

// Every write to sections of one name goes to the same one, the last of the
// text's, or a new one when the text has none.
IniText::Target& IniText::targetOf(const std::string& section) {
    const std::string wanted = upperCase_(section);
    if (auto index = targetNamed(wanted))
        return targets_[*index];
    Target target{std::nullopt, section, {}};
    forEachEntry(text_, 0, [&](const Entry& entry) {
        if (entry.header && upperCase_(entry.text) == wanted)
            target = {entry.at, std::string(entry.text), {}};
        return false;
    });
    targets_.push_back(std::move(target));
    return targets_.back();
}

std::optional<std::pair<std::size_t, std::string_view>>
IniText::lastLineIn(const Target& target, const std::string& upperKey) const {
    std::optional<std::pair<std::size_t, std::string_view>> last;
    if (!target.header)
        return last;
    forEachEntry(text_, *target.header, [&](const Entry& entry) {
        if (entry.header)
            return entry.at != *target.header;
        if (auto key = keyOf(entry.text); key && upperCase_(*key) == upperKey)
            last = {entry.at, entry.text};
        return false;
    });
    return last;
}

std::optional<std::string> IniText::read(const std::string& section, const std::string& key) const {
    const std::string wantedSection = upperCase_(section), wantedKey = upperCase_(key);
    const auto index = targetNamed(wantedSection);
    if (!index) {
        // No write went to the section: the text's last one of the name.
        std::optional<std::string> value;
        bool inWanted = false;
        forEachEntry(text_, 0, [&](const Entry& entry) {
            if (entry.header) {
                inWanted = upperCase_(entry.text) == wantedSection;
                if (inWanted)
                    value.reset();
            } else if (auto name = keyOf(entry.text);
                       inWanted && name && upperCase_(*name) == wantedKey) {
                value = std::string(valueOf(entry.text));
            }
            return false;
        });
        return value;
    }
    const Target& target = targets_[*index];
    for (auto line = target.added.rbegin(); line != target.added.rend(); ++line)
        if (upperCase_(writtenKeyOf(*line)) == wantedKey)
            return line->substr(line->find('=') + 1);
    auto last = lastLineIn(target, wantedKey);
    if (!last)
        return std::nullopt;
    if (auto written = replaced_.find(last->first); written != replaced_.end())
        return written->second.substr(written->second.find('=') + 1);
    return std::string(valueOf(last->second));
}

void IniText::write(const std::string& section, const std::string& key, const std::string& value) {
    Target& target = targetOf(section);
    const std::string wanted = upperCase_(key);
    std::string line = key + "=" + value;
    for (auto added = target.added.rbegin(); added != target.added.rend(); ++added)
        if (upperCase_(writtenKeyOf(*added)) == wanted) {
            *added = std::move(line);
            return;
        }
    if (auto last = lastLineIn(target, wanted))
        replaced_[last->first] = std::move(line);
    else
        target.added.push_back(std::move(line));
}

// Puts the written text piece by piece, so that it can be measured first and
// then made in a string of its size.
template <typename Put> void IniText::writeOut(Put put) const {
    auto line = [&](std::string_view text) {
        put(text);
        put("\r\n");
    };
    auto header = [&](std::string_view name) {
        put("[");
        put(name);
        line("]");
    };
    // The section being written out, and the target of the writes to it.
    bool inSection = false;
    const Target* open = nullptr;
    auto endSection = [&] {
        if (open)
            for (const std::string& added : open->added)
                line(added);
        if (inSection)
            line("");
    };
    forEachEntry(text_, 0, [&](const Entry& entry) {
        if (entry.header) {
            endSection();
            inSection = true;
            header(entry.text);
            open = nullptr;
            for (const Target& target : targets_)
                if (target.header == entry.at)
                    open = &target;
        } else if (auto written = replaced_.find(entry.at); written != replaced_.end()) {
            line(written->second);
        } else if (auto key = keyOf(entry.text)) {
            put(*key);
            put("=");
            line(valueOf(entry.text));
        } else {
            line(entry.text);
        }
        return false;
    });
    endSection();
    for (const Target& target : targets_)
        if (!target.header) {
            header(target.name);
            for (const std::string& added : target.added)
                line(added);
            line("");
        }
}

std::string IniText::text() const {
    std::size_t length = 0;
    writeOut([&](std::string_view piece) { length += piece.size(); });
    std::string text;
    text.reserve(length);
    writeOut([&](std::string_view piece) { text += piece; });
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
    for (std::size_t at = 0; at < text.size();) {
        LineSpan span = lineAt(text, at);
        at = span.next;
        std::string_view line = profileTrimmed(text.substr(span.begin, span.end - span.begin));
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

ProfileEdit profileEdit(std::string_view text, std::string_view section, std::string_view key,
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
            return {span.begin, span.next,
                    std::string(name) + "=" + std::string(value) + std::string(profileLineEnd)};
    }
    const bool newSection = !sectionEnd;
    if (newSection)
        sectionEnd = text.size();
    std::string entry;
    // A last line without its line end gets one before anything follows it.
    const char before = *sectionEnd > 0 ? text[*sectionEnd - 1] : '\n';
    if (before != '\n' && before != '\r')
        entry.append(profileLineEnd);
    if (newSection)
        entry.append("[").append(section).append("]").append(profileLineEnd);
    entry.append(key).append("=").append(value).append(profileLineEnd);
    return {*sectionEnd, *sectionEnd, std::move(entry)};
}

} // namespace tk
