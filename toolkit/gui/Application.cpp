#include "toolkit/gui/Application.h"

#include "toolkit/base/Error.h"
#include "toolkit/gui/Dialogs.h"
#include "toolkit/gui/Form.h"
#include "toolkit/gui/Window.h"
#include "toolkit/text/CodePage.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace tk {
namespace {

constexpr wchar_t applicationClass[] = L"KestonApplication";

LRESULT CALLBACK applicationProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Restoring the taskbar button brings the hidden main form back.
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_RESTORE) {
        application().restore();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

Application& application() {
    static Application instance;
    return instance;
}

void Application::setTitle(const std::string& title) {
    title_ = title;
    if (window_)
        SetWindowTextW(window_.get(), utf8ToWide(title_).c_str());
}

HWND Application::window() {
    if (!window_) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = applicationProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = applicationClass;
        RegisterClassExW(&windowClass);
        // A zero-sized, visible popup with a caption: it gets the taskbar
        // button while showing nothing on the screen.
        window_.reset(CreateWindowExW(0, applicationClass, utf8ToWide(title_).c_str(),
                                      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                      GetSystemMetrics(SM_CXSCREEN) / 2,
                                      GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
    }
    return window_.get();
}

void Application::run(Form& mainForm) {
    mainForm_ = &mainForm;
    ShowWindow(window(), SW_SHOWNOACTIVATE);
    mainForm.show();
    runModalLoop([] { return false; });
}

bool Application::dispatch(MSG& message) {
    if (message.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    if (message.message == WM_KEYDOWN) {
        if (Form* form = Form::owning(message.hwnd); form && form->preDispatch(message))
            return true;
    }
    TranslateMessage(&message);
    // Taken and handed on as Unicode, so that a letter typed into a control
    // arrives as itself even outside the code page.
    DispatchMessageW(&message);
    return true;
}

void Application::runModalLoop(const std::function<bool()>& done) {
    MSG message;
    while (!terminated_ && !done()) {
        if (!idleWindows_.empty() && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            notifyIdleWindows();
            continue;
        }
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            terminated_ = true;
            break;
        }
        dispatch(message);
    }
}

void Application::notifyWhenIdle(HWND window) {
    if (std::find(idleWindows_.begin(), idleWindows_.end(), window) == idleWindows_.end())
        idleWindows_.push_back(window);
}

void Application::notifyIdleWindows() {
    for (HWND window : std::exchange(idleWindows_, {}))
        if (IsWindow(window))
            SendMessageW(window, idleMessage, 0, 0);
}

void Application::processMessages() {
    MSG message;
    while (!terminated_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        dispatch(message);
    if (!terminated_)
        notifyIdleWindows();
}

void Application::terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

void Application::hideForms() {
    // The forms go with the application: hidden, and shown again on restore.
    hiddenByMinimize_ = threadWindows();
    std::erase_if(hiddenByMinimize_, [this](HWND window) {
        return GetWindow(window, GW_OWNER) != this->window() || !IsWindowVisible(window);
    });
    for (HWND window : hiddenByMinimize_)
        ShowWindow(window, SW_HIDE);
}

void Application::minimize() {
    hideForms();
    ShowWindow(window(), SW_MINIMIZE);
}

void Application::hide() {
    hideForms();
    ShowWindow(window(), SW_HIDE);
}

void Application::restore() {
    ShowWindow(window(), SW_RESTORE);
    for (HWND window : hiddenByMinimize_)
        if (IsWindow(window))
            ShowWindow(window, SW_SHOW);
    if (!hiddenByMinimize_.empty() && IsWindow(hiddenByMinimize_.front()))
        SetForegroundWindow(hiddenByMinimize_.front());
    hiddenByMinimize_.clear();
}

void Application::reportCurrentException() noexcept {
    // The handlers below only note the text: formatting and showing it may
    // fail, and nothing may leave a handler. The exception outlives this
    // call, as the caller's handler is still running.
    const char* what = nullptr;
    try {
        throw;
    } catch (const std::exception& error) {
        what = error.what();
    } catch (...) {
    }
    try {
        dialogs().errorReport(what ? errorReportText(what) : "Unknown error.");
    } catch (...) {
        // A report that fails itself (no memory for its text, a dialog that
        // raised an error) is dropped: the caller stands between an exception
        // and the system.
    }
}

} // namespace tk
