// Everything a handler shows or asks goes through one Dialogs service: the
// program installs the real one, tests a scripted one that records each text
// and answers as told. Every text given and returned is UTF-8. The real
// message boxes stay on the screen: a text the work area cannot hold is
// shortened in its middle (tk::fittedText), its start and end kept.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tk {

struct OpenFileRequest {
    std::string title;
    std::string filter; // "Description|pattern|Description|pattern", bars between
    std::string initialFolder;
    DWORD options = 0; // OFN_* flags beyond the ones every dialog gets
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The program's message dialog: modal, centred on the screen, the
    // application title as caption, no icon, one "OK".
    virtual void message(const std::string& text) = 0;

    // A message box owned by the application; returns IDYES, IDNO, ...
    virtual int ask(const std::string& text, const std::string& title, UINT flags) = 0;

    // The file-open dialog; the chosen full path, or nothing when cancelled.
    virtual std::optional<std::string> openFile(const OpenFileRequest& request) = 0;

    // The file-open dialog with a preview of the selected picture.
    virtual std::optional<std::string> openPicture(const OpenFileRequest& request) = 0;

    // The general error report: the text as given, the application title,
    // the error icon and OK.
    virtual void errorReport(const std::string& text) = 0;
};

// The service in use; the real one unless a test installed another.
Dialogs& dialogs();
void installDialogs(Dialogs* service);

} // namespace tk
