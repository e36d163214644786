#include "support/MameFolder.h"

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

void MameFolder::writeIni(const std::string& text) const {
    folder_.write("mame.ini", text);
}

} // namespace testing_support
