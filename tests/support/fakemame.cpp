// Stands in for MAME in the ui tests: prints a short game list for
// -listfull (with LF line ends, as MAME on Linux does), writes a mame.ini
// into the current directory for -cc, and otherwise records its command line
// in fakemame.log beside itself.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

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
        FILE* ini = std::fopen("mame.ini", "wb");
        std::fputs("rompath                   roms\n", ini);
        std::fclose(ini);
        return 0;
    }
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string log = self;
    log = log.substr(0, log.find_last_of('\\')) + "\\fakemame.log";
    FILE* file = std::fopen(log.c_str(), "ab");
    std::fprintf(file, "%s\n", GetCommandLineA());
    std::fclose(file);
    return 0;
}
