// Test support: the program folder of a ui test program (the folder of the
// running test executable), emptied of the program's own files before and
// after each test, with small helpers to write and read files there.
#pragma once

#include "toolkit/Paths.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testing_support {

inline std::string inProgramFolder(const std::string& name) {
    return tk::joinPath(tk::programFolder(), name);
}

inline void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The names in a folder, "." and ".." left out.
inline std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(tk::joinPath(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Removes the files the program keeps beside itself.
inline void clearProgramFiles() {
    for (const char* name : {"keston.ini", "gamelist", "skin.bmp"})
        DeleteFileA(inProgramFolder(name).c_str());
}

} // namespace testing_support
