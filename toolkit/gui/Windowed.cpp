#include "toolkit/gui/Windowed.h"

#include "toolkit/base/Error.h"
#include "toolkit/gui/Form.h"
#include "toolkit/text/CodePage.h"

namespace tk {
namespace {

std::wstring wideTextOf(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string textOf(HWND window) {
    return wideToUtf8(wideTextOf(window));
}

void setTextOf(HWND window, const std::string& text) {
    SetWindowTextW(window, utf8ToWide(text).c_str());
}

} // namespace

ControlColors::ControlColors(Color background, Color text)
    : background_(resolveColor(background)), text_(resolveColor(text)),
      brush_(CreateSolidBrush(background_)) {}

HBRUSH ControlColors::apply(HDC dc) const {
    SetTextColor(dc, text_);
    SetBkColor(dc, background_);
    return brush_.get();
}

Edit::Edit(Container& parent, Bounds bounds, Color background)
    : Edit(parent, bounds, background, ES_AUTOHSCROLL) {}

Edit::Edit(Container& parent, Bounds bounds, Color background, DWORD style)
    : WinControl(parent, bounds), colors_(background, parent.font().style().color) {
    create(L"EDIT", style | WS_TABSTOP, WS_EX_CLIENTEDGE, "", parent.font());
}

std::string Edit::text() const {
    return textOf(handle());
}

void Edit::setText(const std::string& text) {
    setTextOf(handle(), text);
}

Memo::Memo(Container& parent, Bounds bounds, Color background)
    : Edit(parent, bounds, background,
           ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL) {
    SendMessageW(handle(), EM_SETLIMITTEXT, capacity, 0);
}

void Memo::setWholeText(const std::string& text) {
    // Compared as the window holds it: UTF-16, in which a lone surrogate
    // kept in the UTF-8 survives the way back too.
    std::wstring wide = utf8ToWide(text);
    bool fits = wide.size() <= capacity && wide.find(L'\0') == std::wstring::npos;
    if (fits) {
        SetWindowTextW(handle(), wide.c_str());
        fits = wideTextOf(handle()) == wide;
    }
    if (!fits) {
        SetWindowTextW(handle(), L"");
        throw Error("Text exceeds memo capacity");
    }
}

CheckBox::CheckBox(Container& parent, Bounds bounds, const std::string& caption, FontStyle font,
                   Color background)
    : WinControl(parent, bounds), font_(std::move(font)), colors_(background, font_.style().color) {
    create(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, caption, font_);
}

bool CheckBox::checked() const {
    return SendMessageW(handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::setChecked(bool checked) {
    SendMessageW(handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::command(WORD notification) {
    if (notification == BN_CLICKED && onClick)
        onClick();
}

void CheckBox::passFocusAfterClick(WinControl& control) {
    focusAfterClick_ = &control;
    subclass_.install(handle(), &CheckBox::procedure, this);
}

LRESULT CALLBACK CheckBox::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR data) {
    auto& box = WindowSubclass::owner<CheckBox>(data);
    if (message == WM_NCDESTROY)
        box.subclass_.remove();
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    // The box took the focus for the press and the click has run; the click
    // may have ended the box: a window that still has the focus still has
    // its box.
    if (message == WM_LBUTTONUP && GetFocus() == window) {
        HWND target = box.focusAfterClick_->handle();
        if (IsWindowVisible(target) && IsWindowEnabled(target))
            SetFocus(target);
    }
    return result;
}

PushButton::PushButton(Container& parent, Bounds bounds, const std::string& caption,
                       PushButtonStyle style)
    : WinControl(parent, bounds), style_(std::move(style)) {
    if (style_.font)
        font_.emplace(*style_.font);
    create(L"BUTTON",
           (style_.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
               (style_.tabStop ? WS_TABSTOP : 0),
           0, caption, font_ ? *font_ : parent.font());
    if (!style_.keepsFocus)
        subclass_.install(handle(), &PushButton::procedure, this);
}

LRESULT CALLBACK PushButton::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR data) {
    auto& button = WindowSubclass::owner<PushButton>(data);
    if (message == WM_NCDESTROY)
        button.subclass_.remove();
    if (message == WM_SETFOCUS)
        button.focusBefore_ = reinterpret_cast<HWND>(wParam);
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    // The button took the focus for the press; the click has run by now. The
    // click may have ended the button, and with it its window: a window that
    // still has the focus still has its button.
    if (message == WM_LBUTTONUP && GetFocus() == window)
        button.giveFocusBack();
    return result;
}

void PushButton::giveFocusBack() {
    HWND form = GetAncestor(handle(), GA_ROOT);
    HWND target = focusBefore_;
    if (!target || !IsWindow(target) || !IsWindowVisible(target) || !IsWindowEnabled(target) ||
        GetAncestor(target, GA_ROOT) != form)
        target = form;
    SetFocus(target);
}

std::string PushButton::caption() const {
    return textOf(handle());
}

void PushButton::setCaption(const std::string& caption) {
    setTextOf(handle(), caption);
}

void PushButton::click() {
    if (style_.modalResult != 0)
        if (Form* form = Form::owning(handle()))
            form->setModalResult(style_.modalResult);
    if (onClick)
        onClick();
}

bool PushButton::pressAsDefault() {
    if (!style_.isDefault || !IsWindowVisible(handle()) || !IsWindowEnabled(handle()))
        return false;
    click();
    return true;
}

void PushButton::command(WORD notification) {
    if (notification == BN_CLICKED)
        click();
}

} // namespace tk
