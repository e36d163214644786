// A program started with its standard output and error in a pipe, watched
// from a thread of its own until it ends: the user interface never waits
// for it, and it never waits for the user interface.
#pragma once

#include "toolkit/base/Outcome.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace launch {

struct ProcessEnd {
    std::uint32_t exitCode = 0;
    std::string output; // the end of what it printed, standard output and error together
};

// Called once, on the watching thread, when the program has ended.
using OnProcessEnd = std::function<void(ProcessEnd)>;

// Starts the command line as the system reads it (the program is its first
// word) in `directory` (the caller's current directory when empty), its
// window shown normally and, for a console program, without a console
// window; it inherits only the pipe's writing end. A thread of its own reads
// the pipe as fast as the program writes, keeping only the last part
// (OutputTail), and calls `onEnd`, when given, as soon as the program itself
// ends, with what it wrote until then: a child of it that keeps the pipe
// open is not waited for. A failure to start carries the system's own text
// for its reason.
// Nothing ends the program from here: it outlives the caller, whose process
// may end first.
tk::Outcome startWatched(const std::string& commandLine, const std::string& directory,
                         OnProcessEnd onEnd);

} // namespace launch
