#include "catalogue/LookupKey.h"

#include "catalogue/KeyLines.h"
#include "toolkit/CodePage.h"
#include "toolkit/Error.h"
#include "toolkit/Handles.h"
#include "toolkit/TextEncoding.h"

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

// A file with a byte-order mark (MAME writes its ini with one) is read whole
// in its encoding; the key and the value pass through the code page.
std::string lookupMarked(const std::string& key, const tk::FileHandle& file, std::string text) {
    std::array<char, pieceSize> buffer;
    while (std::size_t count = readPiece(file, buffer.data(), buffer.size()))
        text.append(buffer.data(), count);
    return tk::utf8ToAnsi(lookupKeyInText(tk::ansiToUtf8(key), tk::decodeText(text).text));
}

} // namespace

std::string LookupKey(const std::string& key, const std::string& fileName) {
    tk::FileHandle file = openForReading(fileName);
    std::array<char, pieceSize> buffer;
    std::size_t count = readPiece(file, buffer.data(), buffer.size());
    std::string_view first(buffer.data(), count);
    if (tk::encodingOf(first) != tk::TextEncoding::none)
        return lookupMarked(key, file, std::string(first));
    KeySearch search(key);
    for (; count != 0; count = readPiece(file, buffer.data(), buffer.size())) {
        if (search.feed(std::string_view(buffer.data(), count)))
            break;
    }
    return search.finish();
}

bool holdsGameList(const std::string& fileName) {
    tk::FileHandle file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return false;
    LineSplitter lines;
    std::array<char, pieceSize> buffer;
    DWORD count = 0;
    while (ReadFile(file.get(), buffer.data(), DWORD(buffer.size()), &count, nullptr) && count)
        if (lines.feed(std::string_view(buffer.data(), count), isGameLine))
            return true;
    return lines.finish(isGameLine);
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
