// Stands in for MAME in the ui tests: prints a short game list for
// -listfull (with LF line ends, as MAME on Linux does) unless told to fail, writes a mame.ini
// into the current directory for -cc, and otherwise records its command line
// in fakemame.log beside itself.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

std::string besideSelf(const char* name) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of('\\')) + "\\" + name;
}

// A file "exitcode" beside this program makes -listfull print nothing and
// end with the number it holds, as a failing MAME does.
int failingExitCode() {
    FILE* file = std::fopen(besideSelf("exitcode").c_str(), "rb");
    int code = 0;
    if (file) {
        if (std::fscanf(file, "%d", &code) != 1)
            code = 1;
        std::fclose(file);
    }
    return code;
}

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "-listfull") == 0) {
        if (int code = failingExitCode())
            return code;
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
    FILE* file = std::fopen(besideSelf("fakemame.log").c_str(), "ab");
    std::fprintf(file, "%s\n", GetCommandLineA());
    std::fclose(file);
    return 0;
}
