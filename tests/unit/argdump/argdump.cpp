// Stands in for MAME and other child programs in the launcher tests. It
// records how it was started (its process id, raw command line, current directory, argv, the
// show-window value it was given, whether it has a console window, the kind
// of its standard output and, on request, whether a window is visible and the
// kind of a handle of its parent's) in the file that ARGDUMP_OUT names, prints
// one line to its standard output, on request about ARGDUMP_FLOOD bytes more
// shared by its output and its errors and the text of ARGDUMP_STDERR to its
// errors,
// optionally sleeps for ARGDUMP_SLEEP milliseconds, and exits with the code
// its first argument gives. It takes everything in its wide form and records
// it in UTF-8, so names in any letters reach the record unchanged.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string utf8(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    return result;
}

std::string environment(const wchar_t* name) {
    const wchar_t* value = _wgetenv(name);
    return value ? utf8(value) : "";
}

std::string currentDirectory() {
    wchar_t buffer[MAX_PATH * 4] = {};
    GetCurrentDirectoryW(MAX_PATH * 4, buffer);
    return utf8(buffer);
}

void writeRecord(const wchar_t* target, int argc, wchar_t** argv) {
    // Written under another name and renamed, so a test polling for the file
    // never reads half of it.
    std::wstring part = std::wstring(target) + L".part";
    FILE* file = _wfopen(part.c_str(), L"wb");
    if (!file)
        return;
    std::fprintf(file, "pid=%lu\n", GetCurrentProcessId());
    std::fprintf(file, "commandline=%s\n", utf8(GetCommandLineW()).c_str());
    std::fprintf(file, "directory=%s\n", currentDirectory().c_str());
    std::fprintf(file, "argc=%d\n", argc);
    for (int i = 0; i < argc; ++i)
        std::fprintf(file, "argv%d=%s\n", i, utf8(argv[i]).c_str());
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    std::fprintf(file, "startflags=%lu\n", startup.dwFlags);
    std::fprintf(file, "show=%u\n", startup.wShowWindow);
    std::fprintf(file, "consolewindow=%d\n", GetConsoleWindow() ? 1 : 0);
    std::fprintf(file, "stdouttype=%lu\n", GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)));
    std::string parentHandle = environment(L"ARGDUMP_HANDLE");
    if (!parentHandle.empty())
        std::fprintf(file, "handletype=%lu\n",
                     GetFileType(reinterpret_cast<HANDLE>(
                         static_cast<UINT_PTR>(std::strtoull(parentHandle.c_str(), nullptr, 10)))));
    std::string window = environment(L"ARGDUMP_WINDOW");
    if (!window.empty()) {
        HWND handle = reinterpret_cast<HWND>(std::strtoull(window.c_str(), nullptr, 10));
        std::fprintf(file, "windowvisible=%d\n", IsWindowVisible(handle) ? 1 : 0);
    }
    std::fclose(file);
    MoveFileExW(part.c_str(), target, MOVEFILE_REPLACE_EXISTING);
}

// Numbered lines to both outputs, the last one saying where it ends.
void flood(long bytes) {
    if (bytes <= 0)
        return;
    for (long written = 0, line = 0; written < bytes; ++line) {
        written += std::fprintf(stdout, "output line %ld of a flood\n", line);
        written += std::fprintf(stderr, "error line %ld of a flood\n", line);
    }
    std::fputs("flood end\n", stderr);
    std::fflush(stdout);
    std::fflush(stderr);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    // Kept short: a long line in a new console window is slow to draw. The
    // bytes are UTF-8, as MAME prints.
    std::printf("argdump stdout: %.200s\n", utf8(GetCommandLineW()).c_str());
    std::fflush(stdout);
    flood(std::atol(environment(L"ARGDUMP_FLOOD").c_str()));
    std::fputs(environment(L"ARGDUMP_STDERR").c_str(), stderr);
    std::fflush(stderr);
    if (const wchar_t* target = _wgetenv(L"ARGDUMP_OUT"); target && *target)
        writeRecord(target, argc, argv);
    std::string sleep = environment(L"ARGDUMP_SLEEP");
    if (!sleep.empty())
        Sleep(static_cast<DWORD>(std::atoi(sleep.c_str())));
    return argc > 1 ? _wtoi(argv[1]) : 0;
}
