// The main window's configuration panel: filling it from the settings file,
// searching for MAME, applying (which has MAME write the game list anew),
// and leaving it.
#include "launch/GameListUpdate.h"
#include "launch/MameCommands.h"
#include "settings/ProgramSettings.h"
#include "settings/Settings.h"
#include "toolkit/files/Paths.h"
#include "toolkit/gui/Dialogs.h"
#include "ui/MainWindow.h"

#include <commdlg.h>

namespace ui {

void TForm1::SpeedButton2Click() {
    const settings::ProgramSettings stored = settings::ProgramSettings::read();
    Edit1.setText(stored.mameExe());
    Edit2.setText(stored.parameters());
    xp.setChecked(stored.xp());
    close1.setChecked(stored.closeAfterPlaying());
    setState(State::configuration);
}

void TForm1::SpeedButton6Click() {
    std::string folder = tk::folderPart(launch::unquoted(Edit1.text()));
    if (tk::folderExists(folder))
        searchFolder_ = folder;
    tk::OpenFileRequest request{
        .title = "Search MAME Exe File",
        .filter = "MAME Exe Files|*MAME*.exe|Exe Files|*.exe|All Files|*.*",
        .initialFolder = searchFolder_,
        .options = OFN_HIDEREADONLY | OFN_ENABLESIZING,
    };
    if (auto file = tk::dialogs().openFile(request))
        Edit1.setText(*file);
}

void TForm1::SpeedButton9Click() {
    // "Apply" keeps the panel open, whatever the outcome.
    applyConfiguration();
}

bool TForm1::applyConfiguration() {
    // Explorer's "Copy as path" puts the path in double quotes.
    std::string mameExe = launch::unquoted(Edit1.text());
    if (mameExe != Edit1.text())
        Edit1.setText(mameExe);
    auto refuse = [this](const char* text) {
        tk::dialogs().message(text);
        Edit1.setFocus();
        return false;
    };
    if (!tk::folderExists(tk::folderPart(mameExe)))
        return refuse("This MAME exe doesn't exists! Please type the full Path!");
    if (!tk::fileExists(mameExe))
        return refuse("This MAME exe doesn't exists!");

    settings::ProgramSettings::storeMame(mameExe, Edit2.text());
    gameList_.endRenewal();
    tk::Outcome listed = launch::renewGameList(exe, mameExe, settings::filesFolder(), xp.checked());
    // The list on screen is the kept file's: the message is all there is to
    // say, and the panel stays for the user to put right what it names.
    if (listed.failed()) {
        tk::dialogs().message(listed.message());
        return false;
    }
    refreshlist();
    settings::ProgramSettings::storeXp(xp.checked());
    settings::ProgramSettings::storeCloseAfterPlaying(close1.checked());
    // The list is this MAME's now: a start-up renews it once MAME changes.
    settings::ProgramSettings::storeMameStamp(launch::mameStamp(mameExe));
    return true;
}

void TForm1::SpeedButton7Click() {
    // "OK": applies, and leaves the panel only when that went through.
    if (applyConfiguration())
        SpeedButton8Click();
}

void TForm1::SpeedButton8Click() {
    setState(State::list);
}

} // namespace ui
