// Test support: files written and read byte for byte, and the text of the
// error an action raises. Paths are UTF-8, as the program keeps them.
#pragma once

#include "toolkit/base/Error.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace testing_support {

// The path of UTF-8 text, for the standard library's file functions, which
// take a narrow path in the system's code page.
inline std::filesystem::path pathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The UTF-8 text of a path.
inline std::string textOf(const std::filesystem::path& path) {
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

inline void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(pathOf(path), std::ios::binary | std::ios::trunc) << content;
}

// The empty text when there is no file.
inline std::string readFile(const std::string& path) {
    std::ifstream in(pathOf(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// "no error" when the action raises nothing.
inline std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const tk::Error& error) {
        return error.what();
    }
    return "no error";
}

} // namespace testing_support
