// The keyed lookup in line-oriented text files: the value of the first line
// whose first word is the key.
#pragma once

#include "catalogue/KeyLines.h"

#include <string>

namespace catalogue {

// Reads the file sequentially from its start up to the first matching line;
// the empty text when none matches. The value of a file with a byte-order
// mark is UTF-8; that of any other is its bytes. A file that cannot be opened
// or read raises tk::InOutError with the system's error number.
std::string LookupKey(const std::string& key, const std::string& fileName);

// The same search, with the number of the matching line.
KeyValue lookupKeyLine(const std::string& key, const std::string& fileName);

// Whether the file holds at least one line of a game list; read up to that
// line. A file that cannot be read holds none.
bool holdsGameList(const std::string& fileName);

} // namespace catalogue
