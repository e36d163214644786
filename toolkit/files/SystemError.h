// The system's own words for one of its error numbers, as the user reads
// them in a message: "Access is denied", without the line end or the full
// stop the system puts after them.
#pragma once

#include <string>

namespace tk {

// "Error <number>" where the system has no text for the number.
std::string systemErrorText(unsigned long code);

} // namespace tk
