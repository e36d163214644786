// Test support: a MAME folder as the list build and the configuration panel
// find it: mame.exe, a mame.ini naming its ROM folder, and ROM files there.
// Removed with all it holds at scope exit.
#pragma once

#include "support/TempFolder.h"

#include <initializer_list>
#include <string>

namespace testing_support {

class MameFolder {
public:
    // `iniText` is mame.ini's whole content, for example "rompath roms\n";
    // mame.exe is an empty file.
    MameFolder(const std::string& path, const std::string& iniText);

    const std::string& path() const { return folder_.path(); }
    std::string file(const std::string& name) const { return folder_.file(name); }
    std::string exe() const { return file("mame.exe"); }
    std::string roms() const { return file("roms"); }

    // Empty ROM files in the roms folder.
    void addRoms(std::initializer_list<const char*> names) const;
    void writeIni(const std::string& text) const;

private:
    TempFolder folder_;
};

} // namespace testing_support
