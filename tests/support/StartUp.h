// Test support: a fixture that starts the main window as the program does,
// reading the splash window's status texts as they reach the screen.
#pragma once

#include "support/ProgramFolder.h"
#include "support/ScriptedDialogs.h"
#include "support/WindowHooks.h"
#include "toolkit/gui/Form.h"
#include "ui/MainWindow.h"
#include "ui/SplashWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace testing_support {

class StartUp : public ::testing::Test {
protected:
    void SetUp() override { clearProgramFiles(); }
    void TearDown() override {
        window.reset();
        clearProgramFiles();
    }

    ui::TForm1& start() {
        window = std::make_unique<ui::TForm1>();
        window->show();
        return *window;
    }

    // The splash window's status texts as they reach the screen: read from
    // its status line whenever the panel that carries it paints.
    void readSplash(HWND painted) {
        auto* splash = dynamic_cast<ui::TForm4*>(tk::Form::owning(painted));
        if (!splash || painted != splash->Panel1.handle())
            return;
        if (statuses.empty() || statuses.back() != splash->status.caption())
            statuses.push_back(splash->status.caption());
        // The label grows to the right with its text, measured in its font;
        // past the picture, inside the panel's bevels, the text is cut.
        const tk::Bounds& text = splash->status.bounds();
        const tk::Bounds& room = splash->Image1.bounds();
        if (text.left + text.width > room.left + room.width)
            cutStatuses.push_back(splash->status.caption() + " (" + std::to_string(text.width) +
                                  " px)");
    }

    ScriptedDialogs dialogs;
    std::vector<std::string> statuses;
    std::vector<std::string> cutStatuses;
    SentMessageWatch splashPaints{WM_PAINT, [this](HWND painted) { readSplash(painted); }};
    std::unique_ptr<ui::TForm1> window;
};

} // namespace testing_support
