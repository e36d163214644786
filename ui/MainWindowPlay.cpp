// "Play": MAME started for the selected game and watched while it runs, so
// that a game MAME ends with an error is reported in MAME's own words.
//
// Each launch has a thread of its own that drains MAME's output into a
// bounded tail and then waits for MAME (launch/WatchedProcess); it hands the
// end to this window's thread through a posted message. So the window never
// waits for MAME, MAME never waits for a full pipe, and closing the program
// leaves MAME running: the threads end with the process, MAME does not.
#include "launch/GameLaunch.h"
#include "settings/ProgramSettings.h"
#include "toolkit/gui/Application.h"
#include "toolkit/gui/Dialogs.h"
#include "toolkit/gui/Window.h"
#include "toolkit/text/CodePage.h"
#include "ui/MainWindow.h"

namespace ui {

namespace {

constexpr UINT_PTR closeAfterPlayingTimer = 1;

} // namespace

void TForm1::SpeedButton1Click() {
    int index = ListBox1.itemIndex();
    if (index < 0)
        return;
    const settings::ProgramSettings stored = settings::ProgramSettings::read();
    std::string mameExe = stored.mameExe();
    std::string parameters = stored.parameters();
    PlayedGame game{++launches_, tk::wideToUtf8(ListBox1.row(index)), gamelist.item(index)};
    // A MAME that did not start keeps the front-end open, whatever
    // "Close After Playing" says.
    if (auto failure = launch::launchGame(mameExe, game.shortName, parameters, reportTo(game))) {
        tk::dialogs().message(*failure);
        return;
    }
    if (!close1.checked())
        return;
    // Out of sight at once; closed when MAME still runs after the delay or
    // ends well before it, back with the message when it fails before it.
    closingAfter_ = game.launch;
    tk::application().hide();
    SetTimer(handle(), closeAfterPlayingTimer, closeAfterPlayingDelay, nullptr);
}

launch::OnProcessEnd TForm1::reportTo(PlayedGame game) {
    // The window's handle is taken here, on its own thread; the work posted
    // runs only while the window and this object are linked.
    return [this, window = handle(), game](launch::ProcessEnd end) {
        tk::postToWindow(window, [this, game, end] { gameEnded(game, end); });
    };
}

void TForm1::gameEnded(const PlayedGame& game, const launch::ProcessEnd& end) {
    std::optional<std::string> report =
        launch::gameEndReport(game.description, game.shortName, end);
    if (closingAfter_ == game.launch) {
        KillTimer(handle(), closeAfterPlayingTimer);
        closingAfter_.reset();
        if (!report) {
            close();
            return;
        }
        tk::application().restore();
    }
    if (report)
        tk::dialogs().utf8Message(*report);
}

void TForm1::onTimer(UINT_PTR id) {
    if (id != closeAfterPlayingTimer)
        return;
    KillTimer(handle(), closeAfterPlayingTimer);
    closingAfter_.reset();
    close();
}

} // namespace ui
