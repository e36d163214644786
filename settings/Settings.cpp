#include "settings/Settings.h"

#include "toolkit/files/Paths.h"

namespace settings {

std::string programFile(const char* name) {
    return tk::programFolder() + "\\" + name;
}

std::string settingsPath() {
    return programFile(settingsFileName);
}

} // namespace settings
