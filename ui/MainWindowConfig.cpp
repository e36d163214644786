// The main window's configuration panel: filling it from the settings file,
// searching for MAME, applying (which has MAME write the game list anew),
// and leaving it.
#include "launch/ListfullRun.h"
#include "settings/IniFile.h"
#include "settings/ProfileSettings.h"
#include "settings/Settings.h"
#include "toolkit/files/Paths.h"
#include "toolkit/gui/Dialogs.h"
#include "ui/MainWindow.h"

#include <commdlg.h>

namespace ui {

void TForm1::SpeedButton2Click() {
    {
        settings::IniFile settings(settings::settingsPath());
        Edit1.setText(settings.readString(settings::configSection, settings::mameExeKey, ""));
        Edit2.setText(settings.readString(settings::configSection, settings::parametersKey, ""));
    }
    xp.setChecked(settings::ProfileSettings(settings::settingsPath())
                      .readBool(settings::configSection, settings::xpKey, false));
    close1.setChecked(settings::ProfileSettings(settings::settingsPath())
                          .readBool(settings::configSection, settings::closeKey, true));
    setState(State::configuration);
}

void TForm1::SpeedButton6Click() {
    std::string folder = tk::folderPart(Edit1.text());
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
    std::string mameExe = Edit1.text();
    auto refuse = [this](const char* text) {
        tk::dialogs().message(text);
        Edit1.setFocus();
        ApplyFailed = true;
    };
    if (!tk::folderExists(tk::folderPart(mameExe)))
        return refuse("This MAME exe doesn't exists! Please type the full Path!");
    if (!tk::fileExists(mameExe))
        return refuse("This MAME exe doesn't exists!");

    {
        settings::IniFile settings(settings::settingsPath());
        settings.writeString(settings::configSection, settings::mameExeKey, mameExe);
        settings.writeString(settings::configSection, settings::parametersKey, Edit2.text());
        settings.updateFile();
    }
    launch::ListfullResult run =
        launch::runListfull(exe, mameExe, tk::programFolder(), xp.checked());
    launch::Outcome listed =
        launch::missingGameList(run, tk::joinPath(tk::programFolder(), "gamelist"));
    if (listed.failed())
        tk::dialogs().message(listed.message());
    refreshlist();
    settings::ProfileSettings(settings::settingsPath())
        .writeBool(settings::configSection, settings::xpKey, xp.checked());
    settings::ProfileSettings(settings::settingsPath())
        .writeBool(settings::configSection, settings::closeKey, close1.checked());
    // The list is this MAME's now: a start-up renews it once MAME changes.
    storeMameStamp(mameExe);
}

void TForm1::SpeedButton7Click() {
    ApplyFailed = false;
    SpeedButton9Click();
    if (!ApplyFailed)
        SpeedButton8Click();
}

void TForm1::SpeedButton8Click() {
    setState(State::list);
}

} // namespace ui
