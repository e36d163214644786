#include "settings/ProfileSettings.h"

#include "toolkit/base/Error.h"
#include "toolkit/files/AtomicFile.h"
#include "toolkit/files/IniFile.h"

namespace settings {

void ProfileSettings::writeString(const std::string& section, const std::string& key,
                                  const std::string& value) {
    try {
        tk::rewriteFileContent(path_, [&](std::optional<std::string> current) {
            return tk::withProfileString(std::move(current).value_or(""), section, key, value);
        });
    } catch (const tk::FileInUse&) {
        throw;
    } catch (const tk::Error&) {
        throw tk::Error(tk::formatMessage("Unable to write to %s", path_));
    }
}

void ProfileSettings::writeBool(const std::string& section, const std::string& key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

} // namespace settings
