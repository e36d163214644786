// The main window's game list: built from the files of MAME's ROM directory
// and the descriptions of the gamelist file.
#include "catalogue/GameIndex.h"
#include "catalogue/GameList.h"
#include "catalogue/RomDirectory.h"
#include "settings/ProgramSettings.h"
#include "settings/Settings.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/Paths.h"
#include "toolkit/gui/Dialogs.h"
#include "toolkit/text/CodePage.h"
#include "ui/MainWindow.h"
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

// MAME writes its descriptions in UTF-8; an older MAME, or a list edited by
// hand, in the system's code page. Each is read as what it is.
std::vector<std::wstring> shownDescriptions(const std::vector<std::string>& descriptions) {
    std::vector<std::wstring> shown;
    shown.reserve(descriptions.size());
    for (const std::string& description : descriptions)
        shown.push_back(tk::wideOfUtf8OrAnsi(description));
    return shown;
}

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
void listRomFiles(tk::FileListBox& list, StartListing* listedAhead) {
    if (listedAhead) {
        const tk::DirectorySetting& directory = list.directory();
        if (auto listed = listedAhead->take({directory.folders(), directory.pattern()})) {
            list.adopt(std::move(*listed));
            return;
        }
    }
    list.update();
}

} // namespace

void TForm1::refreshlist() {
    buildList(settings::ProgramSettings::read().mameExe());
}

void TForm1::buildList(const std::string& mameExe, bool atStart) {
    catalogue::RomDirectory romDirectory;
    {
        // The ROM directory's question runs the window's messages: what they
        // bring that rebuilds the list waits for this build's end.
        buildingList_ = true;
        tk::ScopeExit built([this] { buildingList_ = false; });
        PanelCover cover(Panel2);
        romDirectory =
            catalogue::ResolveRomDirectory(mameExe, filelist.directory(), userChoosesDosMame);
        filelist.setDirectory(romDirectory.directory);
        // A directory that cannot be entered lists nothing: the previous
        // directory's files are not this MAME's games.
        if (romDirectory.entered)
            listRomFiles(filelist, atStart ? startListing_ : nullptr);
        else
            filelist.empty();
        const std::vector<std::string>& files = filelist.files();
        // The hidden lists take their rows when the window is on the screen.
        std::vector<std::string> rows = files;
        rows.emplace_back();
        ziplist.assignWhenIdle(std::move(rows));

        ListBox1.clear();
        gamelist.clear();
        catalogue::GameIndex index(settings::programFile(settings::gameListFileName));
        catalogue::GameRows games;
        auto fillLists = [&] {
            gamelist.assignWhenIdle(std::move(games.shortNames));
            ListBox1.assign(shownDescriptions(games.descriptions));
        };
        try {
            catalogue::appendGames(
                files, [&](const std::string& name) { return index.lookup(name); },
                CheckBox1.checked(), games);
        } catch (...) {
            fillLists();
            throw;
        }
        fillLists();
    }
    if (afterBuild_)
        std::exchange(afterBuild_, nullptr)();
    if (!romDirectory.entered)
        tk::dialogs().message(romDirectoryFailure(mameExe, romDirectory));
}

} // namespace ui
