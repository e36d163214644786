#include "toolkit/text/LineSplitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

Lines whole(std::string_view text) {
    std::vector<std::string_view> views = tk::splitLines(text);
    return {views.begin(), views.end()};
}

Lines inPieces(std::string_view text, std::size_t pieceSize) {
    Lines lines;
    auto collect = [&](std::string_view line) {
        lines.emplace_back(line);
        return false;
    };
    tk::LineSplitter splitter;
    for (std::size_t at = 0; at < text.size(); at += pieceSize)
        splitter.feed(text.substr(at, pieceSize), collect);
    splitter.finish(collect);
    return lines;
}

TEST(LineSplitter, EveryLineEndCutsOnceAndNoEmptyLineFollowsTheLast) {
    EXPECT_EQ(whole("a 1\r\nb 2\rc 3\n\r\n\rd 4\r\r\ne 5"),
              (Lines{"a 1", "b 2", "c 3", "", "", "d 4", "", "e 5"}));
    EXPECT_EQ(whole("rompath roms\n"), Lines{"rompath roms"});
    EXPECT_EQ(whole("one\r\n\r\n"), (Lines{"one", ""}));
    EXPECT_EQ(whole("\n"), Lines{""});
    EXPECT_EQ(whole(""), Lines{});
    EXPECT_EQ(whole(std::string("nul\0byte\n", 9)), Lines{std::string("nul\0byte", 8)});
}

TEST(LineSplitter, PiecesOfAnySizeCutTheSameLinesAsTheWholeText) {
    for (std::string_view text : {"a 1\r\nb 2\rc 3\n\r\n\rd 4\r\r\ne 5", "x\r", "\r\n\r\n", "last"})
        for (std::size_t size = 1; size <= text.size(); ++size)
            EXPECT_EQ(inPieces(text, size), whole(text)) << "pieces of " << size;
}

TEST(LineSplitter, FeedingStopsAtTheLineAskedFor) {
    tk::LineSplitter splitter;
    Lines seen;
    bool found = splitter.feed("skip\r\nwanted\r\nnever\r\n", [&](std::string_view line) {
        seen.emplace_back(line);
        return line == "wanted";
    });
    EXPECT_TRUE(found);
    EXPECT_EQ(seen, (Lines{"skip", "wanted"}));
}

} // namespace
