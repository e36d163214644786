// Test support: a settings file in a fresh temporary folder, with the
// program's reads of it and the platform's own per-key read to hold them to.
#pragma once

#include "support/Files.h"
#include "support/TempFolder.h"
#include "toolkit/files/FileReader.h"
#include "toolkit/files/IniFile.h"
#include "toolkit/files/IniText.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

class SettingsFile : public ::testing::Test {
protected:
    void put(const std::string& bytes) { writeFile(path, bytes); }
    std::string content() const { return tk::readWholeFile(path); }
    // The program's per-key read, by the platform's rules.
    std::string perKey(const std::string& section, const std::string& key,
                       const std::string& fallback = "<none>") const {
        return tk::IniFile(path).profileString(section, key, fallback);
    }
    bool perKeyBool(const std::string& key, bool fallback) const {
        return tk::parseProfileBool(perKey("config", key, ""), fallback);
    }
    // The platform's own, from the file as it is now rather than as it was
    // when the platform last read it.
    std::string platformPerKey(const std::string& section, const std::string& key) const {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
        char buffer[2048];
        DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", buffer,
                                                sizeof buffer, path.c_str());
        return std::string(buffer, length);
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        return names;
    }

    TempFolder temp{"keston-settings"};
    std::filesystem::path folder = temp.path();
    std::string path = temp.file("keston.ini");
};

} // namespace testing_support
