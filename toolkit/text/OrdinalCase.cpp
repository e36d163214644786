#include "toolkit/text/OrdinalCase.h"

#include <windows.h>

#include <vector>

namespace tk {
namespace {

constexpr std::size_t unitCount = 0x10000;
constexpr wchar_t firstSurrogate = 0xD800;
constexpr wchar_t lastSurrogate = 0xDFFF;

using UpperTable = std::vector<wchar_t>;

// Asked of the system once, for every unit at the same time, so that folding
// a text costs a table look-up per unit. Surrogates stand for themselves and
// stay out of the question: two of them side by side would be taken for one
// character beyond the first plane.
UpperTable makeUpperTable() {
    std::wstring units;
    units.reserve(unitCount);
    for (std::size_t unit = 1; unit < unitCount; ++unit)
        if (unit < firstSurrogate || unit > lastSurrogate)
            units += static_cast<wchar_t>(unit);
    std::wstring upper = units;
    // Simple, not linguistic, casing: the mapping of the system's own
    // case-insensitive ordinal comparisons.
    LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, units.data(), static_cast<int>(units.size()),
                 upper.data(), static_cast<int>(upper.size()));
    UpperTable table(unitCount);
    for (std::size_t unit = 0; unit < unitCount; ++unit)
        table[unit] = static_cast<wchar_t>(unit);
    for (std::size_t i = 0; i < units.size(); ++i)
        table[static_cast<std::size_t>(units[i])] = upper[i];
    return table;
}

const UpperTable& upperTable() {
    static const UpperTable table = makeUpperTable();
    return table;
}

} // namespace

wchar_t ordinalUpper(wchar_t unit) {
    return upperTable()[static_cast<std::size_t>(unit)];
}

std::wstring ordinalUpper(std::wstring_view text) {
    const UpperTable& table = upperTable();
    std::wstring upper(text.size(), L'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        upper[i] = table[static_cast<std::size_t>(text[i])];
    return upper;
}

} // namespace tk
