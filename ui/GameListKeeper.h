// The main window's game list: the rows, held once, that ListBox1 and the
// hidden lists show, their build from MAME's ROM directory and the gamelist
// file, and the renewal of that file for a MAME replaced since it was
// written (GameListKeeperRenewal.cpp).
#pragma once

#include "catalogue/GameList.h"
#include "launch/GameListRenewal.h"
#include "settings/ProgramSettings.h"
#include "toolkit/gui/FileListBox.h"
#include "toolkit/gui/Form.h"
#include "toolkit/gui/ListBox.h"
#include "toolkit/gui/Panel.h"
#include "toolkit/gui/SearchableListBox.h"
#include "toolkit/gui/Windowed.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ui {

class StartListing;

class GameListKeeper {
public:
    // The window's controls the list fills, reads or covers.
    struct Controls {
        tk::SearchableListBox& shown;
        tk::FileListBox& files;
        tk::ListBox& zips;  // the files, and one empty row
        tk::ListBox& games; // the short names
        tk::Panel& loading; // covers the window while the list is built
        tk::CheckBox& showAll;
    };
    // A game as the chosen row names it.
    struct Game {
        std::string description; // UTF-8
        std::string shortName;
    };

    // The controls are only held here, not read: they may be made after the
    // keeper, which ends after them since they show its rows. listedAhead,
    // when given, is the ROM folder's listing the start's build takes.
    GameListKeeper(const tk::Form& window, const Controls& controls, StartListing* listedAhead);
    GameListKeeper(const GameListKeeper&) = delete;
    GameListKeeper& operator=(const GameListKeeper&) = delete;

    // Rebuilds every list for this MAME; at the start, with the ROM folder's
    // listing made while the windows were, when it is of the same folders.
    void build(const std::string& mameExe, bool atStart = false);
    // build, for the MAME the settings file names now.
    void refresh();
    // The game of the row chosen in the shown list; none when no row is.
    std::optional<Game> chosen() const;

    // Starts the renewal of the game list when MAME changed since it was
    // written; status tells the user it does. It may take up to limit.
    void renewForNewMame(const settings::ProgramSettings& stored, bool xp,
                         std::chrono::milliseconds limit,
                         const std::function<void(const std::string&)>& status);
    // Ends a renewal still running: "Apply" writes the same file, and the
    // window ends it before it goes, while MAME may still be ended.
    void endRenewal();
    // Whether MAME writes the game list behind the start now.
    bool renewing() const { return renewal_ != nullptr; }

private:
    // Holds the rows built and shows them in every list.
    void show(catalogue::GameRows games);
    // refresh, with the chosen game chosen again when it is still listed.
    void refreshKeepingChoice();
    void renewalEnded(const launch::RenewedList& renewed, const std::string& stamp);

    // The game rows, held once: the lists are views of it.
    catalogue::GameRows games_;
    const tk::Form& window_;
    Controls controls_;
    // None: the start lists the ROM folder itself.
    StartListing* startListing_;
    bool building_ = false;
    // What came while the list was built and waits for the build's end.
    std::function<void()> afterBuild_;
    // Last, so it ends first: its MAME is ended while the rest still is.
    std::unique_ptr<launch::GameListRenewal> renewal_;
};

} // namespace ui
