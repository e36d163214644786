// Test support: the upper-casing of names for the settings text in builds
// without the system's ANSI code page (ASCII letters only).
#pragma once

#include <string>
#include <string_view>

namespace testing_support {

inline std::string asciiUpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

} // namespace testing_support
