#include "catalogue/LookupKey.h"

#include "catalogue/KeyLines.h"
#include "toolkit/FileReader.h"

#include <array>

namespace catalogue {

std::string LookupKey(const std::string& key, const std::string& fileName) {
    tk::InputFile file(fileName);
    KeySearch search(key);
    std::array<char, 64 * 1024> buffer;
    while (std::size_t count = file.read(buffer.data(), buffer.size())) {
        if (search.feed(std::string_view(buffer.data(), count)))
            break;
    }
    return search.finish();
}

} // namespace catalogue
