// The rows of a list kept in the program's memory: every row's text, each
// ended by a NUL and one after another, as a list box takes them in, and
// beside it the same rows in the upper case of ordinal comparisons, made
// once when the rows are given. Finding the first row that begins with a
// prefix then costs one comparison of the prefix per row, and nothing else.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

class ListRows {
public:
    ListRows() = default;
    // A row ends at its first NUL, as a row sent to a list box does.
    explicit ListRows(const std::vector<std::wstring>& rows);

    std::size_t size() const { return starts_.size() - 1; }
    // Empty beyond the last row.
    std::wstring_view operator[](std::size_t index) const;

    // Every row with its NUL, and where each begins in it.
    const std::wstring& texts() const { return texts_; }
    std::span<const std::size_t> starts() const { return std::span(starts_).first(size()); }

    // The first row that begins with `prefix`, ignoring case as an ordinal
    // comparison does in every script; -1 for none.
    int findPrefix(std::wstring_view prefix) const;

private:
    std::wstring texts_;
    std::wstring upper_; // texts_ in upper case, unit for unit
    // Where each row begins, and one past the last row's NUL.
    std::vector<std::size_t> starts_{0};
};

} // namespace tk
