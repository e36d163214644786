#include "ui/StartListing.h"

#include "catalogue/RomDirectory.h"
#include "settings/ProgramSettings.h"
#include "toolkit/files/DirectoryListing.h"

namespace ui {
namespace {

// Thrown where the build would ask which MAME it is.
struct OnlyTheUserCanTell {};

// The decision as the main window's file list takes it when the list is new.
std::optional<tk::ListingAhead::Choice> decideRomFolders() {
    catalogue::RomDirectory decided = catalogue::ResolveRomDirectory(
        settings::ProgramSettings::read().mameExe(), tk::DirectorySetting(),
        []() -> bool { throw OnlyTheUserCanTell(); });
    if (!decided.entered)
        return std::nullopt;
    return tk::ListingAhead::Choice{decided.directory.folders(), decided.directory.pattern()};
}

} // namespace

StartListing::StartListing() : listing_(decideRomFolders) {}

std::optional<std::vector<std::string>>
StartListing::take(const tk::ListingAhead::Choice& decided) {
    return listing_.take(decided);
}

} // namespace ui
