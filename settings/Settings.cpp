#include "settings/Settings.h"

#include "settings/FilesFolder.h"
#include "toolkit/files/Paths.h"

namespace settings {

namespace {

const FilesPlace& chosenPlace() {
    static const FilesPlace place = chooseFilesPlace(tk::programFolder(), userFilesFolder());
    return place;
}

} // namespace

std::string filesFolder() {
    return chosenPlace().folder;
}

std::string filesFolderNotice() {
    return chosenPlace().notice;
}

std::string programFile(const char* name) {
    return filesFolder() + "\\" + name;
}

std::string settingsPath() {
    return programFile(settingsFileName);
}

} // namespace settings
