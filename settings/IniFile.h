// Whole-file access to an INI file: read whole on opening, looked up and
// changed in memory, and written back whole only when asked, in the encoding
// the file had (a byte-order mark names it).
#pragma once

#include "settings/IniText.h"
#include "toolkit/text/TextEncoding.h"

#include <string>

namespace settings {

class IniFile {
public:
    // A missing file reads as empty; one that exists but cannot be read
    // raises "Cannot open file %s".
    explicit IniFile(std::string path);

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    void writeString(const std::string& section, const std::string& key, const std::string& value);

    // Replaces the file with the memory content at once; raises "Cannot create
    // file %s" and leaves the old file as it was when that fails.
    void updateFile();

private:
    IniFile(std::string path, const tk::MarkedText& file);
    std::string toFile(const std::string& text) const;
    std::string fromFile(const std::string& text) const;

    std::string path_;
    tk::TextEncoding encoding_;
    IniText content_;
};

} // namespace settings
