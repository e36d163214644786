// The text rules of paths (folder part, base name, extension swap, joining):
// pure text work, with no file system behind it. Paths are UTF-8, whose
// multi-byte characters hold no ASCII byte, so no "\\", ":" or "." is ever
// taken from inside a character.
#pragma once

#include <string>

namespace tk {

// Text before the last backslash or colon; for a file in a drive's root the
// root with its backslash ("C:\"); the empty text for a bare file name.
std::string folderPart(const std::string& path);

// The name without the part from its last "." on.
std::string baseName(const std::string& name);

// The part from the last "." of the file name on replaced by `extension`
// (which includes its dot); appended when the file name has no ".".
std::string changeExtension(const std::string& path, const std::string& extension);

// Folder and file name joined with one backslash.
std::string joinPath(const std::string& folder, const std::string& name);

// `path` taken against `base`, the folder it is relative to: a path with a
// drive and a backslash, or a network path, as it is; one that begins with a
// backslash on the drive of `base`; any other joined to `base` (so the empty
// text names `base` with a trailing backslash). A path that names a drive
// without its root ("D:roms") is left as it is.
std::string resolvedPath(const std::string& base, const std::string& path);

// The name a file is written under before it replaces `path`, in the same
// folder: "~" and the file name without its last character, so that it is
// never longer than the file's own in UTF-16 units (a path that can be read can be written)
// and a file name with an extension never comes out as itself.
std::string temporarySibling(const std::string& path);

} // namespace tk
