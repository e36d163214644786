#include "launch/ExitCodes.h"

#include <cstdio>

namespace launch {

namespace {

struct NamedException {
    std::uint32_t code;
    const char* name;
};

constexpr NamedException namedExceptions[] = {
    {0x80000002u, "misaligned data"},
    {0x80000003u, "breakpoint"},
    {0x80000004u, "single step"},
    {0xC0000005u, "access violation"},
    {0xC0000006u, "page could not be read in"},
    {0xC000001Du, "illegal instruction"},
    {0xC0000025u, "exception that cannot be continued"},
    {0xC000008Cu, "array bounds exceeded"},
    {0xC000008Eu, "floating-point division by zero"},
    {0xC0000090u, "invalid floating-point operation"},
    {0xC0000094u, "integer division by zero"},
    {0xC0000095u, "integer overflow"},
    {0xC0000096u, "privileged instruction"},
    {0xC00000FDu, "stack overflow"},
    {0xC0000374u, "heap corruption"},
    {0xC0000409u, "stack buffer overrun"},
};

} // namespace

std::string exitCodeNumber(std::uint32_t exitCode) {
    std::string number = std::to_string(exitCode);
    // Up to here codes are a program's own small numbers; beyond, they are
    // statuses and flags that are read in hexadecimal (-1 among them).
    if (exitCode <= 0xFFFFu)
        return number;
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(exitCode));
    return number + " (" + hex + ")";
}

bool isExceptionCode(std::uint32_t exitCode) {
    // The system's exceptions are statuses of its own facility with the
    // error or warning severity: 0xC000xxxx and 0x8000xxxx. Other large codes
    // (-1, a program's HRESULT) are the program's own choice.
    std::uint32_t kind = exitCode & 0xFFFF0000u;
    return kind == 0xC0000000u || kind == 0x80000000u;
}

std::string exceptionWords(std::uint32_t exitCode) {
    if (!isExceptionCode(exitCode))
        return {};
    for (const NamedException& named : namedExceptions) {
        if (named.code == exitCode)
            return std::string("Windows exception: ") + named.name;
    }
    return "Windows exception";
}

} // namespace launch
