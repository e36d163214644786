// Per-key writes to an INI file by the rules of the platform's private-profile
// functions: each write touches one key's line and leaves every other line of
// the file as it is (tk::IniFile::profileString reads by the same rules). The
// program applies them itself, to the file's bytes, which it swaps in whole:
// no moment leaves the file torn, no cache holds it, and a path of any length
// is written. A file without a mark stays in the code page while every value
// fits it, and becomes UTF-16 LE with its mark when one does not.
#pragma once

#include <string>

namespace settings {

class ProfileSettings {
public:
    explicit ProfileSettings(std::string path) : path_(std::move(path)) {}

    // A write that another copy of the program holds up raises tk::FileInUse;
    // any other that fails raises "Unable to write to %s".
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeBool(const std::string& section, const std::string& key, bool value);

private:
    std::string path_;
};

} // namespace settings
