// Test support: files written and read byte for byte, and the text of the
// error an action raises.
#pragma once

#include "toolkit/base/Error.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace testing_support {

inline void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

// The empty text when there is no file.
inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
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
