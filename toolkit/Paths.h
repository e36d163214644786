// Path helpers shared by every module. The text rules (folder part, base name,
// extension swap) are pure; the rest asks the file system.
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

// The folder of the running executable.
std::string programFolder();

// The platform's 8.3 form of every component; empty when the path is missing.
std::string shortPath(const std::string& path);

// The file attributes can be read and include the directory flag.
bool folderExists(const std::string& path);

// A search for the path finds an entry that is not a directory.
bool fileExists(const std::string& path);

std::string currentDirectory();

// The system's own folder of programs (GetSystemDirectoryA), where its command
// interpreter lives.
std::string systemFolder();

} // namespace tk
