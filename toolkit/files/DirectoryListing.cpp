#include "toolkit/files/DirectoryListing.h"

#include "toolkit/base/Handles.h"
#include "toolkit/files/Paths.h"

#include <windows.h>

#include <algorithm>

namespace tk {
namespace {

// Relative texts are resolved before any directory is entered, so that all
// parts of a list are taken against the same current directory.
std::optional<std::string> fullPath(const std::string& path) {
    const char* text = path.empty() ? "." : path.c_str();
    DWORD size = GetFullPathNameA(text, 0, nullptr, nullptr);
    if (size == 0)
        return std::nullopt;
    std::string full(size, '\0');
    size = GetFullPathNameA(text, size, full.data(), nullptr);
    full.resize(size);
    return full;
}

// The directory as the system names it once entered, or nothing when it
// cannot be entered (the current directory then stays as it was).
std::optional<std::string> enter(const std::string& full) {
    if (!SetCurrentDirectoryA(full.c_str()))
        return std::nullopt;
    return currentDirectory();
}

struct ListedFile {
    std::string sortKey;
    std::string name;
    std::size_t folder;
};

// The byte key that orders as CompareStringA with NORM_IGNORECASE orders, which
// is what a sorted list box uses; computing it once per name is several times
// faster than comparing with CompareStringA during the sort.
std::string sortKeyOf(const std::string& name) {
    constexpr DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    int length = static_cast<int>(name.size());
    int size = LCMapStringA(LOCALE_USER_DEFAULT, flags, name.data(), length, nullptr, 0);
    std::string key(static_cast<std::size_t>(size), '\0');
    LCMapStringA(LOCALE_USER_DEFAULT, flags, name.data(), length, key.data(), size);
    return key;
}

void addFilesOf(const std::string& folder, std::size_t index, const std::string& pattern,
                std::vector<ListedFile>& files) {
    std::string search =
        !folder.empty() && folder.back() == '\\' ? folder + pattern : joinPath(folder, pattern);
    WIN32_FIND_DATAA found;
    FindHandle handle(FindFirstFileA(search.c_str(), &found));
    if (!handle)
        return;
    constexpr DWORD leftOut =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if (!(found.dwFileAttributes & leftOut))
            files.push_back({sortKeyOf(found.cFileName), found.cFileName, index});
    } while (FindNextFileA(handle.get(), &found));
}

} // namespace

FolderAndPattern splitNamePattern(const std::string& text) {
    auto separator = text.find_last_of("\\:");
    std::string last = separator == std::string::npos ? text : text.substr(separator + 1);
    if (last.find_first_of("*?") == std::string::npos)
        return {text, std::nullopt};
    return {folderPart(text), last};
}

DirectorySetting::DirectorySetting() : folders_{currentDirectory()} {}

bool DirectorySetting::setPath(const std::string& text) {
    return setPaths({text});
}

bool DirectorySetting::setPaths(const std::vector<std::string>& texts) {
    std::vector<std::string> candidates;
    for (const std::string& text : texts) {
        FolderAndPattern split = splitNamePattern(text);
        if (split.pattern)
            pattern_ = *split.pattern;
        if (auto full = fullPath(split.folder))
            candidates.push_back(*full);
    }
    std::vector<std::string> entered;
    for (const std::string& candidate : candidates) {
        if (auto folder = enter(candidate))
            entered.push_back(*folder);
    }
    if (entered.empty())
        return false;
    SetCurrentDirectoryA(entered.front().c_str());
    folders_ = std::move(entered);
    return true;
}

std::vector<std::string> listFiles(const std::vector<std::string>& folders,
                                   const std::string& pattern) {
    std::vector<ListedFile> files;
    for (std::size_t index = 0; index < folders.size(); ++index)
        addFilesOf(folders[index], index, pattern, files);
    // Stable, so that among equal names the first folder's come first.
    std::stable_sort(files.begin(), files.end(), [](const ListedFile& a, const ListedFile& b) {
        return a.sortKey < b.sortKey;
    });
    std::vector<std::string> names;
    names.reserve(files.size());
    std::size_t runFolder = 0; // the first folder among names equal to this one
    for (std::size_t at = 0; at < files.size(); ++at) {
        if (at == 0 || files[at].sortKey != files[at - 1].sortKey)
            runFolder = files[at].folder;
        if (files[at].folder == runFolder)
            names.push_back(std::move(files[at].name));
    }
    return names;
}

} // namespace tk
