#include "toolkit/gui/Dialogs.h"

#include "toolkit/gui/Application.h"
#include "toolkit/gui/Form.h"
#include "toolkit/gui/OpenDialog.h"
#include "toolkit/gui/WindowHandles.h"
#include "toolkit/pictures/GdiHandles.h"
#include "toolkit/text/CodePage.h"
#include "toolkit/text/FittedText.h"

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

// The room a message box has for its text on the work area, in the font and
// the line breaking of message boxes. A box is as tall as its text and
// centred on the screen, so a text it cannot hold would push its end, which
// says why, and its button beyond the screen's edges.
class MessageRoom {
public:
    MessageRoom() {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        font_.reset(CreateFontIndirectW(&metrics.lfMessageFont));
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        SelectObjectScope select(screen_.get(), font_.get());
        TEXTMETRICW text{};
        GetTextMetricsW(screen_.get(), &text);
        // Boxes break long texts at a width of their own, some 34 average
        // characters under Wine; counted at fewer, a text takes at least as
        // many lines here as in the box.
        width_ = 30 * text.tmAveCharWidth;
        widest_ = work.right - work.left - 8 * text.tmAveCharWidth;
        // The caption, the frames, the margins and the button row: 75 pixels
        // beside a 13-pixel font, counted at more.
        highest_ = work.bottom - work.top - GetSystemMetrics(SM_CYCAPTION) -
                   2 * GetSystemMetrics(SM_CYFIXEDFRAME) - 6 * text.tmHeight;
    }

    bool holds(std::string_view text) const {
        SelectObjectScope select(screen_.get(), font_.get());
        std::wstring wide = utf8ToWide(text);
        RECT rect{0, 0, width_, 0};
        DrawTextW(screen_.get(), wide.c_str(), static_cast<int>(wide.size()), &rect,
                  DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        return rect.right <= widest_ && rect.bottom <= highest_;
    }

private:
    WindowDc screen_{nullptr};
    FontHandle font_;
    int width_ = 0;
    int widest_ = 0;
    int highest_ = 0;
};

// The text a message box shows: all of it when the screen holds it.
std::wstring onScreen(const std::string& text) {
    MessageRoom room;
    return utf8ToWide(fittedText(text, [&](std::string_view part) { return room.holds(part); }));
}

// Message boxes without an owner window are centred on the screen; task
// modality still keeps the program's windows from taking input meanwhile.
class RealDialogs : public Dialogs {
public:
    void message(const std::string& text) override {
        ActivationKept activation;
        MessageBoxW(nullptr, onScreen(text).c_str(), utf8ToWide(application().title()).c_str(),
                    MB_OK | MB_TASKMODAL);
    }

    int ask(const std::string& text, const std::string& title, UINT flags) override {
        ActivationKept activation;
        return MessageBoxW(application().window(), onScreen(text).c_str(),
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
        MessageBoxW(nullptr, onScreen(text).c_str(), utf8ToWide(application().title()).c_str(),
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
