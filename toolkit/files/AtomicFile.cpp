#include "toolkit/files/AtomicFile.h"

#include "toolkit/base/Error.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/FileReader.h"
#include "toolkit/files/PathText.h"
#include "toolkit/text/CodePage.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <vector>

namespace tk {
namespace {

// The file a write replaces, as the system finally names it: a symbolic
// link's target rather than the link, which a rename would replace by a plain
// file. Every existing file is looked up, since Wine shows no link as one. A
// file without a final name within the usual length keeps the path given.
std::string finalTarget(const std::string& path) {
    FileHandle file(CreateFileW(utf8ToWide(path).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    wchar_t buffer[MAX_PATH + 8];
    const DWORD room = sizeof buffer / sizeof *buffer;
    DWORD length = file ? GetFinalPathNameByHandleW(file.get(), buffer, room,
                                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS)
                        : 0;
    if (length == 0 || length >= room)
        return path;
    // The system names it in its long form, "\\?\C:\..." or "\\?\UNC\server\...".
    std::wstring target(buffer, length);
    if (target.rfind(L"\\\\?\\UNC\\", 0) == 0)
        target.erase(1, 6);
    else if (target.rfind(L"\\\\?\\", 0) == 0)
        target = target.substr(4);
    // The limit of a path counts UTF-16 units.
    return target.size() < MAX_PATH ? wideToUtf8(target) : path;
}

// The full path of the file all writers of `path` write first, in capitals
// since file names match without regard to case, hashed: a mutex name may hold
// no backslash and is limited in length. Two paths of one hash merely take
// turns.
std::wstring turnName(const std::string& temporary) {
    std::vector<wchar_t> full(32768);
    DWORD length =
        GetFullPathNameW(utf8ToWide(temporary).c_str(), DWORD(full.size()), full.data(), nullptr);
    std::string key = utf8UpperCase(length > 0 && length < full.size()
                                        ? wideToUtf8(std::wstring_view(full.data(), length))
                                        : temporary);
    std::uint64_t hash = 14695981039346656037u;
    for (unsigned char c : key)
        hash = (hash ^ c) * 1099511628211u;
    wchar_t name[64];
    std::swprintf(name, sizeof name / sizeof *name, L"KestonPrime.Write.%016llx",
                  static_cast<unsigned long long>(hash));
    return name;
}

bool removeFile(const std::string& path) {
    const std::wstring wide = utf8ToWide(path);
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(wide.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

// The new file beside the target, so that swapping it in is a rename within
// one volume; a leftover of that name is removed first. Removed again unless
// it was swapped in.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {
        created_ = removeFile(path_) &&
                   FileHandle(CreateFileW(utf8ToWide(path_).c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (created_)
            removeFile(path_);
    }

    bool created() const { return created_; }
    void swappedIn() { created_ = false; }

private:
    std::string path_;
    bool created_ = false;
};

bool flush(const std::string& path) {
    FileHandle file(CreateFileW(utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && FlushFileBuffers(file.get());
}

// The copy starts as the file's bytes, or empty when there is no file yet.
bool copyInto(const std::string& path, const std::string& copy) {
    const std::wstring from = utf8ToWide(path), to = utf8ToWide(copy);
    if (GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES)
        return true;
    return CopyFileW(from.c_str(), to.c_str(), FALSE) &&
           SetFileAttributesW(to.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// One rename that replaces the target: the file has the old or the new
// content at every moment. ReplaceFileW is not used: Wine carries it out as
// two renames, and a process killed between them leaves no file at all. A
// read-only target is refused, as ReplaceFileW refuses it, even where the
// rename would be allowed (under Wine, for a privileged user).
bool swapIn(const std::string& replacement, const std::string& target) {
    const std::wstring wideTarget = utf8ToWide(target);
    DWORD attributes = GetFileAttributesW(wideTarget.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    return MoveFileExW(utf8ToWide(replacement).c_str(), wideTarget.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// Fills a new temporary file and swaps it in for the file, all while holding
// the file's write lock.
bool replaceLocked(const std::string& path, const std::function<bool(const std::string&)>& fill) {
    const std::string target = finalTarget(path);
    const std::string temporary = temporarySibling(target);
    FileTurn turn(path, fileTurnWait);
    if (!turn.held())
        return false;
    TemporaryFile file(temporary);
    if (!file.created() || !fill(temporary) || !swapIn(temporary, target))
        return false;
    file.swappedIn();
    return true;
}

} // namespace

bool overwriteFile(const std::string& path, std::string_view content) {
    FileHandle file(CreateFileW(utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
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

void replaceFileContent(const std::string& path, std::string_view content) {
    if (!replaceLocked(
            path, [&](const std::string& temporary) { return overwriteFile(temporary, content); }))
        throw Error(formatMessage("Cannot create file %s", path));
}

void rewriteFileContent(const std::string& path, const ContentChange& change) {
    if (!replaceLocked(path, [&](const std::string& temporary) {
            std::optional<std::string> current;
            try {
                current = readFileIfPresent(path);
            } catch (const Error&) {
                return false; // a folder in its place, or held without sharing
            }
            return overwriteFile(temporary, change(current));
        }))
        throw Error(formatMessage("Cannot create file %s", path));
}

bool replaceFileByChangedCopy(const std::string& path,
                              const std::function<bool(const std::string& copy)>& change) {
    return replaceLocked(path, [&](const std::string& copy) {
        return copyInto(path, copy) && change(copy) && flush(copy);
    });
}

FileTurn::FileTurn(const std::string& path, unsigned long milliseconds)
    : mutex_(CreateMutexW(nullptr, FALSE, turnName(temporarySibling(finalTarget(path))).c_str())) {
    DWORD result = mutex_ ? WaitForSingleObject(mutex_.get(), milliseconds) : WAIT_FAILED;
    // An abandoned turn is held all the same: its writer was killed, and the
    // file it was writing is still whole.
    held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

FileTurn::~FileTurn() {
    if (held_)
        ReleaseMutex(mutex_.get());
}

void removeLeftovers(const std::string& path) {
    // A writer at work now owns the temporary file: it is no leftover.
    FileTurn turn(path, 0);
    if (turn.held())
        removeFile(temporarySibling(finalTarget(path)));
}

} // namespace tk
