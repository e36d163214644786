// MAME's ROM folder listed from the program's first moment, on a thread of
// its own, while the windows are made and the start-up sequence runs; the
// start's list build takes that listing when it decides the same folders.
#pragma once

#include "toolkit/files/ListingAhead.h"

#include <optional>
#include <string>
#include <vector>

namespace ui {

class StartListing {
public:
    // Decides the ROM folder as the list build does, from keston.ini and
    // MAME's own files, but never asks the user: when only the user can
    // tell, nothing is listed ahead.
    StartListing();
    StartListing(const StartListing&) = delete;
    StartListing& operator=(const StartListing&) = delete;

    // The files listed ahead, when the listing decided as `decided`; nothing
    // otherwise, and after the first call.
    std::optional<std::vector<std::string>> take(const tk::ListingAhead::Choice& decided);

private:
    tk::ListingAhead listing_;
};

} // namespace ui
