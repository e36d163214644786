// The application object: its title, the hidden window that carries the
// taskbar button, the message loop, modal loops and the general error report.
#pragma once

#include "toolkit/gui/WindowHandles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tk {

class Form;

class Application {
public:
    // The title is the taskbar button's text and the caption of the
    // application's own message boxes.
    void setTitle(const std::string& title);
    const std::string& title() const { return title_; }

    // The invisible window that owns every form, so that the forms' own
    // captions never reach the taskbar.
    HWND window();

    // Shows the main form (which runs its show handler first) and processes
    // messages until the main form is closed.
    void run(Form& mainForm);
    Form* mainForm() const { return mainForm_; }

    // Processes messages until `done` says so or the program is ending.
    void runModalLoop(const std::function<bool()>& done);
    // Processes the messages that are waiting, without blocking; then the
    // thread is idle.
    void processMessages();
    bool terminated() const { return terminated_; }
    void terminate();

    // Hides every form and leaves the taskbar button (minimize) or removes
    // it too (hide); restore brings the same forms back as they were.
    void minimize();
    void hide();
    void restore();

    // Reports the exception being handled through the general error report.
    // Called from catch handlers, it lets no exception of its own escape.
    void reportCurrentException() noexcept;

    // Sends `window` the idle message once, as soon as the thread has no
    // message waiting (painting included); a window destroyed by then gets
    // nothing. Work that nothing on the screen waits for goes there.
    void notifyWhenIdle(HWND window);
    static constexpr UINT idleMessage = WM_APP + 0x4B51;

private:
    bool dispatch(MSG& message);
    void hideForms();
    void notifyIdleWindows();

    std::string title_;
    WindowHandle window_;
    Form* mainForm_ = nullptr;
    bool terminated_ = false;
    std::vector<HWND> hiddenByMinimize_;
    std::vector<HWND> idleWindows_;
};

Application& application();

} // namespace tk
