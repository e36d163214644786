#include "toolkit/AtomicFile.h"

#include "toolkit/Error.h"
#include "toolkit/Handles.h"
#include "toolkit/Paths.h"

#include <windows.h>

#include <algorithm>

namespace tk {
namespace {

// A uniquely named file in the target's folder, so that swapping it in is a
// rename within one volume. Removed again unless it was swapped in.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target) {
        std::string folder = folderPart(target);
        char name[MAX_PATH];
        if (GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "kst", 0, name))
            path_ = name;
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!path_.empty())
            DeleteFileA(path_.c_str());
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

bool swapIn(const std::string& replacement, const std::string& target) {
    if (!fileExists(target))
        return MoveFileExA(replacement.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    // The old file goes to a backup of our own naming, removed afterwards:
    // without one, a failed replace may leave a temporary file of the
    // system's making behind (Wine does).
    TemporaryFile backup(target);
    if (!backup.created())
        return false;
    if (ReplaceFileA(target.c_str(), replacement.c_str(), backup.path().c_str(),
                     REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return true;
    // Failing half-way leaves the old file under the backup's name.
    if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        MoveFileExA(backup.path().c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    return false;
}

} // namespace

void replaceFileContent(const std::string& path, std::string_view content) {
    TemporaryFile temporary(path);
    if (!temporary.created() || !writeAndFlush(temporary.path(), content) ||
        !swapIn(temporary.path(), path))
        throw Error(formatMessage("Cannot create file %s", path));
    temporary.swappedIn();
}

} // namespace tk
