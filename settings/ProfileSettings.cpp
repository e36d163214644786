#include "settings/ProfileSettings.h"

#include "toolkit/base/Error.h"
#include "toolkit/files/AtomicFile.h"

#include <windows.h>

namespace settings {

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
