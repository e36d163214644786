// Any output of MAME, in pieces of any size: the tail keeps at most its
// capacity and only what came last, and the reason lines are few, short,
// neither blank nor broken across lines, and hold no NUL that would end
// the message early.
#include "launch/MameReport.h"

#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view output = fuzz_support::text(data, size);
    launch::OutputTail tail(64);
    for (std::size_t at = 0; at < output.size(); at += 7)
        tail.append(output.substr(at, 7));
    std::string kept = tail.text();
    FUZZ_CHECK(kept.size() <= 64);
    FUZZ_CHECK(output.ends_with(kept));

    launch::MameWords said = launch::reasonLines(output, 4);
    const std::vector<std::string>& lines = said.lines;
    FUZZ_CHECK(said.leftOut == 0 || lines.size() == 4);
    FUZZ_CHECK(lines.size() <= 4);
    for (const std::string& line : lines) {
        FUZZ_CHECK(!line.empty() && line.size() <= 203);
        FUZZ_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        FUZZ_CHECK(line.back() != ' ' && line.back() != '\t');
    }
    return 0;
}
