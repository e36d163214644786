#include "ui/StartListing.h"

#include "catalogue/RomDirectory.h"
#include "settings/ProgramSettings.h"
#include "toolkit/files/DirectoryListing.h"

namespace ui {
namespace {

StartListing*& current() {
    static StartListing* listing = nullptr;
    return listing;
}

class DecidedFolders : public catalogue::RomPathSetter {
public:
    bool setPath(const std::string& path) override { return setting.setPath(path); }
    bool setPaths(const std::vector<std::string>& paths) override {
        return setting.setPaths(paths);
    }
    tk::DirectorySetting setting;
};

// Thrown where the build would ask which MAME it is.
struct OnlyTheUserCanTell {};

std::optional<tk::ListingAhead::Choice> decideRomFolders() {
    DecidedFolders setter;
    catalogue::RomDirectory decided =
        catalogue::ResolveRomDirectory(settings::ProgramSettings::read().mameExe(), setter,
                                       []() -> bool { throw OnlyTheUserCanTell(); });
    if (!decided.entered)
        return std::nullopt;
    return tk::ListingAhead::Choice{setter.setting.folders(), setter.setting.pattern()};
}

} // namespace

StartListing::StartListing() : listing_(decideRomFolders) {
    current() = this;
}

StartListing::~StartListing() {
    current() = nullptr;
}

std::optional<std::vector<std::string>>
StartListing::take(const tk::ListingAhead::Choice& decided) {
    if (!current())
        return std::nullopt;
    return current()->listing_.take(decided);
}

} // namespace ui
