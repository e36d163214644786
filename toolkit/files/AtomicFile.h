// Files written whole: written beside their target, flushed and swapped in,
// so a failure never leaves one half written. The writers of one file, in
// every copy of the program, take turns; a symbolic link is written through
// to its target.
#pragma once

#include "toolkit/base/Handles.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tk {

// The turn of one file's users in every copy of the program, held while it
// lives: each write takes it while it reads, changes and replaces the file,
// so no write starts from a copy that another replaces meanwhile, and a
// temporary file found meanwhile is a leftover of a killed writer, never
// another's live file. Reads take it too where the platform holds the file
// so that it cannot be replaced meanwhile. A system-wide mutex named after
// the file.
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
// writer that hangs does not hang every other copy of the program with it.
inline constexpr unsigned long fileTurnWait = 10000;

// Replaces the file by one holding `content`, or creates it. Raises "Cannot
// create file %s" naming `path`; the old file is then intact and no temporary
// file remains.
void replaceFileContent(const std::string& path, std::string_view content);

// The new content made from the file's content at the moment of the write
// (nothing when there is no file).
using ContentChange = std::function<std::string(const std::optional<std::string>& current)>;

// Replaces the file by the content `change` makes of it, with no other write
// of the file in between. Raises "Cannot create file %s" as
// replaceFileContent does, also when the file is there but cannot be read.
void rewriteFileContent(const std::string& path, const ContentChange& change);

// Replaces the file by a copy of it (an empty file when there is none) that
// `change` altered in place; false, with the old file intact and the copy
// gone, when any step fails.
[[nodiscard]] bool
replaceFileByChangedCopy(const std::string& path,
                         const std::function<bool(const std::string& copy)>& change);

// Writes `content` over an existing file in place and flushes it: only for a
// file no one else sees yet, such as the copy a change is made on. False when
// any step fails.
[[nodiscard]] bool overwriteFile(const std::string& path, std::string_view content);

// Removes the temporary file a write killed midway left beside the file
// (every write does so too), unless a writer is at work on it now.
void removeLeftovers(const std::string& path);

} // namespace tk
