// Stands in for MAME and other child programs in the launcher tests. It
// records how it was started (raw command line, current directory, argv, the
// show-window value it was given, whether it has a console window, the kind
// of its standard output and, on request, whether a window is visible and the
// kind of a handle of its parent's) in the file that ARGDUMP_OUT names, prints
// one line to its standard output, on request about ARGDUMP_FLOOD bytes more
// shared by its output and its errors and the text of ARGDUMP_STDERR to its
// errors,
// optionally sleeps for ARGDUMP_SLEEP milliseconds, and exits with the code
// its first argument gives.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string currentDirectory() {
    char buffer[MAX_PATH * 4] = {};
    GetCurrentDirectoryA(sizeof buffer, buffer);
    return buffer;
}

void writeRecord(const std::string& target, int argc, char** argv) {
    // Written under another name and renamed, so a test polling for the file
    // never reads half of it.
    std::string part = target + ".part";
    FILE* file = std::fopen(part.c_str(), "wb");
    if (!file)
        return;
    std::fprintf(file, "commandline=%s\n", GetCommandLineA());
    std::fprintf(file, "directory=%s\n", currentDirectory().c_str());
    std::fprintf(file, "argc=%d\n", argc);
    for (int i = 0; i < argc; ++i)
        std::fprintf(file, "argv%d=%s\n", i, argv[i]);
    STARTUPINFOA startup{};
    GetStartupInfoA(&startup);
    std::fprintf(file, "startflags=%lu\n", startup.dwFlags);
    std::fprintf(file, "show=%u\n", startup.wShowWindow);
    std::fprintf(file, "consolewindow=%d\n", GetConsoleWindow() ? 1 : 0);
    std::fprintf(file, "stdouttype=%lu\n", GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)));
    std::string parentHandle = environment("ARGDUMP_HANDLE");
    if (!parentHandle.empty())
        std::fprintf(file, "handletype=%lu\n",
                     GetFileType(reinterpret_cast<HANDLE>(
                         static_cast<UINT_PTR>(std::strtoull(parentHandle.c_str(), nullptr, 10)))));
    std::string window = environment("ARGDUMP_WINDOW");
    if (!window.empty()) {
        HWND handle = reinterpret_cast<HWND>(std::strtoull(window.c_str(), nullptr, 10));
        std::fprintf(file, "windowvisible=%d\n", IsWindowVisible(handle) ? 1 : 0);
    }
    std::fclose(file);
    MoveFileExA(part.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
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

int main(int argc, char** argv) {
    // Kept short: a long line in a new console window is slow to draw.
    std::printf("argdump stdout: %.200s\n", GetCommandLineA());
    std::fflush(stdout);
    flood(std::atol(environment("ARGDUMP_FLOOD").c_str()));
    std::fputs(environment("ARGDUMP_STDERR").c_str(), stderr);
    std::fflush(stderr);
    std::string target = environment("ARGDUMP_OUT");
    if (!target.empty())
        writeRecord(target, argc, argv);
    std::string sleep = environment("ARGDUMP_SLEEP");
    if (!sleep.empty())
        Sleep(static_cast<DWORD>(std::atoi(sleep.c_str())));
    return argc > 1 ? std::atoi(argv[1]) : 0;
}
