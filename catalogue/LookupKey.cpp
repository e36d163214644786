#include "catalogue/LookupKey.h"

#include "catalogue/KeyLines.h"
#include "toolkit/base/Error.h"
#include "toolkit/files/FileReader.h"
#include "toolkit/text/TextEncoding.h"

#include <array>

namespace catalogue {

std::string LookupKey(const std::string& key, const std::string& fileName) {
    return lookupKeyLine(key, fileName).value;
}

KeyValue lookupKeyLine(const std::string& key, const std::string& fileName) {
    tk::InputFile file(fileName);
    std::array<char, 64 * 1024> buffer;
    std::size_t count = file.read(buffer.data(), buffer.size());
    std::string_view first(buffer.data(), count);
    // A file with a byte-order mark (MAME writes its ini with one) is read
    // whole in its encoding, as UTF-8 like the key; any other is searched as
    // its bytes stand.
    if (tk::encodingOf(first) != tk::TextEncoding::none) {
        std::string text = std::string(first) + file.readAll();
        return keyLineInText(key, tk::decodeText(text).text);
    }
    KeySearch search(key);
    for (; count != 0; count = file.read(buffer.data(), buffer.size())) {
        if (search.feed(std::string_view(buffer.data(), count)))
            break;
    }
    std::string value = search.finish();
    return {std::move(value), search.line()};
}

bool holdsGameList(const std::string& fileName) {
    try {
        tk::InputFile file(fileName);
        tk::LineSplitter lines;
        std::array<char, 64 * 1024> buffer;
        while (std::size_t count = file.read(buffer.data(), buffer.size()))
            if (lines.feed(std::string_view(buffer.data(), count), isGameLine))
                return true;
        return lines.finish(isGameLine);
    } catch (const tk::InOutError&) {
        return false;
    }
}

} // namespace catalogue
