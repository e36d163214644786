// Files written whole: written beside their target, flushed and swapped in,
// so a failure never leaves one half written.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tk {

// Replaces the file by one holding `content`, or creates it. Raises "Cannot
// create file %s" naming `path`; the old file is then intact and no temporary
// file remains.
void replaceFileContent(const std::string& path, std::string_view content);

// Replaces the file by `replacement`, a finished file beside it, in one
// rename after flushing it. Raises "Cannot create file %s" naming `path`; the
// old file is then intact and `replacement` stays where it was.
void replaceFileWith(const std::string& path, const std::string& replacement);

// Replaces the file by a copy of it (an empty file when there is none) that
// `change` altered in place; false, with the old file intact and the copy
// gone, when any step fails. A temporary file that a killed write left beside
// the file goes with the next replacement.
[[nodiscard]] bool
replaceFileByChangedCopy(const std::string& path,
                         const std::function<bool(const std::string& copy)>& change);

} // namespace tk
