// The text a per-key write makes: tk::profileEdit made on the text.
#pragma once

#include "toolkit/files/IniText.h"

#include <string>
#include <string_view>

namespace testing_support {

inline std::string profileWritten(std::string_view text, std::string_view section,
                                  std::string_view key, std::string_view value,
                                  tk::UpperCase upperCase) {
    tk::ProfileEdit edit = tk::profileEdit(text, section, key, value, upperCase);
    return std::string(text.substr(0, edit.begin)) + edit.line + std::string(text.substr(edit.end));
}

} // namespace testing_support
