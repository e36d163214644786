#include "toolkit/AtomicFile.h"

#include "toolkit/Error.h"
#include "toolkit/Handles.h"
#include "toolkit/Paths.h"

#include <windows.h>

#include <algorithm>

namespace tk {
namespace {

Error cannotOpen(const std::string& path) {
    return Error(formatMessage("Cannot open file %s", path));
}

FileHandle openForReading(const std::string& path) {
    return FileHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::optional<std::string> readAll(HANDLE file) {
    std::string content;
    std::string chunk(64 * 1024, '\0');
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr))
            return std::nullopt;
        if (got == 0)
            return content;
        content.append(chunk, 0, got);
    }
}

// Temporary files are named after their target, so that one left behind by a
// killed process is known as such and removed by the next write.
std::string temporaryPattern(const std::string& target) {
    return target + ".*.kst";
}

void removeLeftovers(const std::string& target) {
    const std::string folder = folderPart(target);
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA(temporaryPattern(target).c_str(), &found));
    if (!search)
        return;
    do {
        // A file still open in another writer cannot be deleted and stays.
        DeleteFileA(joinPath(folder, found.cFileName).c_str());
    } while (FindNextFileA(search.get(), &found));
}

// A new file beside the target, so that swapping it in is a rename within one
// volume. Removed again unless it was swapped in.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target) {
        static unsigned counter = 0;
        for (int tries = 0; tries < 100 && path_.empty(); ++tries) {
            std::string name = target + "." + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++counter) + ".kst";
            FileHandle file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file)
                path_ = name;
            else if (GetLastError() != ERROR_FILE_EXISTS)
                break;
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!path_.empty()) {
            SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path_.c_str());
        }
    }

    bool created() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    void swappedIn() { path_.clear(); }

private:
    std::string path_;
};

bool writeAndFlush(const std::string& path, std::string_view content) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    while (!content.empty()) {
        DWORD part = static_cast<DWORD>(std::min<size_t>(content.size(), 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file.get(), content.data(), part, &written, nullptr) || written != part)
            return false;
        content.remove_prefix(written);
    }
    return FlushFileBuffers(file.get());
}

bool flush(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && FlushFileBuffers(file.get());
}

// The copy starts as the file's bytes, or empty when there is no file yet.
bool copyInto(const std::string& path, const std::string& copy) {
    if (!fileExists(path))
        return true;
    return CopyFileA(path.c_str(), copy.c_str(), FALSE) &&
           SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// One rename that replaces the target: the file has the old or the new
// content at every moment. ReplaceFileA is not used: Wine carries it out as
// two renames, and a process killed between them leaves no file at all. A
// read-only target is refused, as ReplaceFileA refuses it, even where the
// rename would be allowed (under Wine, for a privileged user).
bool swapIn(const std::string& replacement, const std::string& target) {
    DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    return MoveFileExA(replacement.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

} // namespace

std::optional<std::string> readFileIfPresent(const std::string& path) {
    FileHandle file = openForReading(path);
    if (!file) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return std::nullopt;
        throw cannotOpen(path);
    }
    std::optional<std::string> content = readAll(file.get());
    if (!content)
        throw cannotOpen(path);
    return content;
}

std::string readWholeFile(const std::string& path) {
    std::optional<std::string> content = readFileIfPresent(path);
    if (!content)
        throw cannotOpen(path);
    return *content;
}

void replaceFileContent(const std::string& path, std::string_view content) {
    removeLeftovers(path);
    TemporaryFile temporary(path);
    if (!temporary.created() || !writeAndFlush(temporary.path(), content) ||
        !swapIn(temporary.path(), path))
        throw Error(formatMessage("Cannot create file %s", path));
    temporary.swappedIn();
}

bool replaceFileByChangedCopy(const std::string& path,
                              const std::function<bool(const std::string& copy)>& change) {
    removeLeftovers(path);
    TemporaryFile copy(path);
    if (!copy.created() || !copyInto(path, copy.path()) || !change(copy.path()) ||
        !flush(copy.path()) || !swapIn(copy.path(), path))
        return false;
    copy.swappedIn();
    return true;
}

} // namespace tk
