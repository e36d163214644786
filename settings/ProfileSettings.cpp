#include "settings/ProfileSettings.h"

#include "settings/IniText.h"
#include "toolkit/base/Error.h"
#include "toolkit/files/AtomicFile.h"

#include <windows.h>

namespace settings {

ProfileSettings::ProfileSettings(std::string path) : path_(std::move(path)) {}

// The profile functions open the file without letting it be replaced
// meanwhile, so they read in the writers' turn.
ProfileSettings::~ProfileSettings() {
    tk::FileTurn turn(path_, tk::fileTurnWait);
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
}

std::string ProfileSettings::readString(const std::string& section, const std::string& key,
                                        const std::string& fallback) const {
    tk::FileTurn turn(path_, tk::fileTurnWait);
    char buffer[2048];
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer,
                                            sizeof buffer, path_.c_str());
    return std::string(buffer, length);
}

bool ProfileSettings::readBool(const std::string& section, const std::string& key,
                               bool fallback) const {
    return parseProfileBool(readString(section, key, ""), fallback);
}

// The profile functions rewrite the whole file in place: a process killed
// meanwhile would leave it cut short. They change a copy instead, which is
// swapped in whole.
void ProfileSettings::writeString(const std::string& section, const std::string& key,
                                  const std::string& value) {
    bool written = tk::replaceFileByChangedCopy(path_, [&](const std::string& copy) {
        bool changed =
            WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), copy.c_str());
        // Lets go of the copy, which the profile functions may keep cached.
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, copy.c_str());
        return changed;
    });
    if (!written)
        throw tk::Error(tk::formatMessage("Unable to write to %s", path_));
}

void ProfileSettings::writeBool(const std::string& section, const std::string& key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

} // namespace settings
