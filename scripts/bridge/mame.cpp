// mame.exe for Linux's MAME under Wine: a Windows program that the front-end
// starts and waits for like MAME itself, and that runs Debian's MAME through
// the script mame.sh beside it. Used by scripts/run and by the tests.
//
// Wine starts a Unix program detached: the process handle it returns is
// already signalled, so neither this program nor cmd.exe could wait for MAME.
// Instead the script writes MAME's exit code into a marker file when MAME has
// ended, and this program waits for that file and exits with the code. The
// script gets the marker's Unix path, from Wine's own path mapping, in its
// environment.
//
// Everything it takes and hands on is in its wide form, so folders and
// arguments in any letters pass through; Wine gives them to the script in
// UTF-8, the encoding of Unix file names and of MAME's own arguments.
#include "toolkit/base/Handles.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int bridgeFailure = 125;
constexpr DWORD pollMilliseconds = 10;

std::string lastErrorText(const std::string& what) {
    return what + " failed, error " + std::to_string(GetLastError());
}

std::wstring ownFolder() {
    std::vector<wchar_t> path(MAX_PATH);
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()))) == path.size())
        path.resize(path.size() * 2);
    if (length == 0)
        throw std::runtime_error(lastErrorText("GetModuleFileNameW"));
    std::wstring full(path.data(), length);
    return full.substr(0, full.find_last_of(L'\\'));
}

// The arguments exactly as this program got them: the command line without
// its first word (the program's own name, quoted or not).
std::wstring ownArguments() {
    std::wstring_view line = GetCommandLineW();
    bool quoted = line.starts_with(L'"');
    size_t end = quoted ? line.find(L'"', 1) : line.find_first_of(L" \t");
    if (end == std::wstring_view::npos)
        return {};
    size_t first = line.find_first_not_of(L" \t", quoted ? end + 1 : end);
    return first == std::wstring_view::npos ? L"" : std::wstring(line.substr(first));
}

// A file name nobody else uses: GetTempFileNameW reserves a name, and the
// marker is that name with ".done", so it exists only once the script wrote it.
// MAME's standard output goes to the name with ".out", its errors to ".err".
struct Marker {
    std::wstring reserved;
    std::wstring path;
    std::wstring output;
    std::wstring errors;

    Marker() {
        wchar_t folder[MAX_PATH];
        wchar_t name[MAX_PATH];
        if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"mam", 0, name))
            throw std::runtime_error(lastErrorText("GetTempFileNameW"));
        reserved = name;
        path = reserved + L".done";
        output = reserved + L".out";
        errors = reserved + L".err";
    }
    Marker(const Marker&) = delete;
    Marker& operator=(const Marker&) = delete;
    ~Marker() {
        DeleteFileW(output.c_str());
        DeleteFileW(errors.c_str());
        DeleteFileW(path.c_str());
        DeleteFileW(reserved.c_str());
    }
};

std::wstring unixPath(const std::wstring& windowsPath) {
    using UnixFileName = char*(CDECL*)(const WCHAR*);
    auto convert = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    if (!convert)
        throw std::runtime_error("this program needs Wine (wine_get_unix_file_name not found)");
    char* converted = convert(windowsPath.c_str());
    if (!converted)
        throw std::runtime_error("no Unix path for a temporary file");
    // Wine names Unix files in UTF-8.
    int size = MultiByteToWideChar(CP_UTF8, 0, converted, -1, nullptr, 0);
    std::wstring result(size > 0 ? size - 1 : 0, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, converted, -1, result.data(), size);
    HeapFree(GetProcessHeap(), 0, converted);
    return result;
}

void startScript(const std::wstring& script, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + script + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(script.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &process))
        throw std::runtime_error(lastErrorText("starting mame.sh beside mame.exe"));
    tk::KernelHandle thread(process.hThread);
    tk::KernelHandle child(process.hProcess);
}

// The script renames the finished marker into place, so once it exists its
// content is complete.
int waitForExitCode(const std::wstring& marker) {
    while (GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES)
        Sleep(pollMilliseconds);
    std::FILE* file = _wfopen(marker.c_str(), L"r");
    int code = bridgeFailure;
    if (!file || std::fscanf(file, "%d", &code) != 1)
        code = bridgeFailure;
    if (file)
        std::fclose(file);
    return code;
}

// MAME's output or errors, handed on through this program's own standard
// output or error. A Unix program that Wine starts does not get a standard
// handle that is a pipe (as the front-end gives MAME to read its errors), nor
// any from a process without a console (as the front-end starts MAME when
// the interpreter cannot be used), so MAME writes to files and this program
// copies them, once MAME has ended: the output first, then the errors.
void relay(const std::wstring& output, DWORD standardHandle) {
    tk::FileHandle file(CreateFileW(output.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    HANDLE target = GetStdHandle(standardHandle);
    char buffer[64 * 1024];
    DWORD got = 0;
    while (file && ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got != 0) {
        DWORD written = 0;
        if (!WriteFile(target, buffer, got, &written, nullptr))
            return;
    }
}

void exportPath(const wchar_t* variable, const std::wstring& windowsPath) {
    if (!SetEnvironmentVariableW(variable, unixPath(windowsPath).c_str()))
        throw std::runtime_error(lastErrorText("SetEnvironmentVariableW"));
}

int run() {
    const std::wstring script = ownFolder() + L"\\mame.sh";
    Marker marker;
    exportPath(L"KESTON_BRIDGE_MARKER", marker.path);
    exportPath(L"KESTON_BRIDGE_OUTPUT", marker.output);
    exportPath(L"KESTON_BRIDGE_ERRORS", marker.errors);
    startScript(script, ownArguments());
    int code = waitForExitCode(marker.path);
    relay(marker.output, STD_OUTPUT_HANDLE);
    relay(marker.errors, STD_ERROR_HANDLE);
    return code;
}

} // namespace

int main() {
    try {
        return run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "mame.exe (bridge to Linux MAME): %s\n", error.what());
        return bridgeFailure;
    }
}
