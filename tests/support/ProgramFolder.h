// Test support: the program folder of a window test (the folder of the
// running test program), where the windows keep their files.
#pragma once

#include "settings/Settings.h"

#include <windows.h>

#include <string>

namespace testing_support {

inline std::string inProgramFolder(const std::string& name) {
    return programFile(name.c_str());
}

// Removes the files the program keeps beside itself.
inline void clearProgramFiles() {
    for (const char* name : {settingsFileName, gameListFileName, skinFileName})
        DeleteFileA(programFile(name).c_str());
}

} // namespace testing_support
