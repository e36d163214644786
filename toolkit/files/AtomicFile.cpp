#include "toolkit/files/AtomicFile.h"

#include "toolkit/base/Error.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/Paths.h"

#include <windows.h>

#include <algorithm>

namespace tk {
namespace {

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

void replaceFileContent(const std::string& path, std::string_view content) {
    removeLeftovers(path);
    TemporaryFile temporary(path);
    if (!temporary.created() || !writeAndFlush(temporary.path(), content) ||
        !swapIn(temporary.path(), path))
        throw Error(formatMessage("Cannot create file %s", path));
    temporary.swappedIn();
}

void replaceFileWith(const std::string& path, const std::string& replacement) {
    if (!flush(replacement) || !swapIn(replacement, path))
        throw Error(formatMessage("Cannot create file %s", path));
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
