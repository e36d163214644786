// Whole-file access to an INI file: read whole on opening, looked up and
// changed in memory, and written back whole only when asked.
#pragma once

#include "settings/IniText.h"

#include <string>

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
    std::string path_;
    IniText content_;
};
