#include "catalogue/RomDirectory.h"

#include "catalogue/LookupKey.h"
#include "toolkit/files/IniFile.h"
#include "toolkit/files/Paths.h"
#include "toolkit/text/CodePage.h"

#include <windows.h>

#include <utility>

namespace catalogue {
namespace {

class FileSystemSources : public RomSources {
public:
    explicit FileSystemSources(const DosMameQuestion& userChoosesDosMame)
        : userChoosesDosMame_(userChoosesDosMame) {}
    bool fileExists(const std::string& path) override { return tk::fileExists(path); }
    bool isDirectory(const std::string& path) override { return tk::folderExists(path); }
    // MAME writes its ini in UTF-8; one an older MAME or an editor left in
    // the code page reads in the code page.
    KeyValue iniValue(const std::string& iniFile, const std::string& key) override {
        KeyValue found = lookupKeyLine(key, iniFile);
        return {tk::utf8OfUtf8OrAnsi(found.value), found.line};
    }
    std::string cfgRomPath(const std::string& cfgFile) override {
        return tk::IniFile(cfgFile).readString("directory", "rompath", "");
    }
    // The very call MAME's Windows build makes, so that a name it does not
    // know stays as written just as there.
    std::string expandedEnvironment(const std::string& text) override {
        if (text.find('%') == std::string::npos)
            return text;
        std::wstring wide = tk::utf8ToWide(text);
        DWORD size = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
        std::wstring expanded(size, L'\0');
        DWORD written = ExpandEnvironmentStringsW(wide.c_str(), expanded.data(), size);
        if (written == 0 || written > size)
            return text;
        expanded.resize(written - 1);
        return tk::wideToUtf8(expanded);
    }
    bool userChoosesDosMame() override { return userChoosesDosMame_(); }

private:
    const DosMameQuestion& userChoosesDosMame_;
};

} // namespace

RomDirectory ResolveRomDirectory(const std::string& mameExe, tk::DirectorySetting shown,
                                 const DosMameQuestion& userChoosesDosMame) {
    FileSystemSources sources(userChoosesDosMame);
    RomDecision decision = chooseRomDirectory(mameExe, sources);
    bool entered = false;
    for (const RomFolders& folders : decision.handed)
        entered = shown.setPaths(folders.paths);
    RomFolders& mames = decision.handed.back();
    return {std::move(mames.paths), entered, std::move(mames.source), std::move(shown)};
}

std::string findMameIniOnIniPath(const std::string& mameExe) {
    // The inipath alone asks nothing.
    const DosMameQuestion none;
    FileSystemSources sources(none);
    std::optional<MameIniRomPath> read = mameIniOnIniPath(tk::folderPart(mameExe), sources);
    return read ? read->source.file : std::string();
}

} // namespace catalogue
