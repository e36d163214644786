#include "toolkit/files/FileReader.h"

#include "toolkit/base/Error.h"
#include "toolkit/files/Paths.h"

#include <windows.h>

#include <algorithm>

namespace tk {
namespace {

constexpr std::size_t pieceSize = 64 * 1024;

Error cannotOpen(const std::string& path) {
    return Error(formatMessage("Cannot open file %s", path));
}

} // namespace

InputFile::InputFile(const std::string& path)
    : file_(CreateFileW(fileSystemPath(path).c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
    if (!file_)
        throw InOutError(GetLastError());
}

std::size_t InputFile::read(char* buffer, std::size_t size) {
    DWORD count = 0;
    DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!ReadFile(file_.get(), buffer, wanted, &count, nullptr))
        throw InOutError(GetLastError());
    return count;
}

std::string InputFile::readAll(std::size_t limit) {
    // Read straight into the text, sized by the file with one byte to spare
    // for seeing its end; and read to the end rather than to the size, so
    // that a file that is still growing reads as far as it got.
    LARGE_INTEGER size{};
    std::size_t room = pieceSize;
    if (GetFileSizeEx(file_.get(), &size))
        room = static_cast<std::size_t>(size.QuadPart) + 1;
    std::string content(std::min(room, limit), '\0');
    std::size_t got = 0;
    while (got < limit) {
        if (got == content.size())
            content.resize(std::min(2 * content.size(), limit));
        std::size_t count = read(content.data() + got, content.size() - got);
        if (count == 0)
            break;
        got += count;
    }
    content.resize(got);
    return content;
}

std::optional<std::string> readFileIfPresent(const std::string& path) {
    std::optional<InputFile> file;
    try {
        file.emplace(path);
        return file->readAll();
    } catch (const InOutError& error) {
        if (!file && (error.code() == ERROR_FILE_NOT_FOUND || error.code() == ERROR_PATH_NOT_FOUND))
            return std::nullopt;
        throw cannotOpen(path);
    }
}

std::string readWholeFile(const std::string& path) {
    std::optional<std::string> content = readFileIfPresent(path);
    if (!content)
        throw cannotOpen(path);
    return *content;
}

} // namespace tk
