// Weighs the settings file's accesses on a big keston.ini: the peak private
// bytes of one step (the process's peak, less what it held before the step)
// against the file's size. One step per run, since a process's peak only
// grows. Prints "name=value" figures; exits non-zero when the step read or
// wrote the wrong thing, since a lean wrong result proves nothing.
//
//     settings_bench make <file> <megabytes>     writes the file
//     settings_bench read <file>                 both reads of one key
//     settings_bench perkey|wholefile <file> plain|beyond
//                                                writes one key, its value in
//                                                the code page or beyond it
#include "BenchFigures.h"
#include "settings/ProfileSettings.h"
#include "toolkit/files/FileReader.h"
#include "toolkit/files/IniFile.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace bench;

namespace {

// A big file as a user's may grow: the program's section first, then many
// sections of keys whose values hold a letter of the code page.
bool makeFile(const std::string& path, std::size_t megabytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fputs("[config]\r\nmameexe=C:\\MAME\\mame.exe\r\nxp=1\r\n", file);
    std::size_t written = 0;
    char line[128];
    for (int section = 0; written < megabytes << 20; ++section) {
        written += std::fprintf(file, "\r\n[game%06d]\r\n", section);
        for (int key = 0; key < 20; ++key) {
            written += std::snprintf(line, sizeof line,
                                     "key%02d=C:\\Jeux\\caf\xE9\\rom%06d.zip\r\n", key, section);
            std::fputs(line, file);
        }
    }
    return std::fclose(file) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    const std::string step = argv[1], path = argv[2], kind = argc > 3 ? argv[3] : "";
    if (step == "make")
        return makeFile(path, std::strtoul(kind.c_str(), nullptr, 10)) ? 0 : 1;

    const std::string value = kind == "beyond"
                                  ? "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\skin.bmp" // Игры
                                  : "C:\\Jeux\\caf\xC3\xA9\\skin.bmp";
    const PROCESS_MEMORY_COUNTERS_EX before = processMemory();
    Stopwatch clock;
    Checks checks;
    if (step == "read") {
        tk::IniFile file(path);
        std::string read =
            file.readString("config", "mameexe", "") + "|" + file.profileString("config", "xp", "");
        checks.equal("read_value", read == "C:\\MAME\\mame.exe|1", true);
    } else if (step == "perkey") {
        settings::ProfileSettings(path).writeString("config", "Skin", value);
    } else if (step == "wholefile") {
        tk::IniFile file(path);
        file.writeString("config", "Skin", value);
        file.updateFile();
    } else {
        return 2;
    }
    const double ms = clock.lap();
    const PROCESS_MEMORY_COUNTERS_EX after = processMemory();
    if (step != "read") {
        tk::IniFile written(path);
        checks.equal("written_value", written.profileString("config", "Skin", "") == value, true);
        checks.equal("kept_value",
                     written.readString("game000123", "key19", "") ==
                         "C:\\Jeux\\caf\xC3\xA9\\rom000123.zip",
                     true);
    }
    figure("step", step + (kind.empty() ? "" : "_" + kind));
    figure("file_bytes_after", tk::readWholeFile(path).size());
    figure("step_ms", ms);
    // Windows keeps the private bytes' peak; Wine takes it only when asked,
    // so there the working set's peak, which Linux keeps, is the one that
    // tells (every byte the step held was written, so it was resident).
    figure("peak_private_bytes", after.PeakPagefileUsage);
    figure("peak_private_bytes_above_start", after.PeakPagefileUsage - before.PagefileUsage);
    figure("peak_working_set_bytes", after.PeakWorkingSetSize);
    figure("peak_working_set_bytes_above_start", after.PeakWorkingSetSize - before.WorkingSetSize);
    return checks.ok() ? 0 : 1;
}
