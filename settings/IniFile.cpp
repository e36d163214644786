#include "settings/IniFile.h"

#include "toolkit/AtomicFile.h"
#include "toolkit/FileReader.h"

#include <windows.h>

namespace {

// Names match as the private-profile functions match them: upper-cased in the
// system's ANSI code page, so that both accesses find the same keys.
std::string ansiUpperCase(std::string_view text) {
    std::string upper(text);
    if (!upper.empty())
        CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

} // namespace

IniFile::IniFile(std::string path)
    : path_(std::move(path)), content_(tk::readFileIfPresent(path_).value_or(""), ansiUpperCase) {}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
    return content_.read(section, key).value_or(fallback);
}

void IniFile::writeString(const std::string& section, const std::string& key,
                          const std::string& value) {
    content_.write(section, key, value);
}

void IniFile::updateFile() {
    tk::replaceFileContent(path_, content_.text());
}
