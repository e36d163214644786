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
#include "toolkit/base/Handles.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

constexpr int bridgeFailure = 125;
constexpr DWORD pollMilliseconds = 10;

std::string lastErrorText(const std::string& what) {
    return what + " failed, error " + std::to_string(GetLastError());
}

std::string ownFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        throw std::runtime_error(lastErrorText("GetModuleFileNameA"));
    std::string full(path, length);
    return full.substr(0, full.find_last_of('\\'));
}

// The arguments exactly as this program got them: the command line without
// its first word (the program's own name, quoted or not).
std::string ownArguments() {
    const char* line = GetCommandLineA();
    if (*line == '"') {
        line = std::strchr(line + 1, '"');
        line = line ? line + 1 : "";
    } else {
        while (*line && *line != ' ' && *line != '\t')
            ++line;
    }
    while (*line == ' ' || *line == '\t')
        ++line;
    return line;
}

// A file name nobody else uses: GetTempFileNameA reserves a name, and the
// marker is that name with ".done", so it exists only once the script wrote it.
// MAME's standard output goes to the name with ".out", its errors to ".err".
struct Marker {
    std::string reserved;
    std::string path;
    std::string output;
    std::string errors;

    Marker() {
        char folder[MAX_PATH];
        char name[MAX_PATH];
        if (!GetTempPathA(MAX_PATH, folder) || !GetTempFileNameA(folder, "mam", 0, name))
            throw std::runtime_error(lastErrorText("GetTempFileNameA"));
        reserved = name;
        path = reserved + ".done";
        output = reserved + ".out";
        errors = reserved + ".err";
    }
    Marker(const Marker&) = delete;
    Marker& operator=(const Marker&) = delete;
    ~Marker() {
        DeleteFileA(output.c_str());
        DeleteFileA(errors.c_str());
        DeleteFileA(path.c_str());
        DeleteFileA(reserved.c_str());
    }
};

std::string unixPath(const std::string& windowsPath) {
    using UnixFileName = char*(CDECL*)(const WCHAR*);
    auto convert = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    if (!convert)
        throw std::runtime_error("this program needs Wine (wine_get_unix_file_name not found)");
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH))
        throw std::runtime_error(lastErrorText("MultiByteToWideChar"));
    char* converted = convert(wide);
    if (!converted)
        throw std::runtime_error("no Unix path for " + windowsPath);
    std::string result = converted;
    HeapFree(GetProcessHeap(), 0, converted);
    return result;
}

void startScript(const std::string& script, const std::string& arguments) {
    std::string commandLine = "\"" + script + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(script.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &process))
        throw std::runtime_error(lastErrorText("starting " + script));
    tk::KernelHandle thread(process.hThread);
    tk::KernelHandle child(process.hProcess);
}

// The script renames the finished marker into place, so once it exists its
// content is complete.
int waitForExitCode(const std::string& marker) {
    while (GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES)
        Sleep(pollMilliseconds);
    std::FILE* file = std::fopen(marker.c_str(), "r");
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
void relay(const std::string& output, DWORD standardHandle) {
    tk::FileHandle file(CreateFileA(output.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
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

void exportPath(const char* variable, const std::string& windowsPath) {
    if (!SetEnvironmentVariableA(variable, unixPath(windowsPath).c_str()))
        throw std::runtime_error(lastErrorText("SetEnvironmentVariableA"));
}

int run() {
    const std::string script = ownFolder() + "\\mame.sh";
    Marker marker;
    exportPath("KESTON_BRIDGE_MARKER", marker.path);
    exportPath("KESTON_BRIDGE_OUTPUT", marker.output);
    exportPath("KESTON_BRIDGE_ERRORS", marker.errors);
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
