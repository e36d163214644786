// A program started with its standard output and error in a pipe, watched
// from a thread of its own until it ends: the user interface never waits
// for it, and it never waits for the user interface.
#pragma once

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
// word), in the current directory, its window shown normally and, for a
// console program, without a console window; it inherits only the pipe's
// writing end. A thread of its own reads the pipe as fast as the program
// writes, keeping only the last part (OutputTail), then waits for the
// program's end and calls `onEnd` when given. Returns 0, or the system's error number
// when nothing started. Nothing ends the program from here: it outlives the
// caller, whose process may end first.
DWORD startWatched(const std::string& commandLine, OnProcessEnd onEnd);

} // namespace launch
