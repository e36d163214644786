#include "launch/GameLaunch.h"

#include "launch/MameCommands.h"
#include "launch/MameReport.h"
#include "toolkit/files/Paths.h"
#include "toolkit/text/CodePage.h"

namespace launch {

namespace {

// MAME reads its configuration from the folder it starts in. A folder that is
// not there is not given: the start then fails on the program itself, and
// that is the reason worth telling.
std::string startFolder(const std::string& mameexe) {
    std::string folder = tk::folderPart(unquoted(mameexe));
    return tk::folderExists(folder) ? folder : "";
}

Watched notStarted(std::string message) {
    return {tk::Outcome::failure(std::move(message)), nullptr};
}

} // namespace

Watched launchGame(const std::string& mameexe, const std::string& shortName,
                   const std::string& parameters, OnProcessEnd onEnd) {
    // Without a program, Windows would take the short name as the program to
    // start.
    if (mameexe.empty())
        return notStarted("No MAME executable is configured. Press \"Configure \" and name it.");
    // A ROM file named "-listxml.zip" must not make MAME run one of its jobs.
    if (std::string refusal = gameArgumentRefusal(shortName); !refusal.empty())
        return notStarted("The game " + shortName + " is not started: " + refusal);
    Watched started = startWatched(playCommandLine(mameexe, shortName, parameters),
                                   startFolder(mameexe), std::move(onEnd));
    if (!started.outcome.failed())
        return started;
    return notStarted("Cannot start " + unquoted(mameexe) + ": " + started.outcome.message());
}

tk::Outcome gameEndReport(const std::string& description, const std::string& shortName,
                          const ProcessEnd& end) {
    if (end.exitCode == 0)
        return tk::Outcome::success();
    MameWords said = reasonLines(end.output);
    for (std::string& line : said.lines)
        line = tk::utf8OfUtf8OrAnsi(line);
    return tk::Outcome::failure(gameEndMessage(description, shortName, end.exitCode, said));
}

} // namespace launch
