// Where the program keeps its files (keston.ini, gamelist, skin.bmp): beside
// keston.exe when that folder can be written, else in a folder of the user's
// own, so a program folder under Program Files, on read-only media or on a
// locked-down share still keeps its settings and its list.
#pragma once

#include <string>

namespace settings {

struct FilesPlace {
    std::string folder;
    // What the user is told on this start: that the files moved to the
    // per-user folder, on the start that moved them; that neither folder can
    // be written, and why, on every start that finds it so; else nothing.
    std::string notice;
};

// The per-user folder once it holds a keston.ini: the user's settings stay
// there, however the program folder changes. Otherwise the program folder
// when it can be written; otherwise `userFolder`, made when missing and filled
// from the program folder's keston.ini, gamelist and skin.bmp (a portable copy
// keeps its settings). Stays with the program folder when `userFolder` is
// empty or cannot be made or written either: there is no better place.
FilesPlace chooseFilesPlace(const std::string& programFolder, const std::string& userFolder);

// The per-user folder: "KESTON PRIME" in the user's roaming application data
// (%APPDATA%); empty when the environment names none.
std::string userFilesFolder();

// A file can be made in the folder and removed again: the one test that
// answers for read-only media, access rights and mounts alike (a folder's
// read-only attribute means nothing to Windows).
bool folderWritable(const std::string& folder);

// Why a write of `path` that failed could not be done, as the end of a
// sentence ("the file is read-only", "the file is in use by another program",
// "the disk is full", "its folder cannot be written"); empty when none of
// these is the case.
std::string writeFailureCause(const std::string& path);

} // namespace settings
