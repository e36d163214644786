// Path helpers shared by every module: the text rules, and the questions
// that ask the file system.
#pragma once

#include "toolkit/files/PathText.h"

#include <string>

namespace tk {

// The folder of the running executable.
std::string programFolder();

// The platform's 8.3 form of every component; empty when the path is missing.
std::string shortPath(const std::string& path);

// The path as the system's W file functions take it at any length: one of
// 248 UTF-16 units or more (the limit of a folder's path) made full and put
// in its long form (see longPathForm); a shorter one as it is.
std::wstring fileSystemPath(const std::string& path);

// So little room is left on the folder's disk that the next whole-file write
// of a list or settings file may not fit, or a file just written there may
// have been cut short.
bool diskNearlyFull(const std::string& folder);

// The file attributes can be read and include the directory flag.
bool folderExists(const std::string& path);

// A search for the path finds an entry that is not a directory.
bool fileExists(const std::string& path);

std::string currentDirectory();

// The system's own folder of programs (GetSystemDirectoryW), where its command
// interpreter lives.
std::string systemFolder();

} // namespace tk
