// The writes "Apply" makes to the settings file, in its order, for the
// crash-safety test and its child program: the whole-file keys, then the two
// options one key at a time. Two sets of values, so that every write changes
// the file. And the writes of one copy of the program among others.
#pragma once

#include "settings/ProfileSettings.h"
#include "settings/Settings.h"
#include "toolkit/files/IniFile.h"

#include <string>

namespace settingswriter {

inline void writeMame(const std::string& path, bool second) {
    tk::IniFile settings(path);
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

// `rounds` times Apply's writes, then the round's number under keys of the
// copy's own name, one through each access: "<copy>key" and "<copy>file".
inline void applyAsCopy(const std::string& path, const std::string& copy, int rounds) {
    for (int round = 0; round < rounds; ++round) {
        apply(path, round % 2 == 1);
        settings::ProfileSettings(path).writeString(settings::configSection, copy + "key",
                                                    std::to_string(round));
        tk::IniFile whole(path);
        whole.writeString(settings::configSection, copy + "file", std::to_string(round));
        whole.updateFile();
    }
}

} // namespace settingswriter
