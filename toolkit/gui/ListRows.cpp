#include "toolkit/gui/ListRows.h"

#include "toolkit/text/OrdinalCase.h"

#include <cwchar>

namespace tk {

ListRows::ListRows(const std::vector<std::wstring>& rows) {
    std::size_t room = 0;
    for (const std::wstring& row : rows)
        room += row.size() + 1;
    texts_.reserve(room);
    starts_.reserve(rows.size() + 1);
    for (const std::wstring& row : rows) {
        texts_.append(row.c_str());
        texts_ += L'\0';
        starts_.push_back(texts_.size());
    }
    upper_ = ordinalUpper(texts_);
}

std::wstring_view ListRows::operator[](std::size_t index) const {
    if (index >= size())
        return {};
    return {texts_.data() + starts_[index], starts_[index + 1] - starts_[index] - 1};
}

int ListRows::findPrefix(std::wstring_view prefix) const {
    const std::wstring wanted = ordinalUpper(prefix);
    const std::size_t length = wanted.size();
    for (std::size_t i = 0; i < size(); ++i)
        if (starts_[i + 1] - starts_[i] > length &&
            std::wmemcmp(upper_.data() + starts_[i], wanted.data(), length) == 0)
            return static_cast<int>(i);
    return -1;
}

} // namespace tk
