// Stands in for MAME in the ui tests: prints a short game list for
// -listfull (with LF line ends, as MAME on Linux does) unless told to fail
// (see listfull()), writes a mame.ini
// into the current directory for -cc unless FAKEMAME_NO_INI is set, and
// records every other call's command line (for -cc with the current
// directory) in fakemame.log beside itself. A game it "plays" as a file
// "game" beside it says: the first line gives the exit code, how many
// milliseconds to run and, optionally, how many milliseconds a child of it
// holds its output open after it ended (its process id recorded as "holder
// <id>"), the rest is printed to the standard error; the end of such a game
// is recorded too. A file "hang" beside it makes -listfull print the list's
// first lines, write its process id into "hang.pid" beside it and never end,
// as a MAME that hangs does; a file "cut" makes it stop in the middle of a
// line, as a list cut short does.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string selfPath() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    return self;
}

std::string besideSelf(const char* name) {
    std::string path = selfPath();
    return path.substr(0, path.find_last_of('\\')) + "\\" + name;
}

void record(const std::string& line) {
    FILE* file = std::fopen(besideSelf("fakemame.log").c_str(), "ab");
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
}

const char* const gameLines[] = {
    "galaga           \"Galaga (Namco rev. B)\"\n",
    "pacman           \"Pac-Man (Midway)\"\n",
    "pong             \"Pong (Rev E) [TTL]\"\n",
};

// How -listfull ends: by default the whole list and exit code 0. A file
// "exitcode" beside this program makes it end as a failing MAME does: its
// first line gives the exit code and, optionally, how many game lines come
// before (none by default when the code is not 0, all when it is); the rest
// of the file is printed to the standard error.
int listfull() {
    int code = 0;
    int games = 3;
    if (FILE* file = std::fopen(besideSelf("exitcode").c_str(), "rb")) {
        char first[64] = {};
        int read =
            std::fgets(first, sizeof first, file) ? std::sscanf(first, "%d %d", &code, &games) : 0;
        if (read < 1)
            code = 1;
        if (read < 2)
            games = code == 0 ? 3 : 0;
        for (int c; (c = std::fgetc(file)) != EOF;)
            std::fputc(c, stderr);
        std::fclose(file);
    }
    std::fputs("Name:             Description:\n", stdout);
    for (int game = 0; game < games && game < 3; ++game)
        std::fputs(gameLines[game], stdout);
    return code;
}

[[noreturn]] void hang() {
    std::fputs("Name:             Description:\n"
               "galaga           \"Galaga (Namco rev. B)\"\n",
               stdout);
    std::fflush(stdout);
    FILE* file = std::fopen(besideSelf("hang.pid").c_str(), "wb");
    std::fprintf(file, "%lu", GetCurrentProcessId());
    std::fclose(file);
    for (;;)
        Sleep(INFINITE);
}

// A copy of this program that inherits the standard error, as output of its
// own, and sleeps with it open: "-hold <milliseconds>". Without a console
// of its own, none outlives it when the test ends it.
void startHolder(unsigned long milliseconds) {
    HANDLE output = GetStdHandle(STD_ERROR_HANDLE);
    SetHandleInformation(output, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    std::string line = "\"" + selfPath() + "\" -hold " + std::to_string(milliseconds);
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr,
                        nullptr, &startup, &started))
        return;
    record("holder " + std::to_string(started.dwProcessId));
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

int playedGame() {
    FILE* file = std::fopen(besideSelf("game").c_str(), "rb");
    if (!file)
        return 0;
    int code = 0;
    unsigned long milliseconds = 0;
    unsigned long held = 0;
    char first[64] = {};
    if (!std::fgets(first, sizeof first, file) ||
        std::sscanf(first, "%d %lu %lu", &code, &milliseconds, &held) < 2)
        code = 1;
    if (held > 0)
        startHolder(held);
    for (int c; (c = std::fgetc(file)) != EOF;)
        std::fputc(c, stderr);
    std::fclose(file);
    std::fflush(stderr);
    Sleep(milliseconds);
    record("ended");
    return code;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "-hold") == 0) {
        Sleep(std::strtoul(argv[2], nullptr, 10));
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "-listfull") == 0) {
        if (GetFileAttributesA(besideSelf("hang").c_str()) != INVALID_FILE_ATTRIBUTES)
            hang();
        if (GetFileAttributesA(besideSelf("cut").c_str()) != INVALID_FILE_ATTRIBUTES) {
            std::fputs("Name:             Description:\n", stdout);
            std::fputs(gameLines[0], stdout);
            std::fputs("pacman           \"Pac-M", stdout);
            return 0;
        }
        return listfull();
    }
    if (argc > 1 && std::strcmp(argv[1], "-cc") == 0) {
        char directory[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, directory);
        record(std::string(GetCommandLineA()) + " in " + directory);
        if (!std::getenv("FAKEMAME_NO_INI")) {
            FILE* ini = std::fopen("mame.ini", "wb");
            std::fputs("rompath                   roms\n", ini);
            std::fclose(ini);
        }
        return 0;
    }
    record(GetCommandLineA());
    return playedGame();
}
