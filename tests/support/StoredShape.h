// Test support: the main window's stored shape, read from its source text as
// the build reads it (each number one little-endian 32-bit value), and the
// path of a file of the source tree.
#pragma once

#include "shape/RegionPayload.h"

#include <fstream>
#include <sstream>
#include <string>

namespace testing_support {

inline std::string sourceFile(const std::string& relative) {
    return std::string(KESTON_SOURCE_DIR) + "/" + relative;
}

inline shape::Bytes storedMainWindowPayload() {
    std::ifstream in(sourceFile("shape/main-window.region"));
    shape::Bytes payload;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream numbers(line);
        long long value = 0;
        while (numbers >> value)
            for (int i = 0; i < 4; ++i)
                payload.push_back(
                    static_cast<std::uint8_t>(static_cast<unsigned long long>(value) >> (8 * i)));
    }
    return payload;
}

} // namespace testing_support
