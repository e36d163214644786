#include "launch/MameReport.h"

#include "launch/ExitCodes.h"
#include "toolkit/text/LineSplitter.h"

#include <algorithm>

namespace launch {

namespace {

constexpr std::size_t longestLine = 200;

std::string_view trimmedRight(std::string_view line) {
    std::size_t end = line.find_last_not_of(" \t");
    return end == std::string_view::npos ? std::string_view() : line.substr(0, end + 1);
}

// Cut at a character boundary of UTF-8, so the cut line decodes as before.
std::string shortened(std::string_view line) {
    if (line.size() <= longestLine)
        return std::string(line);
    std::size_t end = longestLine;
    while (end > 0 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80)
        --end;
    return std::string(line.substr(0, end)) + "...";
}

using Paragraph = std::vector<std::string_view>;

std::vector<Paragraph> paragraphsOf(std::string_view output) {
    std::vector<Paragraph> paragraphs(1);
    for (std::string_view line : tk::splitLines(output)) {
        line = trimmedRight(line);
        if (!line.empty())
            paragraphs.back().push_back(line);
        else if (!paragraphs.back().empty())
            paragraphs.emplace_back();
    }
    if (paragraphs.back().empty())
        paragraphs.pop_back();
    return paragraphs;
}

} // namespace

void OutputTail::append(std::string_view bytes) {
    kept_.append(bytes);
    // Trimmed only once twice the capacity is held, so each byte moves a
    // bounded number of times however the output comes in.
    if (kept_.size() > 2 * capacity_) {
        kept_.erase(0, kept_.size() - capacity_);
        dropped_ = true;
    }
}

std::string OutputTail::text() const {
    std::string_view text = kept_;
    bool cut = dropped_ || text.size() > capacity_;
    if (!cut)
        return kept_;
    if (text.size() > capacity_)
        text.remove_prefix(text.size() - capacity_);
    // The first line is the end of a longer one.
    std::size_t lineEnd = text.find_first_of("\r\n");
    return lineEnd == std::string_view::npos ? std::string() : std::string(text.substr(lineEnd));
}

MameWords reasonLines(std::string_view output, std::size_t maxLines) {
    // A NUL would end the text where the message reaches the system; the
    // words after it are still MAME's (and a program writing UTF-16 puts one
    // after every letter).
    std::string text(output);
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    std::vector<Paragraph> paragraphs = paragraphsOf(text);
    // Only where a reason comes before it: alone, a listing is all MAME said.
    while (paragraphs.size() >= 3 && paragraphs[paragraphs.size() - 2].back().ends_with(':'))
        paragraphs.resize(paragraphs.size() - 2);
    std::vector<std::string_view> kept;
    for (const Paragraph& paragraph : paragraphs)
        kept.insert(kept.end(), paragraph.begin(), paragraph.end());
    MameWords said;
    said.leftOut = kept.size() > maxLines ? kept.size() - maxLines : 0;
    for (std::size_t i = said.leftOut; i < kept.size(); ++i)
        said.lines.push_back(shortened(kept[i]));
    return said;
}

std::string exitCodeWords(std::uint32_t exitCode) {
    switch (exitCode) {
    case 1:
        return "MAME failed its validity checks";
    case 2:
        return "required files are missing";
    case 3:
        return "a fatal error occurred";
    case 4:
        return "a device could not be started";
    case 5:
        return "MAME knows no such system";
    case 6:
        return "the configuration or a parameter is invalid";
    default:
        break;
    }
    if (isExceptionCode(exitCode))
        return "MAME crashed (" + exceptionWords(exitCode) + ")";
    return "an error MAME gives no name to";
}

std::string gameEndMessage(const std::string& description, const std::string& shortName,
                           std::uint32_t exitCode, const MameWords& said) {
    std::string game = description == shortName ? shortName : description + " (" + shortName + ")";
    return game + ": MAME ended with exit code " + exitCodeNumber(exitCode) + ", " +
           exitCodeWords(exitCode) + "." + mameSaid(said);
}

std::string mameSaid(const MameWords& said) {
    if (said.lines.empty())
        return {};
    std::string text = "\n\nMAME said:";
    if (said.leftOut > 0)
        text += "\n(" + std::to_string(said.leftOut) +
                (said.leftOut == 1 ? " earlier line" : " earlier lines") + " left out)";
    for (const std::string& line : said.lines)
        text += "\n" + line;
    return text;
}

} // namespace launch
