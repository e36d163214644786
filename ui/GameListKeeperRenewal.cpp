// The renewal of the game list for a MAME replaced since the
// list was written. MAME writes the new list behind the start, on a thread of
// its own: the start goes on with the list there is, and a whole new list
// replaces it once MAME has written one, keeping the game the user chose. The
// stamp of the new MAME is stored only with its list, so a renewal that
// fails, or that the program's end cuts short, is tried again at the next
// start.
#include "ui/GameListKeeper.h"

#include "launch/GameListRenewal.h"
#include "settings/FilesFolder.h"
#include "settings/ProgramSettings.h"
#include "settings/Settings.h"
#include "toolkit/base/Error.h"
#include "toolkit/base/Outcome.h"
#include "toolkit/gui/Dialogs.h"
#include "toolkit/gui/Window.h"

#include <algorithm>
#include <memory>

namespace ui {

namespace {

// A write of ours at start-up failed: the start goes on with the files that
// are there, and the user learns which file it was and why.
tk::Outcome startWriteFailure(const std::string& error, const std::string& path) {
    std::string cause = settings::writeFailureCause(path);
    return tk::Outcome::failure(error + (cause.empty() ? "" : ": " + cause) +
                                ". The next start tries again.");
}

// Runs a write of start-up. A refused write must not cost the list that is
// there: it is an outcome to tell, not an error that ends the start.
template <typename Write> tk::Outcome writeAtStart(const std::string& path, Write write) {
    try {
        write();
    } catch (const tk::Error& refused) {
        return startWriteFailure(refused.what(), path);
    }
    return tk::Outcome::success();
}

// Not worth a message at every start: a stamp that cannot be stored only
// has the next start renew the list again.
void storeStampAtStart(const std::string& stamp) {
    try {
        settings::ProgramSettings::storeMameStamp(stamp);
    } catch (const tk::Error&) {
    }
}

} // namespace

void GameListKeeper::renewForNewMame(const settings::ProgramSettings& stored, bool xp,
                                     std::chrono::milliseconds limit,
                                     const std::function<void(const std::string&)>& status) {
    std::string mameExe = stored.mameExe();
    std::string stamp = launch::mameStamp(mameExe);
    std::string previous = stored.mameStamp();
    if (stamp.empty() || stamp == previous)
        return;
    // A settings file from before the stamp was kept: its list is taken as
    // this MAME's.
    if (previous.empty())
        return storeStampAtStart(stamp);
    status("New MAME found: updating Gamelist");
    std::string folder = settings::filesFolder();
    // MAME would be blamed for a list it was not let write.
    if (!settings::folderWritable(folder)) {
        std::string list = settings::programFile(settings::gameListFileName);
        return tk::dialogs().message(
            startWriteFailure(tk::formatMessage("Unable to write to %s", list), list).message());
    }
    renewal_ = std::make_unique<launch::GameListRenewal>(
        mameExe, folder, xp, static_cast<DWORD>(limit.count()),
        [this, window = window_.handle(), stamp](launch::RenewedList renewed) {
            auto ended = std::make_shared<launch::RenewedList>(std::move(renewed));
            tk::postToWindow(window, [this, ended, stamp] { renewalEnded(*ended, stamp); });
        });
}

void GameListKeeper::endRenewal() {
    renewal_.reset();
}

void GameListKeeper::renewalEnded(const launch::RenewedList& renewed, const std::string& stamp) {
    // Ended early by "Apply", which renews the list itself.
    if (!renewal_)
        return;
    if (building_) {
        afterBuild_ = [this, renewed, stamp] { renewalEnded(renewed, stamp); };
        return;
    }
    renewal_.reset();
    if (renewed.status != launch::RenewedList::Status::tried)
        return;
    if (renewed.outcome.failed())
        return tk::dialogs().message(renewed.outcome.message());
    std::string list = settings::programFile(settings::gameListFileName);
    tk::Outcome installed = writeAtStart(
        list, [&] { launch::installGameList(settings::filesFolder(), renewed.content); });
    if (installed.failed())
        return tk::dialogs().message(installed.message());
    refreshKeepingChoice();
    storeStampAtStart(stamp);
}

} // namespace ui
