#include "support/WindowHooks.h"

#include "toolkit/text/CodePage.h"

#include <stdexcept>
#include <utility>

namespace testing_support {
namespace {

SentMessageWatch* currentWatch = nullptr;
RefusedWindowCreation* currentRefusal = nullptr;

HHOOK install(int kind, HOOKPROC procedure) {
    HHOOK hook = SetWindowsHookExW(kind, procedure, nullptr, GetCurrentThreadId());
    if (!hook)
        throw std::runtime_error("the window hook could not be installed");
    return hook;
}

} // namespace

SentMessageWatch::SentMessageWatch(UINT message, std::function<void(HWND)> seen)
    : message_(message), seen_(std::move(seen)), hook_(install(WH_CALLWNDPROC, &hook)) {
    currentWatch = this;
}

SentMessageWatch::~SentMessageWatch() {
    UnhookWindowsHookEx(hook_);
    currentWatch = nullptr;
}

LRESULT CALLBACK SentMessageWatch::hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && currentWatch && sent->message == currentWatch->message_)
        currentWatch->seen_(sent->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

RefusedWindowCreation::RefusedWindowCreation(std::string caption)
    : caption_(std::move(caption)), hook_(install(WH_CBT, &hook)) {
    currentRefusal = this;
}

RefusedWindowCreation::~RefusedWindowCreation() {
    UnhookWindowsHookEx(hook_);
    currentRefusal = nullptr;
}

LRESULT CALLBACK RefusedWindowCreation::hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && currentRefusal) {
        const wchar_t* name = reinterpret_cast<const CBT_CREATEWNDW*>(lParam)->lpcs->lpszName;
        // A non-zero answer makes the system drop the window it was creating.
        if (name && !IS_INTRESOURCE(name) && currentRefusal->caption_ == tk::wideToUtf8(name)) {
            ++currentRefusal->refusals_;
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace testing_support
