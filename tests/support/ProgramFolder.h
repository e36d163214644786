// Test support: the program folder of a window test (the folder of the
// running test program), where the windows keep their files.
#pragma once

#include "settings/Settings.h"
#include "toolkit/files/Paths.h"
#include "toolkit/text/CodePage.h"

#include <windows.h>

#include <string>

namespace testing_support {

inline std::string inProgramFolder(const std::string& name) {
    return settings::programFile(name.c_str());
}

// Copies MAME's stand-in, built in the folder above the test program's own,
// to `target`; returns `target`.
inline std::string copyFakeMame(const std::string& target) {
    CopyFileW(
        tk::utf8ToWide(tk::joinPath(tk::folderPart(tk::programFolder()), "fakemame.exe")).c_str(),
        tk::utf8ToWide(target).c_str(), FALSE);
    return target;
}

// Removes the files the program keeps beside itself.
inline void clearProgramFiles() {
    for (const char* name :
         {settings::settingsFileName, settings::gameListFileName, settings::skinFileName})
        DeleteFileW(tk::utf8ToWide(settings::programFile(name)).c_str());
}

} // namespace testing_support
