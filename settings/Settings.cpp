#include "settings/Settings.h"

#include "toolkit/Paths.h"

std::string settingsPath() {
    return tk::programFolder() + "\\keston.ini";
}
