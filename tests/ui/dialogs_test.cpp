// The real message boxes on the test display: however long a text, the box,
// its buttons and the end of its text, which says why, stay on the work
// area, and what is left out goes from the middle.
#include "support/DuringNextLoop.h"
#include "support/SystemDialogs.h"
#include "toolkit/gui/Dialogs.h"
#include "toolkit/text/CodePage.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace testing_support;

namespace {

RECT workArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

bool inside(const RECT& part, const RECT& whole) {
    return part.left >= whole.left && part.top >= whole.top && part.right <= whole.right &&
           part.bottom <= whole.bottom;
}

std::string repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

// Shows `text` in each kind of box, reads each box and answers it.
std::vector<MessageBoxSeen> shownInEveryBox(const std::string& text) {
    const std::vector<std::pair<int, std::function<void()>>> kinds = {
        {IDOK, [&] { tk::dialogs().message(text); }},
        {IDOK, [&] { tk::dialogs().errorReport(text); }},
        {IDYES, [&] { tk::dialogs().ask(text, "KESTON PRIME", MB_YESNO); }},
    };
    std::vector<MessageBoxSeen> seen;
    for (const auto& [button, show] : kinds) {
        DuringNextLoop whileUp([&, answer = button] { seen.push_back(readAndAnswer(answer)); });
        show();
        EXPECT_TRUE(whileUp.ran());
    }
    return seen;
}

// Every box, its text and its buttons on the work area, the text's start and
// end shown.
void expectOnScreen(const std::string& text, const std::string& start, const std::string& end) {
    const RECT work = workArea();
    for (const MessageBoxSeen& box : shownInEveryBox(text)) {
        EXPECT_TRUE(inside(box.box, work)) << box.box.left << "," << box.box.top << " to "
                                           << box.box.right << "," << box.box.bottom;
        EXPECT_TRUE(inside(box.message, work));
        ASSERT_FALSE(box.buttons.empty());
        for (const RECT& button : box.buttons)
            EXPECT_TRUE(inside(button, work));
        std::string shown = tk::wideToUtf8(box.text);
        EXPECT_TRUE(shown.starts_with(start)) << shown;
        EXPECT_TRUE(shown.ends_with(end)) << shown;
        EXPECT_NE(shown.find("..."), std::string::npos) << shown;
        EXPECT_LT(shown.size(), text.size());
    }
}

const std::string reason = "\n\nMAME said:\npacman.6e NOT FOUND (tried in pacman puckman)\n"
                           "Fatal error: Required files are missing, the machine cannot be run.";

} // namespace

TEST(MessageBoxes, ATextTooLongForTheScreenKeepsItsStartAndItsEndOnIt) {
    std::string description = "Pac-Man " + repeated("(Midway, long edition) ", 220) + "end";
    expectOnScreen(description + " (pacman): MAME ended with exit code 2." + reason,
                   "Pac-Man (Midway, long", " (pacman): MAME ended with exit code 2." + reason);

    std::string path = "C:\\" + repeated("Folder\\", 500) + "mame.exe";
    expectOnScreen("Cannot start " + path + ": File not found.", "Cannot start C:\\Folder",
                   "mame.exe: File not found.");

    std::string lines = "Too many lines:";
    for (int i = 0; i < 300; ++i)
        lines += "\nline " + std::to_string(i);
    expectOnScreen(lines, "Too many lines:\n...\n", "\nline 298\nline 299");
}
