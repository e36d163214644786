#include "toolkit/Dialogs.h"

#include "toolkit/Application.h"

#include <commdlg.h>

#include <vector>

namespace tk {
namespace {

// Message boxes without an owner window are centred on the screen; task
// modality still keeps the program's windows from taking input meanwhile.
class RealDialogs : public Dialogs {
public:
    void message(const std::string& text) override {
        MessageBoxA(nullptr, text.c_str(), application().title().c_str(), MB_OK | MB_TASKMODAL);
    }

    int ask(const std::string& text, const std::string& title, UINT flags) override {
        return MessageBoxA(application().window(), text.c_str(), title.c_str(),
                           flags | MB_TASKMODAL);
    }

    std::optional<std::string> openFile(const OpenFileRequest& request) override {
        std::vector<char> filter(request.filter.begin(), request.filter.end());
        for (char& c : filter)
            if (c == '|')
                c = '\0';
        filter.push_back('\0');
        filter.push_back('\0');
        std::vector<char> file(MAX_PATH * 4, '\0');
        OPENFILENAMEA dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = GetActiveWindow();
        dialog.lpstrFilter = filter.data();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = file.data();
        dialog.nMaxFile = static_cast<DWORD>(file.size());
        dialog.lpstrInitialDir =
            request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
        dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
        dialog.Flags = request.options | OFN_EXPLORER | OFN_NOCHANGEDIR;
        if (!GetOpenFileNameA(&dialog))
            return std::nullopt;
        return std::string(file.data());
    }

    void errorReport(const std::string& text) override {
        MessageBoxA(nullptr, text.c_str(), application().title().c_str(),
                    MB_OK | MB_ICONERROR | MB_TASKMODAL);
    }
};

RealDialogs realDialogs;
Dialogs* current = &realDialogs;

} // namespace

Dialogs& dialogs() {
    return *current;
}

void installDialogs(Dialogs* service) {
    current = service ? service : &realDialogs;
}

} // namespace tk
