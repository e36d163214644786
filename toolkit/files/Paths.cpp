#include "toolkit/files/Paths.h"

#include "toolkit/base/Handles.h"

#include <windows.h>

#include <vector>

namespace tk {

std::string programFolder() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size())
            return folderPart(std::string(buffer.data(), n));
        buffer.resize(buffer.size() * 2);
    }
}

std::string shortPath(const std::string& path) {
    DWORD n = GetShortPathNameA(path.c_str(), nullptr, 0);
    if (n == 0)
        return {};
    std::string text(n, '\0');
    n = GetShortPathNameA(path.c_str(), text.data(), n);
    text.resize(n);
    return text;
}

bool folderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool fileExists(const std::string& path) {
    // A wildcard search would find some file, but such a path names none.
    if (path.find_first_of("*?") != std::string::npos)
        return false;
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA(path.c_str(), &found));
    return search && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string currentDirectory() {
    DWORD n = GetCurrentDirectoryA(0, nullptr);
    std::string text(n, '\0');
    n = GetCurrentDirectoryA(n, text.data());
    text.resize(n);
    return text;
}

std::string systemFolder() {
    UINT n = GetSystemDirectoryA(nullptr, 0);
    std::string text(n, '\0');
    n = GetSystemDirectoryA(text.data(), n);
    text.resize(n);
    return text;
}

} // namespace tk
