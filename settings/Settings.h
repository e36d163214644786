// The program's own files and the section and keys of its settings: every
// module names them from here.
#pragma once

#include <string>

namespace settings {

inline constexpr char settingsFileName[] = "keston.ini";
inline constexpr char gameListFileName[] = "gamelist";
inline constexpr char skinFileName[] = "skin.bmp";

// The folder that holds the program's files: the per-user one once the
// settings live there, else its own folder when that can be written, else the
// per-user one (see FilesFolder.h). Chosen once, at the first call, so that
// every file of one run lies in one place.
std::string filesFolder();
// What to tell the user about that choice on this start (see FilesPlace).
std::string filesFolderNotice();

// filesFolder() joined with a backslash and the file's name.
std::string programFile(const char* name);
// programFile(settingsFileName); every settings access gets this path.
std::string settingsPath();

inline constexpr char configSection[] = "config";
inline constexpr char mameExeKey[] = "mameexe";
inline constexpr char parametersKey[] = "parameters";
inline constexpr char xpKey[] = "xp";
inline constexpr char closeKey[] = "close";
inline constexpr char skinKey[] = "Skin";
inline constexpr char creditsKey[] = "credits";
// Size and write time of the MAME that wrote the gamelist file.
inline constexpr char mameStampKey[] = "mamestamp";

} // namespace settings
