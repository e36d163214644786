// Files written whole: written beside their target, flushed and swapped in,
// so a failure never leaves one half written.
#pragma once

#include <string>
#include <string_view>

namespace tk {

// Replaces the file by one holding `content`, or creates it. Raises "Cannot
// create file %s" naming `path`; the old file is then intact and no temporary
// file remains.
void replaceFileContent(const std::string& path, std::string_view content);

} // namespace tk
