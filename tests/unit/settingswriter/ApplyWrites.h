// The writes "Apply" makes to the settings file, in its order, for the
// crash-safety test and its child program: the whole-file keys, then the two
// options one key at a time. Two sets of values, so that every write changes
// the file.
#pragma once

#include "settings/IniFile.h"
#include "settings/ProfileSettings.h"
#include "settings/Settings.h"

#include <string>

namespace settingswriter {

inline void writeMame(const std::string& path, bool second) {
    settings::IniFile settings(path);
    settings.writeString(settings::configSection, settings::mameExeKey,
                         second ? "C:\\MAME B\\mame.exe" : "C:\\MAME A\\mame.exe");
    settings.writeString(settings::configSection, settings::parametersKey, second ? "-window" : "");
    settings.updateFile();
}

inline void writeXp(const std::string& path, bool second) {
    settings::ProfileSettings(path).writeBool(settings::configSection, settings::xpKey, second);
}

inline void writeClose(const std::string& path, bool second) {
    settings::ProfileSettings(path).writeBool(settings::configSection, settings::closeKey, !second);
}

inline void apply(const std::string& path, bool second) {
    writeMame(path, second);
    writeXp(path, second);
    writeClose(path, second);
}

} // namespace settingswriter
