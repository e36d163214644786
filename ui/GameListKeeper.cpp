// The main window's game list: built from the files of MAME's ROM directory
// and the descriptions of the gamelist file.
#include "ui/GameListKeeper.h"

#include "catalogue/GameIndex.h"
#include "catalogue/GameList.h"
#include "catalogue/RomDirectory.h"
#include "settings/ProgramSettings.h"
#include "settings/Settings.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/Paths.h"
#include "toolkit/gui/Dialogs.h"
#include "toolkit/text/CodePage.h"
#include "ui/StartListing.h"

#include <utility>

namespace ui {

namespace {

// Hides the loading panel however the build ends, so the window is never
// left covered.
class PanelCover {
public:
    explicit PanelCover(tk::Panel& panel) : panel_(panel) {
        panel_.show();
        panel_.repaint();
    }
    PanelCover(const PanelCover&) = delete;
    PanelCover& operator=(const PanelCover&) = delete;
    ~PanelCover() { panel_.hide(); }

private:
    tk::Panel& panel_;
};

// Both kinds of configuration file beside MAME leave its generation open.
bool userChoosesDosMame() {
    return tk::dialogs().ask("Could not determine MAME version. Pres \"YES\" for MAMEw or "
                             "\"NO\" for MAME DOS",
                             "Select MAME Version", MB_YESNO | MB_ICONEXCLAMATION) == IDNO;
}

std::string joined(const std::vector<std::string>& paths) {
    std::string text;
    for (const auto& path : paths)
        text += (text.empty() ? "" : ";") + path;
    return text;
}

// Where the folder was named, so that the user finds the line to mend.
std::string sourceNote(const catalogue::RomPathSource& source) {
    if (source.file.empty())
        return "";
    if (!source.setsRomPath)
        return " (no rompath in " + source.file + ")";
    if (source.line == 0)
        return " (rompath in " + source.file + ")";
    return " (rompath in " + source.file + ", line " + std::to_string(source.line) + ")";
}

// A MAME moved or deleted takes its ROM directory along: it is the cause.
std::string romDirectoryFailure(const std::string& mameExe,
                                const catalogue::RomDirectory& romDirectory) {
    if (!mameExe.empty() && !tk::fileExists(mameExe))
        return "MAME is not found at " + mameExe + ". Press \"Configure \" and name it.";
    return "The ROM directory " + joined(romDirectory.paths) + " cannot be opened." +
           sourceNote(romDirectory.source);
}

// The files of the directory just set: those listed ahead, when that
// listing chose the same directory.
std::vector<std::string> listRomFiles(const tk::FileListBox& list, StartListing* listedAhead) {
    if (listedAhead) {
        const tk::DirectorySetting& directory = list.directory();
        if (auto listed = listedAhead->take({directory.folders(), directory.pattern()}))
            return std::move(*listed);
    }
    return list.listed();
}

// The rows of the files that the gamelist file knows (all, with showAll).
// The file's bytes and index live only as long as the walk.
void addGames(catalogue::GameRows& games, bool showAll) {
    catalogue::GameIndex index(settings::programFile(settings::gameListFileName));
    // MAME writes its descriptions in UTF-8; an older MAME, or a list edited
    // by hand, in the system's code page. Each is kept as UTF-8.
    catalogue::appendGames(
        [&](std::string_view name) { return tk::utf8OfUtf8OrAnsi(index.lookup(name)); }, showAll,
        games);
}

} // namespace

GameListKeeper::GameListKeeper(const tk::Form& window, const Controls& controls,
                               StartListing* listedAhead)
    : window_(window), controls_(controls), startListing_(listedAhead) {}

void GameListKeeper::show(catalogue::GameRows games) {
    {
        // The rows held before go now, before the lists take the new ones.
        catalogue::GameRows before = std::exchange(games_, std::move(games));
    }
    // Every list reads the rows held now, whenever it reads them.
    auto files = [this](std::size_t extra) {
        return tk::RowSource{[this, extra] { return games_.fileCount() + extra; },
                             [this](std::size_t i) { return games_.file(i); }};
    };
    // The hidden lists take their rows when the window is on the screen;
    // the zip list ends with one empty row.
    controls_.files.assignWhenIdle(files(0));
    controls_.zips.assignWhenIdle(files(1));
    controls_.games.assignWhenIdle(
        {[this] { return games_.size(); }, [this](std::size_t i) { return games_.shortName(i); }});
    controls_.shown.assign({[this] { return games_.size(); },
                            [this](std::size_t i) { return games_.description(i); }});
}

void GameListKeeper::refresh() {
    build(settings::ProgramSettings::read().mameExe());
}

void GameListKeeper::build(const std::string& mameExe, bool atStart) {
    catalogue::RomDirectory romDirectory;
    {
        // The ROM directory's question runs the window's messages: what they
        // bring that rebuilds the list waits for this build's end.
        building_ = true;
        tk::ScopeExit built([this] { building_ = false; });
        PanelCover cover(controls_.loading);
        tk::FileListBox& files = controls_.files;
        romDirectory =
            catalogue::ResolveRomDirectory(mameExe, files.directory(), userChoosesDosMame);
        files.setDirectory(romDirectory.directory);
        // A directory that cannot be entered lists nothing: the previous
        // directory's files are not this MAME's games.
        catalogue::GameRows games(romDirectory.entered
                                      ? listRomFiles(files, atStart ? startListing_ : nullptr)
                                      : std::vector<std::string>());
        // The rows made before a lookup failed are shown all the same.
        try {
            addGames(games, controls_.showAll.checked());
        } catch (...) {
            show(std::move(games));
            throw;
        }
        show(std::move(games));
    }
    if (afterBuild_)
        std::exchange(afterBuild_, nullptr)();
    if (!romDirectory.entered)
        tk::dialogs().message(romDirectoryFailure(mameExe, romDirectory));
}

std::optional<GameListKeeper::Game> GameListKeeper::chosen() const {
    int index = controls_.shown.itemIndex();
    if (index < 0)
        return std::nullopt;
    const auto row = static_cast<std::size_t>(index);
    return Game{std::string(games_.description(row)), std::string(games_.shortName(row))};
}

void GameListKeeper::refreshKeepingChoice() {
    std::optional<Game> game = chosen();
    refresh();
    if (!game || game->shortName.empty())
        return;
    for (std::size_t row = 0; row < games_.size(); ++row)
        if (games_.shortName(row) == game->shortName) {
            controls_.shown.setItemIndex(static_cast<int>(row));
            return;
        }
}

} // namespace ui
