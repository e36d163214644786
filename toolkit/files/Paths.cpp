#include "toolkit/files/Paths.h"

#include "toolkit/base/Handles.h"
#include "toolkit/text/CodePage.h"

#include <windows.h>

#include <vector>

namespace tk {
namespace {

// The text of a system function that fills a buffer of UTF-16 units it is
// asked the size of first; the empty text when it fails.
template <typename Fill> std::string askedText(Fill fill) {
    DWORD size = fill(nullptr, 0);
    if (size == 0)
        return {};
    std::wstring text(size, L'\0');
    DWORD length = fill(text.data(), size);
    text.resize(length < size ? length : 0);
    return wideToUtf8(text);
}

} // namespace

std::string programFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size())
            return folderPart(wideToUtf8(std::wstring_view(buffer.data(), n)));
        buffer.resize(buffer.size() * 2);
    }
}

std::string shortPath(const std::string& path) {
    const std::wstring wide = utf8ToWide(path);
    return askedText(
        [&](wchar_t* text, DWORD size) { return GetShortPathNameW(wide.c_str(), text, size); });
}

std::wstring fileSystemPath(const std::string& path) {
    std::wstring wide = utf8ToWide(path);
    // Below the limit the usual form keeps every rule the system applies to
    // it (relative parts, forward slashes, trailing dots).
    constexpr std::size_t shortEnough = MAX_PATH - 12;
    if (wide.size() < shortEnough)
        return wide;
    std::string full = askedText([&](wchar_t* text, DWORD size) {
        return GetFullPathNameW(wide.c_str(), size, text, nullptr);
    });
    return full.empty() ? wide : utf8ToWide(longPathForm(full));
}

bool folderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesW(fileSystemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool diskNearlyFull(const std::string& folder) {
    constexpr ULONGLONG nearlyFull = 64 * 1024;
    ULARGE_INTEGER available;
    return GetDiskFreeSpaceExW(fileSystemPath(folder).c_str(), &available, nullptr, nullptr) &&
           available.QuadPart < nearlyFull;
}

bool fileExists(const std::string& path) {
    // A wildcard search would find some file, but such a path names none.
    if (path.find_first_of("*?") != std::string::npos)
        return false;
    WIN32_FIND_DATAW found;
    FindHandle search(FindFirstFileW(fileSystemPath(path).c_str(), &found));
    return search && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string currentDirectory() {
    return askedText([](wchar_t* text, DWORD size) { return GetCurrentDirectoryW(size, text); });
}

std::string systemFolder() {
    return askedText([](wchar_t* text, DWORD size) {
        return static_cast<DWORD>(GetSystemDirectoryW(text, size));
    });
}

} // namespace tk
