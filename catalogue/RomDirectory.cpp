#include "catalogue/RomDirectory.h"

#include "catalogue/LookupKey.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Paths.h"

namespace catalogue {
namespace {

constexpr char romPathKey[] = "rompath";

class FileSystemSources : public RomSources {
public:
    bool fileExists(const std::string& path) override { return tk::fileExists(path); }
    bool isDirectory(const std::string& path) override { return tk::folderExists(path); }
    std::string iniRomPath(const std::string& iniFile) override {
        return LookupKey(romPathKey, iniFile);
    }
    std::string cfgRomPath(const std::string& cfgFile) override {
        return IniFile(cfgFile).readString("directory", romPathKey, "");
    }
    // Both kinds of configuration file beside MAME leave its generation open.
    bool userChoosesDosMame() override {
        return tk::dialogs().ask("Could not determine MAME version. Pres \"YES\" for MAMEw or "
                                 "\"NO\" for MAME DOS",
                                 "Select MAME Version", MB_YESNO | MB_ICONEXCLAMATION) == IDNO;
    }
};

} // namespace

RomDirectory ResolveRomDirectory(const std::string& mameExe, RomPathSetter& setter) {
    FileSystemSources sources;
    return chooseRomDirectory(mameExe, sources, setter);
}

RomDirectory ResolveRomDirectory(RomPathSetter& setter) {
    return ResolveRomDirectory(IniFile(settingsPath()).readString(configSection, mameExeKey, ""),
                               setter);
}

} // namespace catalogue
