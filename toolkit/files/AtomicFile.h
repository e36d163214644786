// Files written whole: written beside their target, flushed and swapped in,
// so a failure never leaves one half written. The writers of one file, in
// every copy of the program, take turns; a symbolic link is written through
// to its target. Paths of any length are written.
#pragma once

#include "toolkit/base/Error.h"
#include "toolkit/base/Handles.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tk {

// The turn of one file's writers in every copy of the program, those of other
// users logged on to the machine too, held while it lives: each write takes
// it while it reads, changes and replaces the file, so no write starts from a
// copy that another replaces meanwhile, and a temporary file found meanwhile
// is a leftover of a killed writer, never another's live file. Reads take no
// turn: a write replaces its file in one rename, so a read finds the old file
// or the new one, whole. A machine-wide mutex named after the file.
class FileTurn {
public:
    // Waits up to `milliseconds` for the turn.
    FileTurn(const std::string& path, unsigned long milliseconds);
    FileTurn(const FileTurn&) = delete;
    FileTurn& operator=(const FileTurn&) = delete;
    ~FileTurn();

    bool held() const { return held_; }

private:
    KernelHandle mutex_;
    bool held_ = false;
};

// Long enough for any write of a file the program keeps, short enough that a
// copy stopped in the middle of a write is told to the user at once rather
// than felt as a hang.
inline constexpr unsigned long fileTurnWait = 3000;

// A write that did not get its file's turn in time: another copy of the
// program is writing the file, or was stopped while it did so.
class FileInUse : public Error {
public:
    explicit FileInUse(const std::string& path)
        : Error(formatMessage("%s is in use by another copy of the program", path)) {}
};

// Runs a file operation (false on failure, the system's error number set)
// again while the file is only held for a moment: a reader has it open, or a
// program just ended still lets go of it. Up to `attempts` runs, `pause`
// milliseconds apart; 0 once it succeeds, else the last error number.
unsigned long retriedWhileHeld(const std::function<bool()>& operation, int attempts,
                               unsigned long pause);

// Replaces the file by one holding `content`, or creates it. Raises FileInUse,
// or "Cannot create file %s" naming `path`; the old file is then intact and
// no temporary file remains.
void replaceFileContent(const std::string& path, std::string_view content);

// The new content made from the file's content at the moment of the write
// (nothing when there is no file), which it is given to keep or let go, so
// that a big file is not held twice while its new content is made.
using ContentChange = std::function<std::string(std::optional<std::string> current)>;

// Replaces the file by the content `change` makes of it, with no other write
// of the file in between. Raises as replaceFileContent does, "Cannot create
// file %s" also when the file is there but cannot be read.
void rewriteFileContent(const std::string& path, const ContentChange& change);

// Removes the temporary file a write killed midway left beside the file
// (every write does so too), unless a writer is at work on it now. Only a
// file that bears the name of the program's temporary files and is not
// read-only, as none of them is, is taken for one.
void removeLeftovers(const std::string& path);

} // namespace tk
