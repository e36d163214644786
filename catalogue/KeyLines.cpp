#include "catalogue/KeyLines.h"

namespace catalogue {

char foldKeyChar(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldKeyChar(a[i]) != foldKeyChar(b[i]))
            return false;
    }
    return true;
}

std::optional<KeyLine> splitKeyLine(std::string_view line) {
    auto blank = line.find(' ');
    if (blank == std::string_view::npos)
        return std::nullopt;
    std::string_view rest = line.substr(blank + 1);
    auto first = rest.find_first_not_of(' ');
    rest = first == std::string_view::npos ? std::string_view() : rest.substr(first);
    return KeyLine{line.substr(0, blank), rest};
}

bool isGameLine(std::string_view line) {
    auto split = splitKeyLine(line);
    return split && !split->key.empty() && split->value.size() >= 2 &&
           split->value.front() == '"' && split->value.back() == '"';
}

bool KeySearch::match(std::string_view line) {
    ++linesSeen_;
    auto split = splitKeyLine(line);
    if (!split || !sameKey(split->key, key_))
        return false;
    value_ = std::string(split->value);
    return true;
}

bool KeySearch::feed(std::string_view piece) {
    return value_ || lines_.feed(piece, [this](std::string_view line) { return match(line); });
}

std::string KeySearch::finish() {
    if (!value_)
        lines_.finish([this](std::string_view line) { return match(line); });
    return value_.value_or(std::string());
}

std::string lookupKeyInText(std::string_view key, std::string_view text) {
    return keyLineInText(key, text).value;
}

KeyValue keyLineInText(std::string_view key, std::string_view text) {
    KeySearch search(key);
    search.feed(text);
    std::string value = search.finish();
    return {std::move(value), search.line()};
}

} // namespace catalogue
