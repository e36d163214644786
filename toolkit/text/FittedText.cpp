#include "toolkit/text/FittedText.h"

#include "toolkit/text/UserCharacters.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

namespace tk {

namespace {

constexpr std::string_view gap = "...";
// What a line cut in the middle keeps at least: enough of both ends to be
// recognised.
constexpr std::size_t shortestCut = 40;

// The line cut to about `keep` bytes: its first and last halves around "...",
// each cut between the characters a reader sees; never longer than it was.
std::string middleCut(std::string_view line, std::size_t keep) {
    if (line.size() <= keep + gap.size())
        return std::string(line);
    const std::size_t headLimit = keep / 2;
    const std::size_t tailLimit = line.size() - (keep - keep / 2);
    std::size_t headEnd = 0;
    std::size_t tailStart = 0;
    while (tailStart < tailLimit) {
        tailStart = userCharacterEnd(line, tailStart);
        if (tailStart <= headLimit)
            headEnd = tailStart;
    }
    std::string cut(line.substr(0, headEnd));
    cut += gap;
    cut += line.substr(tailStart);
    return cut;
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0;;) {
        std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return lines;
        start = end + 1;
    }
}

std::string joined(const std::vector<std::string_view>& lines, std::size_t keep) {
    std::string text = middleCut(lines.front(), keep);
    for (std::size_t i = 1; i < lines.size(); ++i)
        text += '\n' + middleCut(lines[i], keep);
    return text;
}

// The text(n) for the largest n in [low, high] (low above 0) that fits, on
// the rule that a larger n makes a longer text; nothing when none does.
template <typename Text>
std::optional<std::string> largestFitting(std::size_t low, std::size_t high, const Text& text,
                                          const FitTest& fits) {
    std::optional<std::string> best;
    while (low <= high) {
        std::size_t middle = low + (high - low) / 2;
        std::string candidate = text(middle);
        if (fits(candidate)) {
            best = std::move(candidate);
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return best;
}

} // namespace

std::string fittedText(std::string_view text, const FitTest& fits) {
    if (fits(text))
        return std::string(text);
    std::vector<std::string_view> lines = linesOf(text);
    std::size_t longest = 0;
    for (std::string_view line : lines)
        longest = std::max(longest, line.size());
    auto cutAt = [&](std::size_t keep) { return joined(lines, keep); };
    if (longest > shortestCut) {
        if (auto cut = largestFitting(shortestCut, longest - 1, cutAt, fits))
            return *cut;
    }
    auto firstAndLast = [&](std::size_t last) {
        std::vector<std::string_view> kept{lines.front(), gap};
        kept.insert(kept.end(), lines.end() - static_cast<std::ptrdiff_t>(last), lines.end());
        return joined(kept, shortestCut);
    };
    if (lines.size() > 2) {
        if (auto kept = largestFitting(1, lines.size() - 2, firstAndLast, fits))
            return *kept;
    }
    return middleCut(lines.back(), shortestCut);
}

} // namespace tk
