#include "toolkit/gui/Dialogs.h"

#include "toolkit/gui/Application.h"
#include "toolkit/gui/Form.h"
#include "toolkit/gui/OpenDialog.h"
#include "toolkit/text/CodePage.h"

namespace tk {
namespace {

// While a message box is up; afterwards the window that was active before
// (the main form when none was, as when the box answers a program that ended
// in the background) is so again and gives the keyboard to its control,
// rather than whichever window the system picks when the box goes.
class ActivationKept {
public:
    ActivationKept() {
        if (!before_ && application().mainForm())
            before_ = application().mainForm()->handle();
    }
    ActivationKept(const ActivationKept&) = delete;
    ActivationKept& operator=(const ActivationKept&) = delete;
    ~ActivationKept() {
        if (before_ && IsWindowVisible(before_) && IsWindowEnabled(before_))
            SetActiveWindow(before_);
    }

private:
    HWND before_ = GetActiveWindow();
};

// Message boxes without an owner window are centred on the screen; task
// modality still keeps the program's windows from taking input meanwhile.
class RealDialogs : public Dialogs {
public:
    void message(const std::string& text) override {
        ActivationKept activation;
        MessageBoxW(nullptr, utf8ToWide(text).c_str(), utf8ToWide(application().title()).c_str(),
                    MB_OK | MB_TASKMODAL);
    }

    int ask(const std::string& text, const std::string& title, UINT flags) override {
        ActivationKept activation;
        return MessageBoxW(application().window(), utf8ToWide(text).c_str(),
                           utf8ToWide(title).c_str(), flags | MB_TASKMODAL);
    }

    std::optional<std::string> openFile(const OpenFileRequest& request) override {
        return runOpenDialog(request);
    }

    std::optional<std::string> openPicture(const OpenFileRequest& request) override {
        return runPictureDialog(request);
    }

    void errorReport(const std::string& text) override {
        ActivationKept activation;
        MessageBoxW(nullptr, utf8ToWide(text).c_str(), utf8ToWide(application().title()).c_str(),
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
