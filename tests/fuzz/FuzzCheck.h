// Fuzz support: a promise of the code under fuzzing that the input broke is a
// finding like a sanitizer's report, so it stops the fuzzer the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? void() : fuzz_support::fail(#condition, __FILE__, __LINE__))

namespace fuzz_support {

[[noreturn]] inline void fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: broken promise: %s\n", file, line, condition);
    std::abort();
}

inline std::string_view text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

inline std::vector<unsigned char> bytes(const std::uint8_t* data, std::size_t size) {
    return {data, data + size};
}

} // namespace fuzz_support
