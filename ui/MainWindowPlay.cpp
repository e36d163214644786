// "Play": MAME started for the selected game and watched while it runs, so
// that a game MAME ends with an error is reported in MAME's own words.
//
// Each launch has a watch of its own, kept by this window, that drains MAME's
// output into a bounded tail while MAME runs and tells of MAME's end, not
// waiting for a child of MAME that keeps the output open
// (launch/WatchedProcess); it hands the end to this window's thread through
// a posted message, where the watch is let go. So the window never waits for
// MAME, MAME never waits for a full pipe, and closing the program stops the
// watches at once and leaves MAME running.
#include "launch/GameLaunch.h"
#include "settings/ProgramSettings.h"
#include "toolkit/gui/Application.h"
#include "toolkit/gui/Dialogs.h"
#include "toolkit/gui/Window.h"
#include "ui/MainWindow.h"

#include <optional>
#include <utility>

namespace ui {

void TForm1::SpeedButton1Click() {
    std::optional<GameListKeeper::Game> chosen = gameList_.chosen();
    if (!chosen)
        return;
    const settings::ProgramSettings stored = settings::ProgramSettings::read();
    std::string mameExe = stored.mameExe();
    std::string parameters = stored.parameters();
    PlayedGame game{++launches_, std::move(chosen->description), std::move(chosen->shortName)};
    // A MAME that did not start keeps the front-end open, whatever
    // "Close After Playing" says.
    launch::Watched started =
        launch::launchGame(mameExe, game.shortName, parameters, reportTo(game));
    if (started.outcome.failed()) {
        tk::dialogs().message(started.outcome.message());
        return;
    }
    watches_.emplace(game.launch, std::move(started.watch));
    if (!close1.checked())
        return;
    // Out of sight at once; closed when MAME still runs after the delay or
    // ends well before it, back with the message when it fails before it.
    tk::application().hide();
    closeAfterPlaying.start(handle(), game.launch);
}

launch::OnProcessEnd TForm1::reportTo(PlayedGame game) {
    // The window's handle is taken here, on its own thread; the work posted
    // runs only while the window and this object are linked.
    return [this, window = handle(), game](launch::ProcessEnd end) {
        tk::postToWindow(window, [this, game, end] { gameEnded(game, end); });
    };
}

void TForm1::gameEnded(const PlayedGame& game, const launch::ProcessEnd& end) {
    watches_.erase(game.launch);
    tk::Outcome report = launch::gameEndReport(game.description, game.shortName, end);
    if (closeAfterPlaying.ended(handle(), game.launch)) {
        if (!report.failed()) {
            close();
            return;
        }
        tk::application().restore();
    }
    if (report.failed())
        tk::dialogs().message(report.message());
}

void TForm1::onTimer(UINT_PTR id) {
    if (closeAfterPlaying.expired(handle(), id))
        close();
}

} // namespace ui
