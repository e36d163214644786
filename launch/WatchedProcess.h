// A program started with its standard output and error in a pipe, watched
// from a thread of its own until it ends: the user interface never waits
// for it, and it never waits for the user interface.
#pragma once

#include "toolkit/base/BackgroundWork.h"
#include "toolkit/base/Outcome.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace launch {

struct ProcessEnd {
    std::uint32_t exitCode = 0;
    std::string output; // the end of what it printed, standard output and error together
};

// Called once, on the watching thread, when the program has ended.
using OnProcessEnd = std::function<void(ProcessEnd)>;

// The watch over a started program, kept by the caller. Its end stops the
// watch within tk::BackgroundWork::endingBound, never the program, and no
// end is reported after that.
using ProcessWatch = std::unique_ptr<tk::BackgroundWork>;

// Why a program did not start, or the watch over it: empty when the program
// did not start, or when the system had no thread to watch it with (the
// program then runs unwatched).
struct [[nodiscard]] Watched {
    tk::Outcome outcome;
    ProcessWatch watch;
};

// Starts the command line as the system reads it (the program is its first
// word) in `directory` (the caller's current directory when empty), its
// window shown normally and, for a console program, without a console
// window; it inherits only the pipe's writing end. The watch waits for the
// program, for its output and for its own end at once, and takes the output
// as fast as the program writes it, keeping only the last part
// (OutputTail); it calls `onEnd`, when given, as soon as the program itself
// ends, with what it wrote until then: a child of it that keeps the pipe
// open is not waited for. A failure to start carries the system's own text
// for its reason.
// Nothing ends the program from here: it outlives the watch and the caller,
// whose process may end first.
Watched startWatched(const std::string& commandLine, const std::string& directory,
                     OnProcessEnd onEnd);

} // namespace launch
