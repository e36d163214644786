#include "settings/ProgramSettings.h"

#include "settings/ProfileSettings.h"
#include "settings/Settings.h"
#include "toolkit/files/IniText.h"
#include "toolkit/files/Paths.h"

namespace settings {

ProgramSettings ProgramSettings::read() {
    std::string path = settingsPath();
    // A folder in the file's place is no settings file, and a first start.
    if (!tk::fileExists(path))
        return ProgramSettings(tk::IniFile(path, {}), false);
    return ProgramSettings(tk::IniFile(path), true);
}

std::string ProgramSettings::mameExe(const std::string& fallback) const {
    return file_.readString(configSection, mameExeKey, fallback);
}

std::string ProgramSettings::parameters() const {
    return file_.readString(configSection, parametersKey, "");
}

bool ProgramSettings::perKeyBool(const char* key, bool fallback) const {
    return tk::parseProfileBool(file_.profileString(configSection, key, ""), fallback);
}

bool ProgramSettings::xp() const {
    if (auto stored = file_.profileString(configSection, xpKey))
        return tk::parseProfileBool(*stored, false);
    // Until the user chooses, "cmd" wherever "command" cannot run: the systems
    // that still have command.com keep it in their system folder.
    return !tk::fileExists(tk::systemFolder() + "\\command.com");
}

bool ProgramSettings::closeAfterPlaying() const {
    return perKeyBool(closeKey, true);
}

std::string ProgramSettings::skin() const {
    return file_.profileString(configSection, skinKey, programFile(skinFileName));
}

bool ProgramSettings::credits() const {
    return perKeyBool(creditsKey, false);
}

std::string ProgramSettings::mameStamp() const {
    return file_.profileString(configSection, mameStampKey, "");
}

void ProgramSettings::storeMame(const std::string& mameExe, const std::string& parameters) {
    tk::IniFile file(settingsPath());
    file.writeString(configSection, mameExeKey, mameExe);
    file.writeString(configSection, parametersKey, parameters);
    file.updateFile();
}

void ProgramSettings::storeXp(bool xp) {
    ProfileSettings(settingsPath()).writeBool(configSection, xpKey, xp);
}

void ProgramSettings::storeCloseAfterPlaying(bool close) {
    ProfileSettings(settingsPath()).writeBool(configSection, closeKey, close);
}

void ProgramSettings::storeSkin(const std::string& skin) {
    ProfileSettings(settingsPath()).writeString(configSection, skinKey, skin);
}

void ProgramSettings::storeMameStamp(const std::string& stamp) {
    ProfileSettings(settingsPath()).writeString(configSection, mameStampKey, stamp);
}

} // namespace settings
