// What the user is told when MAME ends a game with an error: the exit code in
// words and MAME's own lines that say why, picked from the end of what it
// printed. Pure text work, no <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace launch {

// The last `capacity` bytes of an output of any length, from the start of a
// line once older output was dropped.
class OutputTail {
public:
    static constexpr std::size_t defaultCapacity = 16 * 1024;

    explicit OutputTail(std::size_t capacity = defaultCapacity) : capacity_(capacity) {}

    void append(std::string_view bytes);
    std::string text() const;

private:
    std::size_t capacity_;
    std::string kept_;
    bool dropped_ = false;
};

// What MAME said about why it stopped: at most a number of lines from the end
// of its output, and how many lines of it before them were left out.
struct MameWords {
    std::vector<std::string> lines;
    std::size_t leftOut = 0;
};

// At most `maxLines` lines that say why MAME stopped, from the end of its
// output, without NUL bytes, blank lines and trailing blanks, each cut to a
// readable length: MAME says why last, after the lines (such as one per
// missing file) that it stopped on. A listing MAME puts after its reason (a
// paragraph introduced by a line that ends in a colon, such as the systems
// with names like an unknown one) is not the reason, and is left out with its
// heading, uncounted, when a reason comes before it.
MameWords reasonLines(std::string_view output, std::size_t maxLines = 6);

// MAME's documented exit codes in words; a Windows exception code as a crash.
std::string exitCodeWords(std::uint32_t exitCode);

// MAME's words as a message quotes them: an empty line, "MAME said:" and the
// lines; empty when it said nothing.
std::string mameSaid(const MameWords& said);

// The message for a game that MAME ended with a non-zero exit code, naming
// the game by its description and short name. All texts in UTF-8.
std::string gameEndMessage(const std::string& description, const std::string& shortName,
                           std::uint32_t exitCode, const MameWords& said);

} // namespace launch
