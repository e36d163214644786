#include "catalogue/RomDirectory.h"

#include "catalogue/LookupKey.h"
#include "toolkit/files/IniFile.h"
#include "toolkit/files/Paths.h"
#include "toolkit/text/CodePage.h"

namespace catalogue {
namespace {

constexpr char romPathKey[] = "rompath";

class FileSystemSources : public RomSources {
public:
    explicit FileSystemSources(const DosMameQuestion& userChoosesDosMame)
        : userChoosesDosMame_(userChoosesDosMame) {}
    bool fileExists(const std::string& path) override { return tk::fileExists(path); }
    bool isDirectory(const std::string& path) override { return tk::folderExists(path); }
    // MAME writes its ini in UTF-8; one an older MAME or an editor left in
    // the code page reads in the code page.
    std::string iniRomPath(const std::string& iniFile) override {
        return tk::utf8OfUtf8OrAnsi(LookupKey(romPathKey, iniFile));
    }
    std::string cfgRomPath(const std::string& cfgFile) override {
        return tk::IniFile(cfgFile).readString("directory", romPathKey, "");
    }
    bool userChoosesDosMame() override { return userChoosesDosMame_(); }

private:
    const DosMameQuestion& userChoosesDosMame_;
};

} // namespace

RomDirectory ResolveRomDirectory(const std::string& mameExe, RomPathSetter& setter,
                                 const DosMameQuestion& userChoosesDosMame) {
    FileSystemSources sources(userChoosesDosMame);
    return chooseRomDirectory(mameExe, sources, setter);
}

} // namespace catalogue
