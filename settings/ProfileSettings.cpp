#include "settings/ProfileSettings.h"

#include "toolkit/base/Error.h"
#include "toolkit/files/AtomicFile.h"
#include "toolkit/files/IniFile.h"
#include "toolkit/text/CodePage.h"

#include <windows.h>

namespace settings {

// The profile functions rewrite the whole file in place: a process killed
// meanwhile would leave it cut short. They change a copy instead, which is
// swapped in whole. They keep a file without a mark in the code page, so a
// copy that is to take a character the code page lacks is made Unicode first.
void ProfileSettings::writeString(const std::string& section, const std::string& key,
                                  const std::string& value) {
    const bool unicode = !tk::fitsCodePage(section + key + value);
    const std::wstring wideSection = tk::utf8ToWide(section), wideKey = tk::utf8ToWide(key),
                       wideValue = tk::utf8ToWide(value);
    bool written = tk::replaceFileByChangedCopy(path_, [&](const std::string& copy) {
        if (unicode && !tk::holdUnicode(copy))
            return false;
        const std::wstring file = tk::utf8ToWide(copy);
        bool changed = WritePrivateProfileStringW(wideSection.c_str(), wideKey.c_str(),
                                                  wideValue.c_str(), file.c_str());
        // Lets go of the copy, which the profile functions may keep cached.
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
        return changed;
    });
    if (!written)
        throw tk::Error(tk::formatMessage("Unable to write to %s", path_));
}

void ProfileSettings::writeBool(const std::string& section, const std::string& key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

} // namespace settings
