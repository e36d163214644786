// How the messages name a program's exit code: the number in one form for
// every message, and whether it is the code of a Windows exception, which
// ended the program rather than the program itself. Pure text work, no
// <windows.h>.
#pragma once

#include <cstdint>
#include <string>

namespace launch {

// The code as every message shows it: unsigned, as Windows keeps it, in
// decimal, with the hexadecimal form in which large codes are looked up.
std::string exitCodeNumber(std::uint32_t exitCode);

// Whether the code is a status of the system's own exceptions (an error or a
// warning such as a breakpoint), as a process ends with when one goes
// unhandled.
bool isExceptionCode(std::uint32_t exitCode);

// "Windows exception" and, for the common ones, what it was; empty for a
// code that is no exception.
std::string exceptionWords(std::uint32_t exitCode);

} // namespace launch
