// The key lines of mame.ini and the gamelist file: the first line of the input
// is the key, the rest the text. The sequential search, the same search fed in
// pieces and the index must all give the same answers.
#include "catalogue/KeyIndex.h"
#include "catalogue/KeyLines.h"

#include "fuzz/FuzzCheck.h"

#include <algorithm>
#include <string>

namespace {

constexpr std::size_t keysChecked = 8;

std::string searchInPieces(std::string_view key, std::string_view text, std::size_t pieceSize) {
    catalogue::KeySearch search(key);
    for (std::size_t at = 0; at < text.size(); at += pieceSize)
        if (search.feed(text.substr(at, pieceSize)))
            break;
    return search.finish();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input = fuzz_support::text(data, size);
    std::size_t keyEnd = std::min(input.find('\n'), input.size());
    std::string_view key = input.substr(0, keyEnd);
    std::string_view text = input.substr(std::min(keyEnd + 1, input.size()));

    const catalogue::KeyIndex index{std::string(text)};
    std::string value = catalogue::lookupKeyInText(key, text);
    FUZZ_CHECK(index.lookup(key) == value);
    std::size_t pieceSize = 1 + (size == 0 ? 0 : data[0] % 97);
    FUZZ_CHECK(searchInPieces(key, text, pieceSize) == value);

    // Every line's first word is a key someone could ask for.
    std::size_t checked = 0;
    tk::LineSplitter lines;
    auto check = [&](std::string_view line) {
        if (auto split = catalogue::splitKeyLine(line))
            FUZZ_CHECK(index.lookup(split->key) == catalogue::lookupKeyInText(split->key, text));
        return ++checked == keysChecked;
    };
    if (!lines.feed(text, check))
        lines.finish(check);
    return 0;
}
