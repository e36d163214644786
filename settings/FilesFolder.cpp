#include "settings/FilesFolder.h"

#include "settings/Settings.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/Paths.h"
#include "toolkit/files/SystemError.h"
#include "toolkit/text/CodePage.h"

#include <windows.h>

#include <string_view>

namespace settings {

namespace {

constexpr char userFolderName[] = "KESTON PRIME";

// Every path here may be as long as the file system allows.
std::wstring wide(const std::string& path) {
    return tk::fileSystemPath(path);
}

DWORD attributesOf(const std::string& path) {
    return GetFileAttributesW(wide(path).c_str());
}

bool isFile(const std::string& path) {
    DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A copy the user can write, whatever attributes the original had.
void copyIfThere(const std::string& from, const std::string& to) {
    if (isFile(from) && CopyFileW(wide(from).c_str(), wide(to).c_str(), TRUE))
        SetFileAttributesW(wide(to).c_str(), FILE_ATTRIBUTE_NORMAL);
}

void takeOverPortableFiles(const std::string& programFolder, const std::string& userFolder) {
    if (isFile(tk::joinPath(userFolder, settingsFileName)) ||
        !isFile(tk::joinPath(programFolder, settingsFileName)))
        return;
    for (const char* name : {gameListFileName, skinFileName, settingsFileName})
        copyIfThere(tk::joinPath(programFolder, name), tk::joinPath(userFolder, name));
}

std::string movedNotice(const std::string& programFolder, const std::string& userFolder) {
    return "The folder " + programFolder +
           " cannot be written: KESTON PRIME keeps its settings, game list and skin in " +
           userFolder + " from now on.";
}

// Told at every start that finds neither folder writable: the settings are
// read, but nothing the user changes is kept.
std::string nowhereNotice(const std::string& programFolder, DWORD programRefusal,
                          const std::string& userFolder, const char* userVerb, DWORD userRefusal) {
    return "The folder " + programFolder + " cannot be written (" +
           tk::systemErrorText(programRefusal) + "), nor can the folder " + userFolder + " be " +
           userVerb + " (" + tk::systemErrorText(userRefusal) +
           "): KESTON PRIME cannot keep its settings, game list and skin.";
}

// Why no file can be made in the folder: the system's error, or
// ERROR_SUCCESS when one can.
DWORD writeRefusal(const std::string& folder) {
    std::string probe =
        tk::joinPath(folder, "keston-probe-" + std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(GetCurrentThreadId()) + ".tmp");
    // Removed at its close, even when the process is killed first.
    HANDLE handle = CreateFileW(wide(probe).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    DWORD error = GetLastError();
    tk::FileHandle file(handle);
    return file ? ERROR_SUCCESS : error;
}

// A drive's root and on ("C:\..."), or a share ("\\server\...").
bool fullPath(std::wstring_view path) {
    auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    bool drive = path.size() >= 3 && ((path[0] | 0x20) >= L'a' && (path[0] | 0x20) <= L'z') &&
                 path[1] == L':' && separator(path[2]);
    return drive || (path.size() >= 2 && separator(path[0]) && separator(path[1]));
}

} // namespace

FilesPlace chooseFilesPlace(const std::string& programFolder, const std::string& userFolder) {
    if (userFolder.empty())
        return {programFolder, ""};
    // Once the user's settings are kept there, they stay the ones in use: a
    // program folder that can be written again holds only older files.
    if (isFile(tk::joinPath(userFolder, settingsFileName)))
        return {userFolder, ""};
    DWORD programRefusal = writeRefusal(programFolder);
    if (programRefusal == ERROR_SUCCESS)
        return {programFolder, ""};
    // Made here, or found made: by an earlier start, or by another copy
    // started at the same moment, which then tells of the move itself.
    bool made = CreateDirectoryW(wide(userFolder).c_str(), nullptr);
    DWORD makeRefusal = GetLastError();
    if (!made && !tk::folderExists(userFolder))
        return {programFolder,
                nowhereNotice(programFolder, programRefusal, userFolder, "made", makeRefusal)};
    if (DWORD userRefusal = writeRefusal(userFolder); userRefusal != ERROR_SUCCESS)
        return {programFolder,
                nowhereNotice(programFolder, programRefusal, userFolder, "written", userRefusal)};
    takeOverPortableFiles(programFolder, userFolder);
    return {userFolder, made ? movedNotice(programFolder, userFolder) : ""};
}

std::string userFilesFolder() {
    DWORD n = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
    if (n == 0)
        return {};
    std::wstring value(n, L'\0');
    value.resize(GetEnvironmentVariableW(L"APPDATA", value.data(), n));
    // A relative value would name another folder from every current
    // directory: only a full path names the user's one place.
    if (!fullPath(value))
        return {};
    return tk::joinPath(tk::wideToUtf8(value), userFolderName);
}

bool folderWritable(const std::string& folder) {
    return writeRefusal(folder) == ERROR_SUCCESS;
}

std::string writeFailureCause(const std::string& path) {
    DWORD attributes = attributesOf(path);
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return "the file is read-only";
    if (exists) {
        // A replacement renames over the file: whoever holds it without
        // sharing its deletion blocks every write.
        tk::FileHandle held(CreateFileW(wide(path).c_str(), DELETE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD error = GetLastError();
        if (!held && (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION))
            return "the file is in use by another program";
    }
    std::string folder = tk::folderPart(path);
    if (tk::diskNearlyFull(folder))
        return "the disk is full";
    if (!folderWritable(folder))
        return "its folder cannot be written";
    return {};
}

} // namespace settings
