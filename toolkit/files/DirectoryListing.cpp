#include "toolkit/files/DirectoryListing.h"

#include "toolkit/base/Handles.h"
#include "toolkit/files/Paths.h"
#include "toolkit/text/CodePage.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string_view>

namespace tk {
namespace {

// The full form of a path text, a relative one taken against `base`.
std::optional<std::string> fullPath(const std::string& base, const std::string& path) {
    const std::wstring resolved = utf8ToWide(resolvedPath(base, path));
    DWORD size = GetFullPathNameW(resolved.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return std::nullopt;
    std::wstring full(size, L'\0');
    size = GetFullPathNameW(resolved.c_str(), size, full.data(), nullptr);
    full.resize(size);
    return wideToUtf8(full);
}

// The directory without a trailing backslash (a drive's root keeps its own),
// or nothing when it is no directory or cannot be listed.
std::optional<std::string> listable(std::string full) {
    const std::wstring wide = utf8ToWide(full);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    FileHandle opened(CreateFileW(wide.c_str(), FILE_LIST_DIRECTORY,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!opened)
        return std::nullopt;
    while (full.size() > 3 && full.back() == '\\')
        full.pop_back();
    return full;
}

// The names of a listing, with the byte keys that order them as CompareStringW
// with NORM_IGNORECASE orders, which is what a sorted list box uses: one key
// per name is several times faster than comparing during the sort. The keys
// share one buffer, so a name costs no allocation of its own beyond its text.
class ListedFiles {
public:
    void add(std::wstring_view found, std::size_t folder) {
        std::size_t keyStart = keys_.size();
        appendKey(found);
        entries_.push_back({wideToUtf8(found), keyStart, keys_.size() - keyStart, folder});
    }

    // Stable, so that among equal names the first folder's come first; of
    // equal names only the first folder's are kept.
    std::vector<std::string> sortedNames() {
        std::vector<std::size_t> order(entries_.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::stable_sort(order.begin(), order.end(),
                         [this](std::size_t a, std::size_t b) { return key(a) < key(b); });
        std::vector<std::string> names;
        names.reserve(order.size());
        std::size_t runFolder = 0; // the first folder among names equal to this one
        for (std::size_t at = 0; at < order.size(); ++at) {
            Entry& entry = entries_[order[at]];
            if (at == 0 || key(order[at]) != key(order[at - 1]))
                runFolder = entry.folder;
            if (entry.folder == runFolder)
                names.push_back(std::move(entry.name));
        }
        return names;
    }

private:
    struct Entry {
        std::string name;
        std::size_t keyStart;
        std::size_t keyLength;
        std::size_t folder;
    };

    void appendKey(std::wstring_view name) {
        constexpr DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
        int length = static_cast<int>(name.size());
        // A key takes a few bytes per character: this fits any name of
        // MAX_PATH characters, and a longer one is asked its size.
        alignas(WCHAR) char buffer[4096];
        int size = LCMapStringW(LOCALE_USER_DEFAULT, flags, name.data(), length,
                                reinterpret_cast<LPWSTR>(buffer), sizeof buffer);
        if (size > 0) {
            keys_.append(buffer, static_cast<std::size_t>(size));
            return;
        }
        size = LCMapStringW(LOCALE_USER_DEFAULT, flags, name.data(), length, nullptr, 0);
        std::string key(static_cast<std::size_t>(size), '\0');
        LCMapStringW(LOCALE_USER_DEFAULT, flags, name.data(), length,
                     reinterpret_cast<LPWSTR>(key.data()), size);
        keys_ += key;
    }

    std::string_view key(std::size_t index) const {
        return std::string_view(keys_).substr(entries_[index].keyStart, entries_[index].keyLength);
    }

    std::vector<Entry> entries_;
    std::string keys_;
};

constexpr DWORD leftOut = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Whether the pattern takes every name, as "*.*" does in a file search.
bool takesEveryName(const std::string& pattern) {
    return pattern == "*" || pattern == "*.*";
}

bool cancelled(HANDLE cancel) {
    return cancel && WaitForSingleObject(cancel, 0) == WAIT_OBJECT_0;
}

// Every entry of the folder, hundreds to a call: under Wine a file search
// fetches a few KB per call, under a process-wide lock, and looks at one
// entry more than it returns each time.
void addEveryFileOf(const std::string& folder, std::size_t index, ListedFiles& files,
                    HANDLE cancel) {
    FileHandle directory(CreateFileW(utf8ToWide(folder).c_str(), FILE_LIST_DIRECTORY,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!directory)
        return;
    constexpr std::size_t bufferBytes = 256 * 1024;
    // Eight-byte aligned, as the entries are.
    std::vector<std::uint64_t> buffer(bufferBytes / sizeof(std::uint64_t));
    while (!cancelled(cancel) &&
           GetFileInformationByHandleEx(directory.get(), FileFullDirectoryInfo, buffer.data(),
                                        bufferBytes)) {
        const auto* at = reinterpret_cast<const char*>(buffer.data());
        for (;;) {
            const auto* entry = reinterpret_cast<const FILE_FULL_DIR_INFO*>(at);
            if (!(entry->FileAttributes & leftOut))
                files.add(std::wstring_view(entry->FileName, entry->FileNameLength / sizeof(WCHAR)),
                          index);
            if (entry->NextEntryOffset == 0)
                break;
            at += entry->NextEntryOffset;
        }
    }
}

// A narrower pattern is left to the file search, which matches it by the
// system's own rules for wildcards.
void addMatchingFilesOf(const std::string& folder, std::size_t index, const std::string& pattern,
                        ListedFiles& files, HANDLE cancel) {
    std::string search =
        !folder.empty() && folder.back() == '\\' ? folder + pattern : joinPath(folder, pattern);
    WIN32_FIND_DATAW found;
    FindHandle handle(FindFirstFileExW(utf8ToWide(search).c_str(), FindExInfoStandard, &found,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!handle)
        return;
    do {
        if (!(found.dwFileAttributes & leftOut))
            files.add(found.cFileName, index);
    } while (!cancelled(cancel) && FindNextFileW(handle.get(), &found));
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
        if (auto full = fullPath(folders_.front(), split.folder))
            candidates.push_back(*full);
    }
    std::vector<std::string> entered;
    for (const std::string& candidate : candidates) {
        if (auto folder = listable(candidate))
            entered.push_back(*folder);
    }
    if (entered.empty())
        return false;
    folders_ = std::move(entered);
    return true;
}

std::vector<std::string> listFiles(const std::vector<std::string>& folders,
                                   const std::string& pattern, void* cancel) {
    ListedFiles files;
    for (std::size_t index = 0; index < folders.size() && !cancelled(cancel); ++index) {
        if (takesEveryName(pattern))
            addEveryFileOf(folders[index], index, files, cancel);
        else
            addMatchingFilesOf(folders[index], index, pattern, files, cancel);
    }
    if (cancelled(cancel))
        return {};
    return files.sortedNames();
}

} // namespace tk
