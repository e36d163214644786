#include "settings/Settings.h"

#include "toolkit/Paths.h"

std::string programFile(const char* name) {
    return tk::programFolder() + "\\" + name;
}

std::string settingsPath() {
    return programFile(settingsFileName);
}
