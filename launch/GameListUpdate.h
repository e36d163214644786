// The game list kept in step with the MAME that wrote it: what identifies that
// MAME is stored beside the list, and each generation (a MAME replaced since,
// or the configuration panel's "Apply") has the list written anew, without
// losing the old one when it writes none, or only part of one.
#pragma once

#include "launch/Executor.h"
#include "toolkit/base/Outcome.h"

#include <string>
#include <string_view>

namespace launch {

// What identifies the MAME executable for this purpose: its size and last
// write time, as text to store; empty when it cannot be read (a missing file).
std::string mameStamp(const std::string& mameExe);

// A game list MAME wrote anew, or why there is none.
struct RenewedList {
    enum class Status : unsigned char {
        tried,     // outcome says whether content holds the list, or why not
        cancelled, // by the run's cancel event: there is nothing to tell
        elsewhere, // another copy of the program renews the list right now
    };
    Status status = Status::tried;
    tk::Outcome outcome = tk::Outcome::success();
    std::string content;

    static RenewedList whole(std::string content) {
        return {Status::tried, tk::Outcome::success(), std::move(content)};
    }
    static RenewedList failed(std::string why) {
        return {Status::tried, tk::Outcome::failure(std::move(why)), {}};
    }
};

// Has MAME write its game list into a file of its own in the program folder,
// which the run creates (a file or folder found under that name is removed
// first, or named in the failure), and takes the list only when MAME ended
// with exit code 0 and the list is whole: a failing MAME (whatever it
// printed), a program that is no MAME, a MAME ended at `exe`'s time limit or
// by its cancel event, and a list cut short by a full disk give none, and the
// failure says why, quoting what MAME said on its standard error. The file
// is gone however the run ends. One renewal at a time among all copies of
// the program: while another copy's runs, none is started.
RenewedList writeRenewedList(TExecutor& exe, const std::string& mameExe,
                             const std::string& programFolder, bool xp);

// Puts a renewed list in place of "gamelist", whole or not at all. Raises
// "Cannot create file %s"; the old list then stays.
void installGameList(const std::string& programFolder, std::string_view content);

// Both steps, as the configuration panel's "Apply" renews the list: a
// failure says why no list was written. Raises as installGameList does.
tk::Outcome renewGameList(TExecutor& exe, const std::string& mameExe,
                          const std::string& programFolder, bool xp);

// Removes the file of a renewal that was killed midway, unless a renewal of
// any copy of the program is writing it now.
void removeRenewalLeftover(const std::string& programFolder);

} // namespace launch
