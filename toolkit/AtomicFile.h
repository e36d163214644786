// Files written whole: written beside their target, flushed and swapped in,
// so a failure never leaves one half written. The writers of one file, in
// every copy of the program, take turns; a symbolic link is written through
// to its target.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tk {

// Replaces the file by one holding `content`, or creates it. Raises "Cannot
// create file %s" naming `path`; the old file is then intact and no temporary
// file remains.
void replaceFileContent(const std::string& path, std::string_view content);

// The new content made from the file's content at the moment of the write
// (nothing when there is no file).
using ContentChange = std::function<std::string(const std::optional<std::string>& current)>;

// Replaces the file by the content `change` makes of it, with no other write
// of the file in between. Raises "Cannot create file %s" as
// replaceFileContent does, and "Cannot open file %s" when the file cannot
// be read.
void rewriteFileContent(const std::string& path, const ContentChange& change);

// Replaces the file by a copy of it (an empty file when there is none) that
// `change` altered in place; false, with the old file intact and the copy
// gone, when any step fails.
bool replaceFileByChangedCopy(const std::string& path,
                              const std::function<bool(const std::string& copy)>& change);

// Removes the temporary file a write killed midway left beside the file
// (every write does so too), unless a writer is at work on it now.
void removeLeftovers(const std::string& path);

} // namespace tk
