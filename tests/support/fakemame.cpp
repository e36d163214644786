// Stands in for MAME in the ui tests: prints a short game list for
// -listfull (with LF line ends, as MAME on Linux does), writes a mame.ini
// into the current directory for -cc unless FAKEMAME_NO_INI is set, and
// records every other call's command line (for -cc with the current
// directory) in fakemame.log beside itself.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void record(const std::string& line) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string log = self;
    log = log.substr(0, log.find_last_of('\\')) + "\\fakemame.log";
    FILE* file = std::fopen(log.c_str(), "ab");
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "-listfull") == 0) {
        std::fputs("Name:             Description:\n"
                   "galaga           \"Galaga (Namco rev. B)\"\n"
                   "pacman           \"Pac-Man (Midway)\"\n"
                   "pong             \"Pong (Rev E) [TTL]\"\n",
                   stdout);
        return 0;
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
    return 0;
}
