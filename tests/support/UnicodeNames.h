// Test support: names in letters outside every single-byte code page
// (Cyrillic, Japanese with the 表 whose second byte in code page 932 is a
// backslash, an emoji beyond the 16-bit range), in UTF-8 as the program
// keeps its texts, and files and folders made under such names.
#pragma once

#include "toolkit/text/CodePage.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace testing_support {

inline const std::string cyrillicName = "\u0418\u0433\u0440\u044B"; // Игры
inline const std::string japaneseName = "\u30B2\u30FC\u30E0\u8868"; // ゲーム表
inline const std::string emojiName = "\U0001F3AE \u00C9mulation";   // 🎮 Émulation
inline const std::vector<std::string> unicodeNames{cyrillicName, japaneseName, emojiName};

// A path in UTF-8 as the system's wide functions take it.
inline std::filesystem::path widePath(const std::string& path) {
    return {tk::utf8ToWide(path)};
}

// Makes the folder and its parents; returns the path.
inline std::string makeFolder(const std::string& path) {
    std::filesystem::create_directories(widePath(path));
    return path;
}

inline void writeFileAt(const std::string& path, const std::string& content) {
    std::ofstream(widePath(path), std::ios::binary | std::ios::trunc) << content;
}

} // namespace testing_support
