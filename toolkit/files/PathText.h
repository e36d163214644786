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
// folder: the file's name and a tag that no one gives a file of their own, so
// that only the program's own leftovers are ever taken for leftovers. A name
// too long to take the tag within one name's limit is cut short first.
std::string temporarySibling(const std::string& path);

// A full path in the form that lifts the system's usual limit of 260
// characters: "\\?\C:\..." or "\\?\UNC\server\..."; a path in that form already,
// a device path or one that is not full, as it is.
std::string longPathForm(const std::string& path);

} // namespace tk
