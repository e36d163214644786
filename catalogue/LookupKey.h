// The keyed lookup in line-oriented text files: the value of the first line
// whose first word is the key.
#pragma once

#include <string>

namespace catalogue {

// Reads the file sequentially from its start up to the first matching line;
// the empty text when none matches. A file that cannot be opened or read
// raises tk::InOutError with the system's error number.
std::string LookupKey(const std::string& key, const std::string& fileName);

} // namespace catalogue
