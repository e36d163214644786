// The main window's editor of MAME's own configuration file: finding it
// beside MAME or along its inipath (or having MAME create it), showing it in
// the memo, saving it.
#include "catalogue/RomDirectory.h"
#include "launch/InterpreterRun.h"
#include "settings/ProgramSettings.h"
#include "settings/Settings.h"
#include "toolkit/files/AtomicFile.h"
#include "toolkit/files/FileReader.h"
#include "toolkit/files/Paths.h"
#include "toolkit/gui/Dialogs.h"
#include "toolkit/text/CodePage.h"
#include "ui/EditorText.h"
#include "ui/MainWindow.h"

#include <vector>

namespace ui {

namespace {

// Where MAME keeps its configuration file, in the order they are tested.
std::vector<std::string> configCandidates(const std::string& mameExe) {
    std::string folder = tk::folderPart(mameExe);
    return {tk::joinPath(folder, "mame.ini"), tk::changeExtension(mameExe, ".ini"),
            tk::changeExtension(mameExe, ".cfg"), tk::joinPath(folder, "mame.cfg")};
}

// MAME's configuration file beside it, or the empty text. The last candidate
// that exists wins, so mame.cfg comes before the executable's own .cfg, then
// its .ini, then mame.ini. Without one, the mame.ini MAME keeps along its
// inipath, the one the game list reads: one made beside MAME would be read
// first, and the user's own would silently stop counting.
std::string findConfigFile(const std::string& mameExe) {
    std::string found;
    for (const auto& candidate : configCandidates(mameExe)) {
        if (tk::fileExists(candidate))
            found = candidate;
    }
    return found.empty() ? catalogue::findMameIniOnIniPath(mameExe) : found;
}

} // namespace

void TForm1::SpeedButton5Click() {
    const settings::ProgramSettings stored = settings::ProgramSettings::read();
    if (stored.mameExe("FILEDONTEXISTS") != Edit1.text()) {
        tk::dialogs().message("Please, click Apply first, to take advantage of the changes");
        return;
    }
    for (;;) {
        std::string mameExe = stored.mameExe();
        ConfigFile = findConfigFile(mameExe);
        if (!ConfigFile.empty())
            break;
        int answer = tk::dialogs().ask("This MAME doesn't have the configuration file, do you "
                                       "want to create it? (ONLY FOR WINDOWS MAME VERSION)",
                                       "Create MAME.INI", MB_YESNO | MB_ICONQUESTION);
        if (answer != IDYES) {
            tk::dialogs().message("MAME.ini or MAME.cfg not found!");
            return;
        }
        launch::runCreateConfig(exe, mameExe, xp.checked());
    }
    ui::EditorText loaded = ui::editorTextOf(tk::readWholeFile(ConfigFile));
    Cxdetexto.setWholeText(loaded.form.unicode ? loaded.text : tk::ansiToUtf8(loaded.text));
    configFileForm_ = loaded.form;
    setState(State::editor);
}

void TForm1::SpeedButton10Click() {
    if (ConfigFile.empty())
        return;
    std::string text = Cxdetexto.text();
    std::string outside = configFileForm_.unicode ? "" : tk::firstOutsideCodePage(text);
    // The code page would write "?" for it: the file becomes UTF-8 with its
    // mark, which MAME reads and which holds every character.
    ui::TextForm form =
        outside.empty() ? configFileForm_ : ui::TextForm{tk::TextEncoding::utf8, true};
    if (!form.unicode)
        text = tk::utf8ToAnsi(text);
    tk::replaceFileContent(ConfigFile, ui::fileBytesOf({form, text}));
    configFileForm_ = form;
    std::string saved = "File Saved!";
    if (!outside.empty())
        saved += " In UTF-8 now: the system's code page has no \"" + outside + "\".";
    tk::dialogs().message(saved);
}

void TForm1::removeWriteLeftovers(const std::string& mameExe) {
    tk::removeLeftovers(settings::settingsPath());
    if (mameExe.empty())
        return;
    for (const auto& candidate : configCandidates(mameExe))
        tk::removeLeftovers(candidate);
}

void TForm1::SpeedButton11Click() {
    // Unsaved edits are dropped: the next "Configure MAME" reads the file anew.
    Cxdetexto.setText("");
    setState(State::configuration);
}

} // namespace ui
