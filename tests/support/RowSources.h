// Test support: the rows of a vector, for a list to show while the test
// keeps the vector.
#pragma once

#include "toolkit/gui/ListBox.h"

#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

inline tk::RowSource rowsOf(const std::vector<std::string>& rows) {
    return {[&rows] { return rows.size(); },
            [&rows](std::size_t i) {
                return i < rows.size() ? std::string_view(rows[i]) : std::string_view();
            }};
}

} // namespace testing_support
