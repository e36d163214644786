// A Dialogs service for tests: records every text it is given and answers
// questions and file dialogs from a script. Installed for its lifetime.
#pragma once

#include "toolkit/gui/Dialogs.h"

#include <deque>
#include <string>
#include <vector>

namespace testing_support {

class ScriptedDialogs : public tk::Dialogs {
public:
    struct Entry {
        std::string kind; // "message", "ask", "openFile", "openPicture", "error"
        std::string text;
        std::string title;
        UINT flags = 0;
        tk::OpenFileRequest request;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    std::deque<int> answers;                      // for ask(); IDNO when empty
    std::deque<std::optional<std::string>> files; // for both open dialogs; cancel when empty
    std::vector<Entry> log;

    // The texts of one kind, in order.
    std::vector<std::string> texts(const std::string& kind) const;

    void message(const std::string& text) override;
    int ask(const std::string& text, const std::string& title, UINT flags) override;
    std::optional<std::string> openFile(const tk::OpenFileRequest& request) override;
    std::optional<std::string> openPicture(const tk::OpenFileRequest& request) override;
    void errorReport(const std::string& text) override;

private:
    std::optional<std::string> open(const std::string& kind, const tk::OpenFileRequest& request);
};

} // namespace testing_support
