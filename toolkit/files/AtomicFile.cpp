#include "toolkit/files/AtomicFile.h"

#include "toolkit/files/FileReader.h"
#include "toolkit/files/Paths.h"
#include "toolkit/text/CodePage.h"

#include <windows.h>

#include <sddl.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <vector>

namespace tk {
namespace {

// The file a write replaces, as the system finally names it: a symbolic
// link's target rather than the link, which a rename would replace by a plain
// file. Every existing file is looked up, since Wine shows no link as one.
std::string finalTarget(const std::string& path) {
    FileHandle file(CreateFileW(fileSystemPath(path).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    constexpr DWORD form = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    DWORD size = file ? GetFinalPathNameByHandleW(file.get(), nullptr, 0, form) : 0;
    if (size == 0)
        return path;
    std::wstring target(size, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file.get(), target.data(), size, form);
    if (length == 0 || length >= size)
        return path;
    target.resize(length);
    // The system names it in its long form, "\\?\C:\..." or "\\?\UNC\server\...".
    if (target.rfind(L"\\\\?\\UNC\\", 0) == 0)
        target.erase(1, 6);
    else if (target.rfind(L"\\\\?\\", 0) == 0)
        target.erase(0, 4);
    return wideToUtf8(target);
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

// Every user may wait for a turn and give it back, nothing more: a mutex made
// with the maker's own rights would shut out the copies of other users.
SECURITY_ATTRIBUTES* everyoneTakesTurns() {
    static const LocalMemory descriptor = [] {
        PSECURITY_DESCRIPTOR made = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;0x00100001;;;WD)",
                                                             SDDL_REVISION_1, &made, nullptr);
        return LocalMemory(made);
    }();
    static SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.get(), FALSE};
    return descriptor ? &attributes : nullptr;
}

// In the machine's namespace, shared by the sessions of all users logged on;
// where a session may not make such names, in its own.
KernelHandle turnMutex(const std::wstring& name) {
    constexpr DWORD access = SYNCHRONIZE | MUTEX_MODIFY_STATE;
    HANDLE mutex = CreateMutexExW(everyoneTakesTurns(), (L"Global\\" + name).c_str(), 0, access);
    if (!mutex)
        mutex = CreateMutexExW(nullptr, name.c_str(), 0, access);
    return KernelHandle(mutex);
}

// Only what bears the temporary name and is not read-only is a leftover: no
// write of ours makes its temporary file read-only, so a read-only file of
// that name is the user's and stays, as the system refuses to delete it.
void removeLeftover(const std::string& temporary) {
    DeleteFileW(fileSystemPath(temporary).c_str());
}

// The new file beside the target, so that swapping it in is a rename within
// one volume; a leftover of that name is removed first. Removed again unless
// it was swapped in.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {
        removeLeftover(path_);
        created_ =
            bool(FileHandle(CreateFileW(fileSystemPath(path_).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)));
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (created_)
            DeleteFileW(fileSystemPath(path_).c_str());
    }

    bool created() const { return created_; }
    void swappedIn() { created_ = false; }

private:
    std::string path_;
    bool created_ = false;
};

// Writes `content` over the new temporary file and flushes it.
bool overwriteFile(const std::string& path, std::string_view content) {
    FileHandle file(CreateFileW(fileSystemPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
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

// A reader holds the file for a moment, and a system may refuse to rename
// over a file that is open: the rename is tried again for that long.
constexpr int renameAttempts = 20;
constexpr DWORD renamePause = 25;

// One rename that replaces the target: the file has the old or the new
// content at every moment. ReplaceFileW is not used: Wine carries it out as
// two renames, and a process killed between them leaves no file at all. A
// read-only target is refused, as ReplaceFileW refuses it, even where the
// rename would be allowed (under Wine, for a privileged user).
bool swapIn(const std::string& replacement, const std::string& target) {
    const std::wstring from = fileSystemPath(replacement), to = fileSystemPath(target);
    DWORD attributes = GetFileAttributesW(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    return retriedWhileHeld(
               [&] {
                   return MoveFileExW(from.c_str(), to.c_str(),
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
               },
               renameAttempts, renamePause) == 0;
}

// Fills a new temporary file and swaps it in for the file, all in the file's
// turn; raises FileInUse without it.
bool replaceInTurn(const std::string& path, const std::function<bool(const std::string&)>& fill) {
    const std::string target = finalTarget(path);
    const std::string temporary = temporarySibling(target);
    FileTurn turn(path, fileTurnWait);
    if (!turn.held())
        throw FileInUse(path);
    TemporaryFile file(temporary);
    if (!file.created() || !fill(temporary) || !swapIn(temporary, target))
        return false;
    file.swappedIn();
    return true;
}

} // namespace

void replaceFileContent(const std::string& path, std::string_view content) {
    if (!replaceInTurn(
            path, [&](const std::string& temporary) { return overwriteFile(temporary, content); }))
        throw Error(formatMessage("Cannot create file %s", path));
}

void rewriteFileContent(const std::string& path, const ContentChange& change) {
    if (!replaceInTurn(path, [&](const std::string& temporary) {
            std::optional<std::string> current;
            try {
                current = readFileIfPresent(path);
            } catch (const Error&) {
                return false; // a folder in its place, or held without sharing
            }
            return overwriteFile(temporary, change(std::move(current)));
        }))
        throw Error(formatMessage("Cannot create file %s", path));
}

FileTurn::FileTurn(const std::string& path, unsigned long milliseconds)
    : mutex_(turnMutex(turnName(temporarySibling(finalTarget(path))))) {
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
        removeLeftover(temporarySibling(finalTarget(path)));
}

unsigned long retriedWhileHeld(const std::function<bool()>& operation, int attempts,
                               unsigned long pause) {
    for (int attempt = 1;; ++attempt) {
        if (operation())
            return 0;
        DWORD error = GetLastError();
        // Access is denied too while a file deleted by another waits for its
        // last handle to close.
        if (attempt >= attempts ||
            (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
            return error;
        Sleep(pause);
    }
}

} // namespace tk
