#include "support/MameFolder.h"

#include <windows.h>

namespace testing_support {

MameFolder::MameFolder(const std::string& path, const std::string& iniText)
    : folder_(TempFolder::at(path)) {
    folder_.folder("roms");
    folder_.write("mame.exe", "");
    writeIni(iniText);
}

void MameFolder::addRoms(std::initializer_list<const char*> names) const {
    for (const char* name : names)
        folder_.write(std::string("roms\\") + name, "");
}

void MameFolder::install(const std::string& program) const {
    CopyFileA(program.c_str(), exe().c_str(), FALSE);
}

void MameFolder::writeIni(const std::string& text) const {
    folder_.write("mame.ini", text);
}

} // namespace testing_support
