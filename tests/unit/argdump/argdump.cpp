// Stands in for MAME and other child programs in the launcher tests. It
// records how it was started (raw command line, current directory, argv, the
// show-window value it was given and, on request, whether a window is visible) in the file that
// ARGDUMP_OUT names, prints one line to its standard output, optionally sleeps for ARGDUMP_SLEEP
// milliseconds, and exits with the code its first argument gives.
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
    std::string window = environment("ARGDUMP_WINDOW");
    if (!window.empty()) {
        HWND handle = reinterpret_cast<HWND>(std::strtoull(window.c_str(), nullptr, 10));
        std::fprintf(file, "windowvisible=%d\n", IsWindowVisible(handle) ? 1 : 0);
    }
    std::fclose(file);
    MoveFileExA(part.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
}

} // namespace

int main(int argc, char** argv) {
    // Kept short: a long line in a new console window is slow to draw.
    std::printf("argdump stdout: %.200s\n", GetCommandLineA());
    std::fflush(stdout);
    std::string target = environment("ARGDUMP_OUT");
    if (!target.empty())
        writeRecord(target, argc, argv);
    std::string sleep = environment("ARGDUMP_SLEEP");
    if (!sleep.empty())
        Sleep(static_cast<DWORD>(std::atoi(sleep.c_str())));
    return argc > 1 ? std::atoi(argv[1]) : 0;
}
