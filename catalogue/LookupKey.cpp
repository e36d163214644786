#include "catalogue/LookupKey.h"

#include "catalogue/KeyLines.h"
#include "toolkit/Error.h"
#include "toolkit/Handles.h"

#include <windows.h>

#include <array>

namespace catalogue {
namespace {

tk::FileHandle openForReading(const std::string& fileName) {
    tk::FileHandle file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        throw tk::InOutError(GetLastError());
    return file;
}

// The number of bytes read into `buffer`; 0 at the end of the file.
std::size_t readPiece(const tk::FileHandle& file, char* buffer, std::size_t size) {
    DWORD count = 0;
    if (!ReadFile(file.get(), buffer, static_cast<DWORD>(size), &count, nullptr))
        throw tk::InOutError(GetLastError());
    return count;
}

constexpr std::size_t pieceSize = 64 * 1024;

} // namespace

std::string LookupKey(const std::string& key, const std::string& fileName) {
    tk::FileHandle file = openForReading(fileName);
    KeySearch search(key);
    std::array<char, pieceSize> buffer;
    while (std::size_t count = readPiece(file, buffer.data(), buffer.size())) {
        if (search.feed(std::string_view(buffer.data(), count)))
            break;
    }
    return search.finish();
}

std::string readTextFile(const std::string& fileName) {
    tk::FileHandle file = openForReading(fileName);
    std::string text;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file.get(), &size))
        text.reserve(static_cast<std::size_t>(size.QuadPart));
    std::array<char, pieceSize> buffer;
    while (std::size_t count = readPiece(file, buffer.data(), buffer.size()))
        text.append(buffer.data(), count);
    return text;
}

} // namespace catalogue
