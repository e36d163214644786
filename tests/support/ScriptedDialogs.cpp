#include "support/ScriptedDialogs.h"

namespace testing_support {

ScriptedDialogs::ScriptedDialogs() {
    tk::installDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    tk::installDialogs(nullptr);
}

std::vector<std::string> ScriptedDialogs::texts(const std::string& kind) const {
    std::vector<std::string> result;
    for (const auto& entry : log)
        if (entry.kind == kind)
            result.push_back(entry.text);
    return result;
}

void ScriptedDialogs::message(const std::string& text) {
    log.push_back({"message", text});
}

int ScriptedDialogs::ask(const std::string& text, const std::string& title, UINT flags) {
    log.push_back({"ask", text, title, flags});
    if (answers.empty())
        return IDNO;
    int answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::openFile(const tk::OpenFileRequest& request) {
    return open("openFile", request);
}

std::optional<std::string> ScriptedDialogs::openPicture(const tk::OpenFileRequest& request) {
    return open("openPicture", request);
}

std::optional<std::string> ScriptedDialogs::open(const std::string& kind,
                                                 const tk::OpenFileRequest& request) {
    log.push_back({kind, request.title, {}, request.options, request});
    if (files.empty())
        return std::nullopt;
    auto file = files.front();
    files.pop_front();
    return file;
}

void ScriptedDialogs::errorReport(const std::string& text) {
    log.push_back({"error", text});
}

} // namespace testing_support
