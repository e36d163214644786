// Test support: the program folder of a ui test program (the folder of the
// running test executable), emptied of the program's own files before and
// after each test, with small helpers to write and read files there.
#pragma once

#include "toolkit/Paths.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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

// Copies MAME's stand-in, built in the folder above the test program's own,
// to `target`; returns `target`.
inline std::string copyFakeMame(const std::string& target) {
    CopyFileA(tk::joinPath(tk::folderPart(tk::programFolder()), "fakemame.exe").c_str(),
              target.c_str(), FALSE);
    return target;
}

// Removes a folder the test made, with all it holds; the current directory,
// which a list build may have left inside it, goes back to the program folder.
inline void removeTestFolder(const std::string& folder) {
    SetCurrentDirectoryA(tk::programFolder().c_str());
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

// Removes the files the program keeps beside itself.
inline void clearProgramFiles() {
    for (const char* name : {"keston.ini", "gamelist", "skin.bmp"})
        DeleteFileA(inProgramFolder(name).c_str());
}

} // namespace testing_support
