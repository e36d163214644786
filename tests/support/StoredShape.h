// Test support: the main window's stored shape as the build stores it (the
// payload values the build wrote from the shape's source text), and the path
// of a file of the source tree.
#pragma once

#include "shape/RegionPayload.h"

#include <cstdint>
#include <string>

namespace testing_support {

inline std::string sourceFile(const std::string& relative) {
    return std::string(KESTON_SOURCE_DIR) + "/" + relative;
}

inline shape::Bytes storedMainWindowPayload() {
    static constexpr std::int32_t values[] = {
#include "shape/main-window-region.rcdata"
    };
    shape::Bytes payload;
    for (std::int32_t value : values)
        for (int i = 0; i < 4; ++i)
            payload.push_back(
                static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i)));
    return payload;
}

} // namespace testing_support
