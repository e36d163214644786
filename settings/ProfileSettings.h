// Per-key access to an INI file through the platform's private-profile
// functions: each read or write touches one key and leaves every other line
// of the file as it is. A write is applied to a copy that is swapped in
// whole, so no moment leaves the file torn.
#pragma once

#include <string>

namespace settings {

class ProfileSettings {
public:
    explicit ProfileSettings(std::string path);
    // Flushes the platform's profile cache for the file, so that a whole-file
    // access opened next sees what was written.
    ~ProfileSettings();
    ProfileSettings(const ProfileSettings&) = delete;
    ProfileSettings& operator=(const ProfileSettings&) = delete;

    // At most 2047 characters; a key present with an empty value gives "".
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    bool readBool(const std::string& section, const std::string& key, bool fallback) const;

    // A write the platform refuses raises "Unable to write to %s".
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeBool(const std::string& section, const std::string& key, bool value);

private:
    std::string path_;
};

} // namespace settings
