// Per-key writes to an INI file through the platform's private-profile
// functions: each write touches one key and leaves every other line of the
// file as it is (tk::IniFile::profileString reads by the same rules). A write
// is applied to a copy that is swapped in whole, so no moment leaves the file
// torn, and the platform's profile cache never holds the file itself. A file
// without a mark stays in the code page while every value fits it, and
// becomes UTF-16 LE with its mark when one does not.
#pragma once

#include <string>

namespace settings {

class ProfileSettings {
public:
    explicit ProfileSettings(std::string path) : path_(std::move(path)) {}

    // A write the platform refuses raises "Unable to write to %s".
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeBool(const std::string& section, const std::string& key, bool value);

private:
    std::string path_;
};

} // namespace settings
